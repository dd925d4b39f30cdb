#include "operations/screen_steps.h"

#include "lib/showavi.h"
#include "ui/application.h"
#include "workspace/frm_distrato.h"

namespace operations {

std::string Party(const TfrmDistrato& f, const char* field) { return f.cdsContratante.FieldByName(field).AsString(); }

void ShowProgress(TfrmDistrato& f, const char* key) { ActiveShowAvi(Application().MainForm(), 1, f.msgPadrao.Msg(key)); }

}  // namespace operations
