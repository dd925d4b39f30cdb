#include "drag_splitters.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "host_window.h"
#include "qt/net_wait.h"
#include "startup.h"
#include "ui/form.h"
#include "ui/splitter.h"

namespace {

constexpr int kRetryMs = 50;
constexpr int kRefusedExit = 2;

using Drags = QList<QPair<QString, int>>;

void dragWhenIdle(HostWindow& window, std::shared_ptr<const Drags> drags) {
  // After the budget loads and the window settles at its size, so the
  // splitter's limits are those the user would meet.
  releaseStartup();
  if (startupHeld() || dxqt::insideNetWait()) {
    holdStartup();
    QTimer::singleShot(kRetryMs, &window, [&window, drags] { dragWhenIdle(window, drags); });
    return;
  }
  TForm* form = moduleMainScreen();
  for (const auto& [name, pixels] : *drags) {
    auto* splitter = form ? form->FindAs<TSplitter>(name.toStdString()) : nullptr;
    if (!splitter) {
      holdStartup();  // no picture of a screen the drag did not reach
      std::fprintf(stderr, "distrato: --drag %s: no such splitter on the main screen\n", name.toLocal8Bit().constData());
      QCoreApplication::exit(kRefusedExit);
      return;
    }
    splitter->UserDrag(pixels);
  }
}

}  // namespace

bool parseSplitterDrag(const QString& text, QPair<QString, int>& drag) {
  const int colon = text.lastIndexOf(':');
  if (colon <= 0) return false;
  bool ok = false;
  const int pixels = text.mid(colon + 1).trimmed().toInt(&ok);
  if (!ok) return false;
  drag = {text.left(colon).trimmed(), pixels};
  return !drag.first.isEmpty();
}

std::function<bool(HostWindow&)> dragStep(const Drags& drags) {
  return [shared = std::make_shared<const Drags>(drags)](HostWindow& window) {
    if (!moduleMainScreen()) {
      std::fprintf(stderr, "distrato: the module's main screen is not open; --drag needs it\n");
      return false;
    }
    holdStartup();
    QTimer::singleShot(0, &window, [&window, shared] { dragWhenIdle(window, shared); });
    return true;
  };
}
