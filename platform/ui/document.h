#pragma once
// A printed document as the module lays it out: pages of blocks (titles,
// paragraphs, label-value pairs, tables, signature lines) under a running
// header and page numbers. The toolkit only describes it; the Qt renderer
// paginates, previews, prints and writes it as PDF, and ScriptedUi records it.

#include <string>
#include <utility>
#include <vector>

enum class DocumentAlign { Left, Right, Center };

struct DocumentColumn {
  std::string heading;
  double width = 1;  // share of the line, relative to the other columns
  DocumentAlign align = DocumentAlign::Left;
};

struct DocumentTable {
  std::vector<DocumentColumn> columns;
  std::vector<std::vector<std::string>> rows;  // one text per column
  std::string emptyText;                       // shown in place of the rows when there are none
};

struct DocumentBlock {
  enum class Kind {
    Title,       // the document's title, large and centred
    Heading,     // a section's heading
    Paragraph,   // running text, wrapped
    Fields,      // label: value pairs, two to a line
    Table,       // a table with a heading row, repeated on every page it spans
    Signatures,  // signature lines side by side, a name and role under each
    PageBreak,   // what follows starts a new page
  };
  Kind kind = Kind::Paragraph;
  std::string text;                                         // Title, Heading, Paragraph
  std::vector<std::pair<std::string, std::string>> fields;  // Fields
  DocumentTable table;                                      // Table
  std::vector<std::pair<std::string, std::string>> signers; // Signatures: name, role
};

struct Document {
  std::string title;   // the window's and the file's title
  std::string header;  // printed at the top of every page
  // The footer's page number: "Página N de M" with N and M filled in.
  std::string pageNumberFormat = "Página %1 de %2";
  std::vector<DocumentBlock> blocks;

  DocumentBlock& add(DocumentBlock::Kind kind, std::string text = {});
};

// The document as plain text, one block after another: what a reader of the
// printed page sees, for records and checks without a printer.
std::string DocumentText(const Document& document);

// The page number line of page `page` of `pages`.
std::string PageNumberText(const Document& document, int page, int pages);
