#include "qt/document_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <QString>
#include <algorithm>
#include <stdexcept>
#include <vector>

#include "ui/document.h"

namespace dxqt {

namespace {

using Kind = DocumentBlock::Kind;

QString Q(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

enum class Font { Header, Title, Heading, Body, Bold, Small, SmallBold };

// One thing to draw on a page, in device units.
struct Op {
  enum class Type { Text, Line, Fill } type = Type::Text;
  QRectF rect;
  QString text;
  Font font = Font::Body;
  int flags = 0;
};
using Page = std::vector<Op>;

int Flags(DocumentAlign align) {
  switch (align) {
    case DocumentAlign::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case DocumentAlign::Center: return Qt::AlignHCenter | Qt::AlignVCenter;
    case DocumentAlign::Left: break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

// Flows the blocks down the pages' body, starting a page where the next
// piece does not fit.
class Layout {
 public:
  Layout(QPaintDevice& device, const Document& document) : device_(device), document_(document) {
    const double mm = device.logicalDpiY() / 25.4;
    margin_ = 15 * mm;
    const double headerHeight = LineHeight(Font::Header) + 3 * mm;
    const double footerHeight = LineHeight(Font::Small) + 3 * mm;
    left_ = margin_;
    width_ = device.width() - 2 * margin_;
    top_ = margin_ + headerHeight;
    bottom_ = device.height() - margin_ - footerHeight;
    gap_ = 2.5 * mm;
    NewPage();
  }

  std::vector<Page> Run() {
    for (const DocumentBlock& b : document_.blocks) Block(b);
    return std::move(pages_);
  }

  QFont FontOf(Font f) const {
    QFont font(QStringLiteral("DejaVu Sans"));
    // Without ligatures: "fi" stays two letters, so the PDF's text is searched
    // and copied as written.
    font.setStyleStrategy(QFont::PreferNoShaping);
    switch (f) {
      case Font::Header: font.setPointSizeF(10); font.setBold(true); break;
      case Font::Title: font.setPointSizeF(15); font.setBold(true); break;
      case Font::Heading: font.setPointSizeF(11); font.setBold(true); break;
      case Font::Body: font.setPointSizeF(9); break;
      case Font::Bold: font.setPointSizeF(9); font.setBold(true); break;
      case Font::Small: font.setPointSizeF(8); break;
      case Font::SmallBold: font.setPointSizeF(8); font.setBold(true); break;
    }
    return font;
  }

  double margin() const { return margin_; }

 private:
  double LineHeight(Font f) const { return QFontMetricsF(FontOf(f), &device_).lineSpacing(); }
  double TextHeight(Font f, const QString& text, double width) const {
    const QRectF r = QFontMetricsF(FontOf(f), &device_)
                         .boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap | Qt::AlignLeft, text);
    return std::max(r.height(), LineHeight(f));
  }

  void NewPage() {
    pages_.emplace_back();
    y_ = top_;
  }
  // Starts a new page unless `height` fits below; a page just begun takes anything.
  void Room(double height) {
    if (y_ + height > bottom_ && y_ > top_) NewPage();
  }
  Page& page() { return pages_.back(); }
  void Text(const QRectF& rect, const QString& text, Font f, int flags) {
    page().push_back({Op::Type::Text, rect, text, f, flags});
  }
  void Rule(double y) { page().push_back({Op::Type::Line, QRectF(left_, y, width_, 0), {}, Font::Body, 0}); }

  void Block(const DocumentBlock& b) {
    switch (b.kind) {
      case Kind::Title: Wrapped(Q(b.text), Font::Title, Qt::AlignHCenter); break;
      case Kind::Heading: Heading(Q(b.text)); break;
      case Kind::Paragraph: Wrapped(Q(b.text), Font::Body, Qt::AlignJustify); break;
      case Kind::Fields: Fields(b.fields); break;
      case Kind::Table: Table(b.table); break;
      case Kind::Signatures: Signatures(b.signers); break;
      case Kind::PageBreak: NewPage(); return;
    }
    y_ += gap_;
  }

  void Wrapped(const QString& text, Font f, int align) {
    const double h = TextHeight(f, text, width_);
    Room(h);
    Text(QRectF(left_, y_, width_, h), text, f, align | Qt::TextWordWrap);
    y_ += h;
  }

  void Heading(const QString& text) {
    // A heading is kept with at least two lines of what follows it.
    const double h = LineHeight(Font::Heading);
    Room(h + 3 * LineHeight(Font::Body));
    Text(QRectF(left_, y_, width_, h), text, Font::Heading, Qt::AlignLeft | Qt::AlignVCenter);
    y_ += h;
    Rule(y_);
    y_ += gap_ / 2;
  }

  // Label-value pairs two to a line: a bold label, its value beside it.
  void Fields(const std::vector<std::pair<std::string, std::string>>& fields) {
    const double half = width_ / 2;
    const double labelWidth = half * 0.42;
    for (std::size_t i = 0; i < fields.size(); i += 2) {
      double h = 0;
      for (std::size_t j = i; j < std::min(i + 2, fields.size()); ++j)
        h = std::max({h, TextHeight(Font::Body, Q(fields[j].second), half - labelWidth - 4),
                      TextHeight(Font::Bold, Q(fields[j].first + ":"), labelWidth)});
      Room(h);
      for (std::size_t j = i; j < std::min(i + 2, fields.size()); ++j) {
        const double x = left_ + static_cast<double>(j - i) * half;
        Text(QRectF(x, y_, labelWidth, h), Q(fields[j].first + ":"), Font::Bold, Qt::AlignLeft | Qt::TextWordWrap);
        Text(QRectF(x + labelWidth, y_, half - labelWidth - 4, h), Q(fields[j].second), Font::Body,
             Qt::AlignLeft | Qt::TextWordWrap);
      }
      y_ += h;
    }
  }

  void Table(const DocumentTable& t) {
    if (t.columns.empty()) return;
    double total = 0;
    for (const DocumentColumn& c : t.columns) total += c.width;
    std::vector<double> widths;
    for (const DocumentColumn& c : t.columns) widths.push_back(width_ * c.width / total);
    const double pad = 3;
    const double rowHeight = LineHeight(Font::Small) + 2 * pad;

    auto headingRow = [&] {
      page().push_back({Op::Type::Fill, QRectF(left_, y_, width_, rowHeight), {}, Font::Body, 0});
      double x = left_;
      for (std::size_t i = 0; i < t.columns.size(); ++i) {
        Text(QRectF(x + pad, y_, widths[i] - 2 * pad, rowHeight), Q(t.columns[i].heading), Font::SmallBold,
             Flags(t.columns[i].align));
        x += widths[i];
      }
      y_ += rowHeight;
      Rule(y_);
    };
    Room(2 * rowHeight);
    headingRow();
    if (t.rows.empty()) {
      Text(QRectF(left_ + pad, y_, width_ - 2 * pad, rowHeight), Q(t.emptyText), Font::Small,
           Qt::AlignLeft | Qt::AlignVCenter);
      y_ += rowHeight;
    }
    for (const auto& row : t.rows) {
      // A long cell wraps within its column; the row is as tall as its tallest cell.
      double height = rowHeight;
      for (std::size_t i = 0; i < t.columns.size() && i < row.size(); ++i)
        height = std::max(height, TextHeight(Font::Small, Q(row[i]), widths[i] - 2 * pad) + 2 * pad);
      if (y_ + height > bottom_) {
        NewPage();
        headingRow();  // the heading again on the page the table goes on to
      }
      double x = left_;
      for (std::size_t i = 0; i < t.columns.size() && i < row.size(); ++i) {
        Text(QRectF(x + pad, y_ + pad, widths[i] - 2 * pad, height - 2 * pad), Q(row[i]), Font::Small,
             (Flags(t.columns[i].align) & ~Qt::AlignVCenter) | Qt::AlignTop | Qt::TextWordWrap);
        x += widths[i];
      }
      y_ += height;
    }
    Rule(y_);
  }

  // Lines to sign on, side by side, with the signer's name and role under each.
  void Signatures(const std::vector<std::pair<std::string, std::string>>& signers) {
    if (signers.empty()) return;
    const double space = 14 * device_.logicalDpiY() / 25.4;
    const double h = space + 2 * LineHeight(Font::Body);
    Room(h);
    const double slot = width_ / static_cast<double>(signers.size());
    const double lineWidth = slot * 0.8;
    for (std::size_t i = 0; i < signers.size(); ++i) {
      const double x = left_ + slot * static_cast<double>(i) + (slot - lineWidth) / 2;
      page().push_back({Op::Type::Line, QRectF(x, y_ + space, lineWidth, 0), {}, Font::Body, 0});
      const double line = LineHeight(Font::Body);
      Text(QRectF(x, y_ + space + 2, lineWidth, line), Q(signers[i].first), Font::Bold, Qt::AlignHCenter);
      Text(QRectF(x, y_ + space + 2 + line, lineWidth, line), Q(signers[i].second), Font::Body, Qt::AlignHCenter);
    }
    y_ += h;
  }

  QPaintDevice& device_;
  const Document& document_;
  std::vector<Page> pages_;
  double margin_ = 0, left_ = 0, width_ = 0, top_ = 0, bottom_ = 0, gap_ = 0, y_ = 0;
};

}  // namespace

int PaintDocument(const Document& document, QPagedPaintDevice& device) {
  device.setPageSize(QPageSize(QPageSize::A4));
  device.setPageOrientation(QPageLayout::Portrait);
  device.setPageMargins(QMarginsF(0, 0, 0, 0));
  Layout layout(device, document);
  const std::vector<Page> pages = layout.Run();
  const int count = static_cast<int>(pages.size());

  QPainter painter(&device);
  if (!painter.isActive()) throw std::runtime_error("Não foi possível abrir o documento para impressão.");
  const double m = layout.margin();
  const double w = device.width();
  const double h = device.height();
  const QPen thin(Qt::black, std::max(1.0, device.logicalDpiY() / 150.0));
  for (int n = 0; n < count; ++n) {
    if (n > 0) device.newPage();
    painter.setPen(thin);
    // The running header: the branch on every page, a rule under it.
    painter.setFont(layout.FontOf(Font::Header));
    const double headerLine = QFontMetricsF(painter.font(), &device).lineSpacing();
    painter.drawText(QRectF(m, m, w - 2 * m, headerLine), Qt::AlignLeft | Qt::AlignVCenter, Q(document.header));
    painter.drawLine(QPointF(m, m + headerLine + 2), QPointF(w - m, m + headerLine + 2));
    // The foot: the page number.
    painter.setFont(layout.FontOf(Font::Small));
    const double footLine = QFontMetricsF(painter.font(), &device).lineSpacing();
    painter.drawLine(QPointF(m, h - m - footLine - 2), QPointF(w - m, h - m - footLine - 2));
    painter.drawText(QRectF(m, h - m - footLine, w - 2 * m, footLine), Qt::AlignRight | Qt::AlignVCenter,
                     Q(PageNumberText(document, n + 1, count)));
    for (const Op& op : pages[static_cast<std::size_t>(n)]) {
      switch (op.type) {
        case Op::Type::Line:
          painter.drawLine(op.rect.topLeft(), op.rect.topRight());
          break;
        case Op::Type::Fill:
          painter.fillRect(op.rect, QColor(230, 230, 230));
          break;
        case Op::Type::Text:
          painter.setFont(layout.FontOf(op.font));
          painter.drawText(op.rect, op.flags, op.text);
          break;
      }
    }
  }
  painter.end();
  return count;
}

}  // namespace dxqt
