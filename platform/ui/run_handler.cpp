#include "ui/run_handler.h"

#include "data/exceptions.h"
#include "ui/ui_service.h"

void ShowHandlerException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const EAbort&) {
  } catch (const std::exception& e) {
    Ui().ShowException(e.what());
  } catch (...) {
    Ui().ShowException("Erro desconhecido.");
  }
}

bool RunHandler(const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (...) {
    ShowHandlerException(std::current_exception());
    return false;
  }
}
