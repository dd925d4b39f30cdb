#include "ui/document.h"

namespace {

void Replace(std::string& text, const std::string& what, const std::string& with) {
  const std::size_t at = text.find(what);
  if (at != std::string::npos) text.replace(at, what.size(), with);
}

void AppendRow(std::string& out, const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) out += (i ? " | " : "") + cells[i];
  out += '\n';
}

}  // namespace

DocumentBlock& Document::add(DocumentBlock::Kind kind, std::string text) {
  DocumentBlock& block = blocks.emplace_back();
  block.kind = kind;
  block.text = std::move(text);
  return block;
}

std::string DocumentText(const Document& document) {
  using Kind = DocumentBlock::Kind;
  std::string out = document.header + '\n';
  for (const DocumentBlock& b : document.blocks) {
    switch (b.kind) {
      case Kind::Title:
      case Kind::Heading:
      case Kind::Paragraph:
        out += b.text + '\n';
        break;
      case Kind::Fields:
        for (const auto& [label, value] : b.fields) out += label + ": " + value + '\n';
        break;
      case Kind::Table: {
        std::vector<std::string> headings;
        for (const DocumentColumn& c : b.table.columns) headings.push_back(c.heading);
        AppendRow(out, headings);
        for (const auto& row : b.table.rows) AppendRow(out, row);
        if (b.table.rows.empty() && !b.table.emptyText.empty()) out += b.table.emptyText + '\n';
        break;
      }
      case Kind::Signatures:
        for (const auto& [name, role] : b.signers) out += "____________________ " + name + " (" + role + ")\n";
        break;
      case Kind::PageBreak:
        out += "\f";
        break;
    }
  }
  return out;
}

std::string PageNumberText(const Document& document, int page, int pages) {
  std::string text = document.pageNumberFormat;
  Replace(text, "%1", std::to_string(page));
  Replace(text, "%2", std::to_string(pages));
  return text;
}
