#include "operations/distrato_total.h"

#include "contracts/total_methods.h"
#include "dialogs/cli_dxr10903.h"
#include "lib/corvane.h"
#include "lib/mens_erro.h"
#include "lib/showavi.h"
#include "operations/operation_guard.h"
#include "operations/screen_steps.h"
#include "ui/ui_service.h"
#include "workspace/cli_dxr10900.h"
#include "workspace/frm_distrato.h"

namespace operations {

void DistratoTotal(TfrmDistrato& f) {
  RunGuarded(f, [&] {
    ShowProgress(f, "CALCULO_MULTA");
    f.sbtCancContrat.SetEnabled(false);
    const Variant valores = AllPartiesValues(f, "N");
    DeactiveShowAvi();

    const bool editaTela = true;
    const Variant revisao = CriaConfVrContrat(f, valores, editaTela);
    if (revisao[0].asBool()) {
      ShowProgress(f, "GERANDO_ORCAMENTOS");
      // The list is read again: the dialog's changes travel in its element 1 only.
      const Variant retorno = contracts::DistratoTotal(f.netDistrato, {.filial = f.medCdFilial.Text(),
                                                                       .orcamento = f.edtOrcamento.Text(),
                                                                       .operador = Operador(),
                                                                       .empresa = stCdEmpresa,
                                                                       .contratantes = f.cdsContratante.Data(),
                                                                       .valores = revisao[1]});
      DeactiveShowAvi();
      if (retorno.isText() && retorno.asText().empty())
        MessageDlg(f.msgPadrao.Msg("ORC_FILHO_DISTRATO_SUCESS"), mtInformation, mbOK);
    } else {
      MensErro(f.msgPadrao.Msg("ORC_FILHO_N_GERADO"), false);
    }
    // The reload comes back to the row that was current.
    f.sbtVerificar.Click();
  });
}

}  // namespace operations
