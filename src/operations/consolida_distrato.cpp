#include "operations/consolida_distrato.h"

#include <string>

#include "contracts/rescission_methods.h"
#include "contracts/total_methods.h"
#include "dialogs/cli_dxr10901.h"
#include "dialogs/cli_dxr10903.h"
#include "lib/corvane.h"
#include "lib/crv_msg.h"
#include "lib/mens_erro.h"
#include "lib/showavi.h"
#include "operations/consolidation_rules.h"
#include "operations/operation_guard.h"
#include "operations/screen_steps.h"
#include "ui/ui_service.h"
#include "workspace/cli_dxr10900.h"
#include "workspace/frm_distrato.h"

namespace operations {

namespace {

double Value(const TfrmDistrato& f, const char* field) { return f.cdsValores.FieldByName(field).AsFloat(); }

// The current party of a partial rescission: its recorded values shown
// read-only, then its account generated with the payment form chosen.
void ConsolidaParcial(TfrmDistrato& f) {
  if (InTotalRescission(Party(f, "IDTPDISTRATOREALI")))
    MensErro(FormatMsg(f.msgPadrao.Msg("APENAS_CONTRAT_DIST_PARCIAL"), Party(f, "NMFANTCLIE")), true);
  Vd_OrcaAprovado(f);
  f.Vd_ContaCorrente(true);
  const std::string cliente = Party(f, "CDCLIENTE");

  ShowProgress(f, "CALCULO_MULTA");
  const contracts::ValoresResult valores =
      contracts::ConfirmaValores(f.netDistrato, {.filial = f.medCdFilial.Text(),
                                                 .orcamento = f.edtOrcamento.Text(),
                                                 .NRSEQORCAEVE = "seq",
                                                 .NRENDCLIORCEVE = Party(f, "NRENDCLIORCEVE"),
                                                 .empresa = stCdEmpresa,
                                                 .vrTotalOrca = f.nedVrTotalOrca.GetNumber(),
                                                 .CDCLIENTE = cliente,
                                                 .CDCLICONTSUBORE = Party(f, "CDCLICONTSUBORE"),
                                                 .modo = "S"});
  f.cdsValores.SetData(valores.valores);
  DeactiveShowAvi();

  const bool editaTela = false;
  const Variant confirmacao = CriaConfValores(f, Value(f, "VRORIGRECNOEDIT"), Value(f, "VRORIGREC"),
                                              Value(f, "VRPERCMULTA"), Value(f, "VRMULTA"), editaTela);
  if (confirmacao[0].asBool()) {
    ShowProgress(f, "CONSOLID_DISTRATO");
    contracts::ConsolidaDistrato(f.netDistrato, {.filial = f.medCdFilial.Text(),
                                                 .orcamento = f.edtOrcamento.Text(),
                                                 .NRSEQORCAEVE = Party(f, "NRSEQORCAEVE"),
                                                 .NRENDCLIORCEVE = Party(f, "NRENDCLIORCEVE"),
                                                 .formaPgto = confirmacao[1],
                                                 .vrNegociado = confirmacao[2].asDouble(),
                                                 .operador = Operador(),
                                                 .contaCorrente = f.medCdReduCont.Text(),
                                                 .CDCLIENTE = cliente,
                                                 .valorPago = valores.pago,
                                                 .GERACTPAGAR = f.cdsValores.FieldByName("GERACTPAGAR").AsString(),
                                                 .CDCLICONTSUBORE = Party(f, "CDCLICONTSUBORE")});
    DeactiveShowAvi();
    MessageDlg(f.msgPadrao.Msg("SUCESSO_CONSOLID"), mtInformation, mbOK);
  } else {
    MensErro(f.msgPadrao.Msg("DISTRATO_N_CONSOLID"), false);
  }

  f.sbtCancContrat.SetEnabled(true);
  for (TEdit* edit : {&f.edtCdBanco, &f.edtAgencia, &f.edtContCorr}) edit->SetText("");
  f.medCdReduCont.SetText("");
  f.sbtVerificarClick(&f.sbtVerificar);
  f.cdsContratante.Locate("CDCLIENTE", Variant(cliente), loCaseInsensitive);
}

// Every party of the budget's total rescission, reviewed in the contractor
// values dialog; the bank account stays as typed and sbtCancContrat as it is.
void ConsolidaTotal(TfrmDistrato& f) {
  Vd_OrcaAprovado(f);
  f.Vd_ContaCorrente(true);

  // The filter only tells whether anyone is left; it is off again before
  // the list is read for the server.
  f.cdsContratante.SetFiltered(false);
  f.cdsContratante.SetFilter(TotalRescissionFilter());
  f.cdsContratante.SetFiltered(true);
  if (f.cdsContratante.IsEmpty()) {
    MessageDlg(f.msgPadrao.Msg("DISTR_TOT_JA_REALI"), mtInformation, mbOK);
    f.cdsContratante.SetFiltered(false);
    f.sbtVerificar.Click();
    return;
  }

  ShowProgress(f, "CALCULO_MULTA");
  f.cdsContratante.SetFiltered(false);
  const Variant valores = AllPartiesValues(f, "S");
  DeactiveShowAvi();

  const bool editaTela = false;
  const Variant revisao = CriaConfVrContrat(f, valores, editaTela);
  if (revisao[0].asBool()) {
    ShowProgress(f, "CONSOLID_DISTRATO");
    contracts::ConsolidaDistratoTotal(f.netDistrato, {.filial = f.medCdFilial.Text(),
                                                      .orcamento = f.edtOrcamento.Text(),
                                                      .operador = Operador(),
                                                      .contaCorrente = f.medCdReduCont.Text(),
                                                      .contratantes = revisao[1]});
    DeactiveShowAvi();
    MessageDlg(f.msgPadrao.Msg("SUCESSO_CONSOLID"), mtInformation, mbOK);
  } else {
    MensErro(f.msgPadrao.Msg("DISTRATO_N_CONSOLID"), false);
    f.cdsContratante.SetFiltered(false);
  }
  f.cdsContratante.SetFiltered(false);
  f.sbtVerificar.Click();
}

}  // namespace

void Vd_OrcaAprovado(TfrmDistrato& f) {
  const bool parcial = f.rbtParcial.Checked();
  const bool naoAprovado =
      contracts::VdOrcaAprovado(f.netDistrato, {.filial = f.medCdFilial.Text(),
                                                .orcamento = f.edtOrcamento.Text(),
                                                .NRSEQORCAEVE = Party(f, "NRSEQORCAEVE"),
                                                .CDCLIENTE = parcial ? Party(f, "CDCLIENTE") : std::string()});
  if (naoAprovado) MensErro(f.msgPadrao.Msg("ORCA_N_APROV"), true);
}

void sbtConsolidaDistratoClick(TfrmDistrato& f) {
  RunGuarded(f, [&] {
    if (f.rbtParcial.Checked())
      ConsolidaParcial(f);
    else
      ConsolidaTotal(f);
  });
}

}  // namespace operations
