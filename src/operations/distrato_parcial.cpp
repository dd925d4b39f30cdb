#include "operations/distrato_parcial.h"

#include <string>

#include "contracts/rescission_methods.h"
#include "dialogs/cli_dxr10901.h"
#include "lib/corvane.h"
#include "lib/mens_erro.h"
#include "lib/showavi.h"
#include "operations/list_refresh.h"
#include "operations/operation_guard.h"
#include "operations/rescission_rules.h"
#include "operations/screen_steps.h"
#include "ui/application.h"
#include "ui/ui_service.h"
#include "workspace/cli_dxr10900.h"
#include "workspace/frm_distrato.h"

namespace operations {

namespace {

double Value(const TfrmDistrato& f, const char* field) { return f.cdsValores.FieldByName(field).AsFloat(); }

// The values priced by the server, confirmed by the user, then recorded with
// the child budgets.
void ValoresEDistrato(TfrmDistrato& f) {
  const bool editaTela = true;
  ShowProgress(f, "CALCULO_MULTA");
  const contracts::ValoresResult valores = contracts::ConfirmaValores(
      f.netDistrato, {.filial = f.medCdFilial.Text(),
                      .orcamento = f.edtOrcamento.Text(),
                      .NRSEQORCAEVE = Party(f, "NRSEQORCAEVE"),
                      .NRENDCLIORCEVE = Party(f, "NRENDCLIORCEVE"),
                      .empresa = stCdEmpresa,
                      .vrTotalOrca = f.nedVrTotalOrca.GetNumber(),
                      .CDCLIENTE = Party(f, "CDCLIENTE"),
                      .CDCLICONTSUBORE = Party(f, "CDCLICONTSUBORE"),
                      .modo = "N"});
  f.cdsValores.SetData(valores.valores);
  DeactiveShowAvi();

  const Variant confirmacao = CriaConfValores(f, Value(f, "VRORIGRECNOEDIT"), Value(f, "VRORIGREC"),
                                              Value(f, "VRPERCMULTA"), Value(f, "VRMULTA"), editaTela);
  if (!confirmacao[0].asBool()) {
    MensErro(f.msgPadrao.Msg("ORC_FILHO_N_GERADO"), false);
    return;
  }

  ShowProgress(f, "GERANDO_ORCAMENTOS");
  const double valorSinalizado = SignedAmount(f.cdsValores.FieldByName("GERACTPAGAR").AsString(), valores.valor);
  const Variant retorno = contracts::Distrato(f.netDistrato, {.filial = f.medCdFilial.Text(),
                                                              .orcamento = f.edtOrcamento.Text(),
                                                              .NRSEQORCAEVE = Party(f, "NRSEQORCAEVE"),
                                                              .NRENDCLIORCEVE = Party(f, "NRENDCLIORCEVE"),
                                                              .operador = Operador(),
                                                              .CDCLIENTE = Party(f, "CDCLIENTE"),
                                                              .vrMulta = confirmacao[3].asDouble(),
                                                              .CDCLICONTSUBORE = Party(f, "CDCLICONTSUBORE"),
                                                              .vrNegociado = confirmacao[2].asDouble(),
                                                              .valorSinalizado = valorSinalizado});
  DeactiveShowAvi();
  if (retorno.isText() && retorno.asText().empty())
    MessageDlg(f.msgPadrao.Msg("ORC_FILHO_DISTRATO_SUCESS"), mtInformation, mbOK);
}

}  // namespace

void DistratoParcial(TfrmDistrato& f) {
  std::string cliente;
  RunGuarded(
      f,
      [&] {
        f.sbtCancContrat.SetEnabled(false);
        cliente = Party(f, "CDCLIENTE");
        const bool repetido =
            contracts::GetContratRepetSeq(f.netDistrato, {.filial = f.medCdFilial.Text(),
                                                          .orcamento = f.edtOrcamento.Text(),
                                                          .cliente = cliente});
        if (QuotasBlockPartialRescission(Party(f, "IDCONTRESPCOTAORCA"), Party(f, "IDTRANSFCOTAREALI"), repetido))
          MensErro(f.msgPadrao.Msg("TROCA_N_REALI"), true);
        ValoresEDistrato(f);
        ReloadOn(f, cliente);
      },
      [&] { return cliente; });
}

}  // namespace operations
