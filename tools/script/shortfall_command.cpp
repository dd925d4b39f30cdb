// shortfall: opens the module's product shortfall list (CriaErroProd) over a
// dataset of the products the script names, as a host module would.

#include <dlfcn.h>

#include <string>

#include "command_table.h"
#include "data/client_dataset.h"
#include "session.h"
#include "ui/run_handler.h"

namespace dxscript {

namespace {
using CriaErroProdEntry = void (*)(TClientDataSet&, const std::string&);
}  // namespace

// `shortfall "TEXT" "CODE|NAME" ...`: the text above the list and one
// product per word. The module must be open; an on-modal block queued before
// works the list.
void RunShortfall(Session&, const Command& cmd) {
  auto entry = reinterpret_cast<CriaErroProdEntry>(dlsym(RTLD_DEFAULT, "CriaErroProd"));
  if (!entry) throw StepFailure("the module is not open (CriaErroProd not found)");
  TClientDataSet products;
  products.AddField("CDARVPROD", FieldType::String, 20).SetDisplayLabel("Código");
  products.AddField("NMPRODUTO", FieldType::String, 50).SetDisplayLabel("Nome");
  products.Open();
  for (std::size_t i = 1; i < cmd.args.size(); ++i) {
    const std::string& row = cmd.args[i].text;
    const auto bar = row.find('|');
    if (bar == std::string::npos) throw StepFailure("a product is CODE|NAME, not " + row);
    products.Append();
    products.FieldByName("CDARVPROD").SetAsString(row.substr(0, bar));
    products.FieldByName("NMPRODUTO").SetAsString(row.substr(bar + 1));
    products.Post();
  }
  products.First();
  RunHandler([&] { entry(products, cmd.args[0].text); });
}

}  // namespace dxscript
