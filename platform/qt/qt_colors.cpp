#include "qt/qt_colors.h"

#include <QApplication>
#include <QPalette>

namespace dxqt {

namespace {

QColor systemColor(TColor color) {
  switch (color) {
    case clWindow: return QColor(0xFF, 0xFF, 0xFF);
    case clWindowText: return QColor(0, 0, 0);
    case clHighlight: return QColor(0x00, 0x78, 0xD7);
    case clHighlightText: return QColor(0xFF, 0xFF, 0xFF);
    case clBtnFace: return QColor(0xF0, 0xF0, 0xF0);
    case clGrayText: return QColor(0x6D, 0x6D, 0x6D);
    case clBtnText: return QColor(0, 0, 0);
    case clInfoText: return QColor(0, 0, 0);
    case clInfoBk: return QColor(0xFF, 0xFF, 0xE1);  // the tool-tip yellow
    default: return QColor(0, 0, 0);
  }
}

}  // namespace

QColor toQColor(TColor color) {
  if (IsSystemColor(color)) return systemColor(color);
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

QFont toQFont(const TFont& font, const QFont& base) {
  QFont f = base;
  const bool classicFace = font.name.empty() || font.name == "MS Sans Serif" || font.name == "Tahoma";
  if (!classicFace) f.setFamily(QString::fromStdString(font.name));
  if (font.size > 0) f.setPointSize(font.size == 8 ? base.pointSize() : font.size);
  f.setBold(font.bold);
  f.setItalic(font.italic);
  f.setUnderline(font.underline);
  return f;
}

Qt::Alignment toQtAlignment(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify: return Qt::AlignRight | Qt::AlignVCenter;
    case taCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    case taLeftJustify: break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace dxqt
