#include "operations/screen_steps.h"

#include "contracts/total_methods.h"
#include "lib/corvane.h"
#include "lib/showavi.h"
#include "workspace/cli_dxr10900.h"
#include "ui/application.h"
#include "workspace/frm_distrato.h"

namespace operations {

std::string Party(const TfrmDistrato& f, const char* field) { return f.cdsContratante.FieldByName(field).AsString(); }

void ShowProgress(TfrmDistrato& f, const char* key) { ActiveShowAvi(Application().MainForm(), 1, f.msgPadrao.Msg(key)); }

Variant AllPartiesValues(TfrmDistrato& f, const char* modo) {
  return contracts::ConfValTodosCont(f.netDistrato, {.filial = f.medCdFilial.Text(),
                                                     .orcamento = f.edtOrcamento.Text(),
                                                     .operador = Operador(),
                                                     .empresa = stCdEmpresa,
                                                     .contratantes = f.cdsContratante.Data(),
                                                     .vrTotalOrca = f.nedVrTotalOrca.GetNumber(),
                                                     .modo = modo});
}

}  // namespace operations
