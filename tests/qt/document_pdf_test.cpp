// The documents the module lays out, written as PDF and read back with
// poppler: pages, the running header and page numbers on each, a table's
// heading repeated on every page it spans, page breaks, long cells wrapped.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPrintPreviewDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "qt/document_pdf.h"
#include "qt/qt_ui.h"
#include "ui/document.h"

namespace {

using Kind = DocumentBlock::Kind;

// What poppler reads from the file, its pages split; its warnings fail.
std::vector<std::string> PdfPages(const std::string& path) {
  const std::string command = "pdftotext -raw -enc UTF-8 '" + path + "' - 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) throw std::runtime_error("pdftotext did not start");
  std::string text;
  char buffer[4096];
  while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
  pclose(pipe);
  std::vector<std::string> pages(1);
  for (char c : text) {
    if (c == '\f') pages.emplace_back();
    else pages.back() += c;
  }
  if (pages.back().find_first_not_of(" \n") == std::string::npos) pages.pop_back();
  return pages;
}

Document Sample(int tableRows, bool pageBreak, const std::string& cell = "célula") {
  Document d;
  d.title = "Teste";
  d.header = "Filial 0001 Porto Alegre - Centro";
  d.add(Kind::Title, "Termo de Teste");
  d.add(Kind::Fields).fields = {{"Contratante", "Ana Paula Ferreira"}, {"CPF", "123.456.789-09"}};
  DocumentTable& t = d.add(Kind::Table).table;
  t.columns = {{"Documento", 2}, {"Valor (R$)", 1, DocumentAlign::Right}};
  t.emptyText = "Nenhuma linha.";
  for (int i = 1; i <= tableRows; ++i) t.rows.push_back({cell + " " + std::to_string(i), "1.000,00"});
  if (pageBreak) d.add(Kind::PageBreak);
  d.add(Kind::Signatures).signers = {{"Ana Paula Ferreira", "Contratante"}, {"Gaúcha Eventos", "Contratada"}};
  return d;
}

struct Case {
  const char* name;
  int rows;
  bool pageBreak;
  int minPages, maxPages;
};

TEST(DocumentPdf, PagesCarryTheHeaderTheirNumberAndTheTablesHeading) {
  const Case cases[] = {
      {"short", 3, false, 1, 1},
      {"page break", 3, true, 2, 2},
      {"long table", 150, false, 3, 6},
  };
  QTemporaryDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.filePath(QString::fromUtf8(c.name) + ".pdf").toStdString();
    dxqt::WriteDocumentPdf(Sample(c.rows, c.pageBreak), path);
    const std::vector<std::string> pages = PdfPages(path);
    ASSERT_GE(static_cast<int>(pages.size()), c.minPages);
    ASSERT_LE(static_cast<int>(pages.size()), c.maxPages);
    const std::string total = std::to_string(pages.size());
    for (std::size_t n = 0; n < pages.size(); ++n) {
      EXPECT_NE(pages[n].find("Filial 0001 Porto Alegre - Centro"), std::string::npos) << "page " << n + 1;
      EXPECT_NE(pages[n].find("Página " + std::to_string(n + 1) + " de " + total), std::string::npos) << n + 1;
      const bool tablePage = pages[n].find("célula") != std::string::npos;
      if (tablePage) {
        EXPECT_NE(pages[n].find("Documento"), std::string::npos) << "heading on page " << n + 1;
      }
    }
    EXPECT_NE(pages.front().find("Termo de Teste"), std::string::npos);
    EXPECT_NE(pages.back().find("Contratada"), std::string::npos) << "the signatures end the document";
    if (c.pageBreak) {
      EXPECT_EQ(pages.back().find("célula"), std::string::npos) << "the break moved the signatures on";
    }
    std::string all;
    for (const std::string& page : pages) all += page;
    EXPECT_NE(all.find("célula " + std::to_string(c.rows) + " 1.000,00"), std::string::npos) << "every row printed";
  }
}

TEST(DocumentPdf, ALongCellWrapsInsteadOfBeingCut) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("wrap.pdf").toStdString();
  const std::string words = "negociado 1.600,00; multa 2.400,00; contas geradas removidas 1.600,00; fim";
  dxqt::WriteDocumentPdf(Sample(1, false, words), path);
  std::string text;
  for (const std::string& page : PdfPages(path)) text += page;
  for (char& c : text)
    if (c == '\n') c = ' ';
  EXPECT_NE(text.find(words + " 1"), std::string::npos) << text;
}

TEST(DocumentPdf, AFileThatCannotBeWrittenIsRefused) {
  EXPECT_THROW(dxqt::WriteDocumentPdf(Sample(1, false), "/nonexistent-folder/termo.pdf"), std::runtime_error);
}

TEST(DocumentPreview, TheUiServiceShowsThePagesWithASaveAsPdfCommand) {
  dxqt::QtUi ui;
  bool seen = false;
  QString title;
  QTimer::singleShot(0, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* preview = qobject_cast<QPrintPreviewDialog*>(w);
      if (!preview || !preview->isVisible()) continue;
      seen = preview->findChild<QAction*>(QStringLiteral("actSalvarPdf")) != nullptr;
      title = preview->windowTitle();
      preview->reject();
    }
  });
  ui.ShowDocument(Sample(3, false));
  EXPECT_TRUE(seen);
  EXPECT_EQ(title, QStringLiteral("Teste"));
}

}  // namespace
