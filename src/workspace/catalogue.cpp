#include "workspace/catalogue.h"

#include <stdexcept>

namespace workspace {

const std::vector<std::string>& MainScreenMessages() {
  static const std::vector<std::string> lines{
      "FILI_N_INF|Filial deve ser informada.",
      "FILIAL_N_CAD|Filial não cadastrada.",
      "ORCA_N_INF|Orçamento deve ser informado.",
      "ORCA_N_CAD|Orçamento não cadastrado.",
      "ContCorr_ninf|Conta corrente deve ser informada.",
      "ContCorr_NaoCad|Conta corrente não cadastrada.",
      "N_PARAM_CONTARECBAIXADA|Não há contas a receber em aberto. Operação bloqueada.",
      "N_PARAM_BOLREC_N_CONTAS|Conta a receber não pode ser cancelada. O boleto da conta está associado a outros boletos.",
      "N_PARAM_TIPOOPER|Não há tipo de operação parametrizado na tela de Parâmetros do Orçamento de Eventos.",
      "N_PARAM_TPCTREC|Não há tipo de conta a receber parametrizado para o tipo de operação (%s).",
      "N_PARAM_SERIE|Não há série padrão cadastrada para a filial informada. Informe a série padrão na tela de Cadastro de Filial.",
      "N_PARAM_VRNOTA_ZERO|O contratante substituto não possui valor informado.",
      "N_PARAM_DISTRATO|Não há percentual de multa parametrizado para o percentual pago de %s. Operação bloqueada.",
      "N_PARAM_N_APLICA_MULTA|Distrato não pode ser realizado, pois não há conta a receber baixada. Portanto, não há percentual de multa a ser aplicado sobre o valor pago.",
      "N_PARAM_TPBAIXADISTRATO|Não há tipo de baixa parametrizado para o distrato. Operação bloqueada.",
      "N_PARAM_CONTA_CORRENTE|Existem boletos sem conta corrente informada. Operação bloqueada.",
      "N_PARAM_TPAJUDISTRATO|Não há tipo de ajuste parametrizado para o distrato. Operação bloqueada.",
      "N_PARAM_CNTBAIXADA|Não é possível transferir as contas para o contratante substituto, pois o contratante original não possui contas em aberto. Operação bloqueada.",
      "N_PARAM_SERIEENTR|Série de entrada não parametrizada.",
      "N_PARAM_TPCTPAG|Tipo de conta a pagar não parametrizado para o tipo de operação %s.",
      "N_PARAM_TIPOOPERPAG|Tipo de operação de entrada não parametrizado.",
      "N_PARAM_CDEMPRESAORCA|Não foi gravado o código da empresa informada na tela do Contratante.",
      "N_PARAM_NRINSCESTA|Não há Inscrição Estadual cadastrada para a Empresa informada.",
      "N_PARAM_EMPRESARELAC|Empresa ou sua Inscrição Estadual não esta relacionada a filial. \r\n",
      "N_PARAM_QTCONVCONTRAT_ZERO|Não é possível realizar o distrato do contratante, pois o mesmo não possui quantidade de convidados definida. Operação bloqueada.",
      "N_PARAM_GRUPRODREL|Não há agrupamento definido na tela 'Parâmetros do Orçamento de Eventos' ou o produto parametrizado (aba 'Lançamento') para ser incluído no orçamento filho durante o distrato não está relacionado a um grupo na tela 'Produto do Evento'.",
      "N_PARAM_PRODDISTRADO|Não há produto parametrizado para ser inserido na realização do distrato.",
      "N_PARAM_EXCBAIXACOMP|Baixa do tipo \"Compensação entre Contas\" não pode ser excluída. Operação bloqueada.",
      "N_PARAM_ADIANTA_UTL|Baixa referente à adiantamento já utilizado, não pode ser excluída. Operação bloqueada.",
      "N_PARAM_EXCL_NAO_PERMITIDA|Exclusão não permitida. Movimento bancário da baixa foi conciliado.",
      "N_PARAM_BOLETPAG_DIF_NULL|Existem boletos que se encontram com situação 'baixado' ou com alguma outra situação que impeça o cancelamento do distrato. Operação bloqueada.",
      "N_PARAM_BOLETO_PAG|Existem boletos com situação diferente de 'Aberto'. Operação bloqueada.",
      "N_PARAM_CONTA_PAG|A conta está com a situação diferente de 'Aberto'. Operação bloqueada.",
      "N_PARAM_BOLETO_ENVIADO|Não é possível desfazer o distrato, pois a conta a receber gerada pelo distrato possui boletos enviados ao banco. Operação bloqueada.",
      "N_PARAM_CONTSUB_ORCA|O contratante não faz parte do orçamento.",
      "N_PARAM_CDTPBXSUBSTCONTORE|Não há tipo de baixa parametrizada na tela \"Parâmetros para Distrato Comercial\" para a operação de troca de titularidade. Operação bloqueada.",
      "N_PARAM_CDTPAJUSUBCONTORE|Não há tipo de ajuste parametrizado na tela \"Parâmetros para Distrato Comercial\" para a operação de troca de titularidade. Operação bloquada.",
      "N_PARAM_PRODSUBSTITUICAO|Não há produto parametrizado na tela \"Parâmetros para Distrato Comercial\" para ser inserido na troca de titularidade. Operação bloqueada.",
      "N_PARAM_CONTA_ABERTA|Não há contas em aberto para realizar a transferência de cotas. Operação bloqueada.",
      "N_PARAM_VRNEGATIVO|Não é permitido gerar conta com valor negativo. Operação bloqueada.",
      "N_PARAM_CONTA_FORN|Não é possível realizar o distrato, pois existem contas baixadas para os fornecedores do orçamento. Operação bloqueada.",
      "N_PARAM_RENEGO_CT_ABERTA|O distrato não pode ser realizado, pois o contratante possui conta em aberto para um número de lançamento em que houve renegociação financeira. Operação bloqueada.",
      "N_PARAM_QT_CONTRAT_ZERO|Quantidade de contratante deve ser informada na tela de \"Lançamento do Orçamento\". Operação bloqueada.",
      "PRAZO_N_INF|Pelo menos uma data de vencimento deve ser informada.",
      "PARC_N_INF|Pelo menos um prazo deve ser informado.",
      "SOMA_PARC_DIF|A soma das parcelas difere do valor negociado.",
      "QT_PARC_ZERO|Quantidade de parcelas deve ser maior que zero.",
      "QT_PARC_MAIOR_VALOR|Quantidade de parcelas maior que o valor permite. Cada parcela deve ser de pelo menos 0,01.",
      "VR_PARC_ZERO|O valor de cada parcela deve ser maior que zero.",
      "DT_VENC_N_INF|Data de vencimento deve ser informada.",
      "DT_VENC_MAIOR|Data de vencimento da parcela deve ser maior ou igual à data atual.",
      "VENC_J_INF|Vencimento já informado.",
      "Aberta|Aberta",
      "Baixada|Baixada",
      "Cancelada|Cancelada",
      "Planejada|Planejada",
      "Caucionado|Caucionada",
      "Renegociado|Renegociado",
      "Distrato|Distrato",
      "LANCADO|Lançado",
      "CNTGERADA|Conta Gerada",
      "DEVOLVIDO|Devolvido",
      "CANCELADO|Cancelado",
      "Conta_Receber|Conta a Receber",
      "Conta_Pagar|Conta a Pagar",
      "TROCA_N_REALI|O distrato parcial não pode ser realizado para o contratante posicionado. Para realizar o distrato é necessário transferir as cotas para outro contratante (troca de titularidade). Operação bloqueada.",
      "CALCULO_MULTA|Calculando o valor da multa.",
      "ORC_FILHO_N_GERADO|Orçamentos filhos não foram gerados.",
      "GERANDO_ORCAMENTOS|Gerando orçamentos filhos.",
      "ORC_FILHO_DISTRATO_SUCESS|Orçamentos filhos foram gerados com sucesso.",
      "APENAS_CONTRAT_DIST_PARCIAL|O contratante %s está em processo de distrato total. Apenas contratantes em processo de distrato parcial podem ter o distrato consolidado com o tipo de distrato marcado como 'Parcial'. Operação bloqueada.",
      "CONSOLID_DISTRATO|Consolidando distrato. Gerando contas.",
      "SUCESSO_CONSOLID|Consolidação do distrato realizada com sucesso.",
      "DISTRATO_N_CONSOLID|Distrato não consolidado. Operação cancelada.",
      "DISTR_TOT_JA_REALI|Distrato total já realizado para os contratantes que se encontravam em processo de distrato total.",
      "ORCA_N_APROV|Orçamento filho gerado pelo distrato não foi aprovado. Operação bloqueada.",
      "CANC_DIST_N_REALI|Cancelamento do distrato só é possível caso um(a) supervisor(a) ou gerente informe sua senha. Operação bloqueada.",
      "CANC_DIST_PARC|O contratante %s está em processo de distrato total. Apenas contratantes que já consolidaram o distrato parcial podem ter o distrato cancelado com o tipo de distrato marcado como 'Parcial'. Operação bloqueada.",
      "CANC_DISTRATO|O tipo de distrato está marcado como 'Parcial'. Deseja desfazer o distrato do(a) contratante %s?",
      "DISTRATO_CANCELADO|Consolidação do distrato cancelada com sucesso.",
      "CANC_DISTRATO_TOTAL|O tipo de distrato está marcado como 'Total'. Deseja desfazer o distrato de todos os contratantes do orçamento?",
      "COMIS_GERADA_ORC_DISTRATO|Existe comissão gerada para o vendedor, supervisor e/ou gerente do vendedor do orçamento. Para desfazer o distrato a comissão do vendedor e de seus superiores deve ser cancelada pela tela \"Manutenção da Comissão do Vendedor\". Operação bloqueada.",
      "CLIE_INF|Contratante substituto deve ser informado.",
      "CLIE_N_CAD|Cliente não cadastrado.",
      "TROCA_TITU_N_REALI|Não foi possível realizar a troca de titularidade, pois o valor transferido ou a quantidade de convidados é menor ou igual à zero. Operação bloqueada.",
      "SUCESSO_COTAS|Cotas geradas com sucesso.",
      "SUCESSO|Troca de titularidade realizada com sucesso.",
      "TRANSF_CONTA_CONTRAT|Deseja cancelar o contratante e transferir o valor restante para o contratante substituto?",
      "CONT_SUB|Contratante Substituto",
      "N_CAD_CONTRAT|Não há contratante cadastrado.",
      "ERRO_PROD|A soma da quantidade de alguns produtos do orçamento com a quantidade negativa gerada pelo distrato deve ser maior ou igual a zero:",
  };
  return lines;
}

std::optional<std::string> FindMessage(const std::vector<std::string>& lines,
                                       std::string_view key) {
  for (const std::string& line : lines) {
    const std::size_t bar = line.find('|');
    if (bar != std::string::npos && std::string_view(line).substr(0, bar) == key) {
      return line.substr(bar + 1);
    }
  }
  return std::nullopt;
}

std::string Msg(std::string_view key) {
  std::optional<std::string> text = FindMessage(MainScreenMessages(), key);
  if (!text) throw std::out_of_range("no catalogue text for key " + std::string(key));
  return *text;
}

}  // namespace workspace
