#include "operations/operation_guard.h"

#include <optional>
#include <string>

#include "data/exceptions.h"
#include "lib/mens_erro.h"
#include "lib/showavi.h"
#include "operations/list_refresh.h"
#include "operations/refusal_translation.h"
#include "workspace/frm_distrato.h"

namespace operations {

void RunGuarded(TfrmDistrato& screen, const std::function<void()>& body,
                const std::function<std::string()>& partyClient) {
  try {
    body();
  } catch (const EAbort&) {
    DeactiveShowAvi();
    throw;
  } catch (const ENetError&) {
    DeactiveShowAvi();
    if (partyClient) ReloadQuietly(screen, partyClient());
    throw;
  } catch (const std::exception& error) {
    DeactiveShowAvi();
    if (std::optional<std::string> text = TranslateServerRefusal(error.what(), screen.msgPadrao.Messages))
      MensErro(*text, true);
    throw;
  }
}

}  // namespace operations
