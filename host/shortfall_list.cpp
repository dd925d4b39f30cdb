#include "shortfall_list.h"

#include <dlfcn.h>

#include <QFile>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <string>

#include "data/client_dataset.h"
#include "host_window.h"
#include "ui/run_handler.h"

namespace {

using CriaErroProdEntry = void (*)(TClientDataSet&, const std::string&);

constexpr const char* kText =
    "A soma da quantidade de alguns produtos do orçamento com a quantidade negativa gerada pelo distrato \n"
    "deve ser maior ou igual a zero:";

// The products of the file; false with a reason when a line does not read.
bool readProducts(const QString& path, TClientDataSet& products, std::string& why) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    why = "cannot read " + path.toStdString();
    return false;
  }
  products.AddField("CDARVPROD", FieldType::String, 20).SetDisplayLabel("Código");
  products.AddField("NMPRODUTO", FieldType::String, 50).SetDisplayLabel("Nome");
  products.Open();
  QTextStream in(&file);
  int line = 0;
  while (!in.atEnd()) {
    const QString text = in.readLine();
    ++line;
    if (text.trimmed().isEmpty()) continue;
    const int semicolon = text.indexOf(';');
    if (semicolon <= 0) {
      why = path.toStdString() + ":" + std::to_string(line) + ": expected CODE;NAME";
      return false;
    }
    products.Append();
    products.FieldByName("CDARVPROD").SetAsString(text.left(semicolon).trimmed().toStdString());
    products.FieldByName("NMPRODUTO").SetAsString(text.mid(semicolon + 1).trimmed().toStdString());
    products.Post();
  }
  products.First();
  return true;
}

}  // namespace

std::function<bool(HostWindow&)> shortfallStep(const QString& path) {
  return [path](HostWindow& window) {
    auto entry = reinterpret_cast<CriaErroProdEntry>(dlsym(RTLD_DEFAULT, "CriaErroProd"));
    if (!entry) {
      std::fprintf(stderr, "distrato: the module does not export CriaErroProd\n");
      return false;
    }
    auto products = std::make_shared<TClientDataSet>();
    std::string why;
    if (!readProducts(path, *products, why)) {
      std::fprintf(stderr, "distrato: --shortfall: %s\n", why.c_str());
      return false;
    }
    // Posted: the list is modal and the steps after it (a picture) run inside its loop.
    QTimer::singleShot(0, &window, [entry, products] { RunHandler([&] { entry(*products, kText); }); });
    return true;
  };
}
