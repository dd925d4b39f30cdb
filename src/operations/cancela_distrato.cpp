#include "operations/cancela_distrato.h"

#include <string>

#include "contracts/undo_methods.h"
#include "data/exceptions.h"
#include "dialogs/cli_dxr10905.h"
#include "lib/corvane.h"
#include "lib/crv_msg.h"
#include "lib/mens_erro.h"
#include "lib/showavi.h"
#include "operations/consolidation_rules.h"
#include "operations/operation_guard.h"
#include "operations/screen_steps.h"
#include "ui/application.h"
#include "ui/ui_service.h"
#include "workspace/cli_dxr10900.h"
#include "workspace/frm_distrato.h"

namespace operations {

namespace {

// The warning question every undo asks; only Yes goes on.
bool Confirmed(TfrmDistrato& f, const char* key) {
  const std::string text = FormatMsg(f.msgPadrao.Msg(key), Party(f, "NMFANTCLIE"));
  return MessageDlg(text, mtWarning, mbYesNo) == mrYes;
}

// The animation goes before the message: it must not outlive the work it
// stood for behind the success.
void Undone(TfrmDistrato& f) {
  DeactiveShowAvi();
  MessageDlg(f.msgPadrao.Msg("DISTRATO_CANCELADO"), mtInformation, mbOK);
}

// The current party's partial rescission; its client code is kept for the
// relocation after an "OK" answer.
void DesfazParcial(TfrmDistrato& f, std::string& cliente) {
  if (InTotalRescission(Party(f, "IDTPDISTRATOREALI")))
    MensErro(FormatMsg(f.msgPadrao.Msg("CANC_DIST_PARC"), Party(f, "NMFANTCLIE")), true);
  Vd_ExistComisGerada(f, "PARCIAL");
  if (!Confirmed(f, "CANC_DISTRATO")) return;
  ActiveShowAvi(Application().MainForm(), 1);
  cliente = Party(f, "CDCLIENTE");
  contracts::DesfazerDistrato(f.netDistrato, {.tipo = "CONTRATANTE",
                                              .filial = f.medCdFilial.Text(),
                                              .orcamento = f.edtOrcamento.Text(),
                                              .NRSEQORCAEVE = Party(f, "NRSEQORCAEVE"),
                                              .empresa = stCdEmpresa,
                                              .CDCLIENTE = cliente,
                                              .contratantes = Variant(""),
                                              .operador = Operador(),
                                              .dataProcessamento = DataProc(FiliProc()),
                                              .NRENDCLIORCEVE = Party(f, "NRENDCLIORCEVE")});
  Undone(f);
}

// Every party of the budget's total rescission.
void DesfazTotal(TfrmDistrato& f) {
  Vd_ExistComisGerada(f, "TOTAL");
  if (!Confirmed(f, "CANC_DISTRATO_TOTAL")) return;
  ActiveShowAvi(Application().MainForm(), 1);
  contracts::DesfazerDistrato(f.netDistrato, {.tipo = "GERAL",
                                              .filial = f.medCdFilial.Text(),
                                              .orcamento = f.edtOrcamento.Text(),
                                              .NRSEQORCAEVE = "seq",
                                              .empresa = stCdEmpresa,
                                              .CDCLIENTE = "",
                                              .contratantes = f.cdsContratante.Data(),
                                              .operador = Operador(),
                                              .dataProcessamento = DataProc(FiliProc()),
                                              .NRENDCLIORCEVE = ""});
  Undone(f);
}

}  // namespace

void Vd_ExistComisGerada(TfrmDistrato& f, const std::string& kind) {
  const bool semComissao = contracts::Vd_ExistComisGerada(f.netDistrato, {.filial = f.medCdFilial.Text(),
                                                                          .orcamento = f.edtOrcamento.Text(),
                                                                          .CDCLIENTE = Party(f, "CDCLIENTE"),
                                                                          .tipo = kind});
  if (!semComissao) MensErro(f.msgPadrao.Msg("COMIS_GERADA_ORC_DISTRATO"), true);
}

void sbtCancelaDistratoClick(TfrmDistrato& f) {
  std::string cliente;
  try {
    RunGuarded(
        f,
        [&] {
          if (CriaConfSenha().empty()) {
            MensErro(f.msgPadrao.Msg("CANC_DIST_N_REALI"), false);
          } else if (f.rbtParcial.Checked()) {
            DesfazParcial(f, cliente);
          } else {
            DesfazTotal(f);
          }
          f.sbtVerificarClick(&f.sbtVerificar);
        },
        [&] { return cliente; });
  } catch (const EAbort&) {
    throw;
  } catch (const std::exception& error) {
    // A server that ends the undo with "OK" has undone it.
    if (std::string(error.what()) != "OK") throw;
    MessageDlg(f.msgPadrao.Msg("DISTRATO_CANCELADO"), mtInformation, mbOK);
    f.sbtVerificarClick(&f.sbtVerificar);
    f.cdsContratante.Locate("CDCLIENTE", Variant(cliente), loCaseInsensitive);
  }
}

}  // namespace operations
