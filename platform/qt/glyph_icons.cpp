#include "qt/glyph_icons.h"

#include <QApplication>
#include <QStyle>
#include <map>

namespace dxqt {

QIcon glyphIcon(const std::string& glyph) {
  static const std::map<std::string, QStyle::StandardPixmap> kIcons = {
      {"incluir", QStyle::SP_FileIcon},
      {"alterar", QStyle::SP_FileDialogDetailedView},
      {"excluir", QStyle::SP_TrashIcon},
      {"procurar", QStyle::SP_FileDialogContentsView},
      {"pesquisar", QStyle::SP_FileDialogContentsView},
      {"verificar", QStyle::SP_BrowserReload},
      {"cancelar", QStyle::SP_DialogCancelButton},
      {"confirmar", QStyle::SP_DialogApplyButton},
      {"imprimir", QStyle::SP_DriveFDIcon},
      {"sair", QStyle::SP_DialogCloseButton},
      {"consolida", QStyle::SP_DialogYesButton},
      {"cancela", QStyle::SP_DialogNoButton},
  };
  auto it = kIcons.find(glyph);
  if (it == kIcons.end()) return {};
  return QApplication::style()->standardIcon(it->second);
}

}  // namespace dxqt
