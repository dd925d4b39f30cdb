#include "lib/mens_erro.h"

#include "data/exceptions.h"
#include "ui/ui_service.h"

void MensErro(const std::string& text, bool abort) {
  Ui().MessageDlg(text, mtError, mbOK);
  if (abort) throw EAbort();
}
