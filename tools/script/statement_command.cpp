// statement FILE: the current party's "Termo de Distrato" saved as PDF, as a
// user opens it from the menu and presses "Salvar PDF" in the preview.
// expect document "text": the last document shown reads the text.

#include <string>

#include "command_table.h"
#include "session.h"
#include "ui/document.h"
#include "ui/menu.h"
#ifdef DX_SCRIPT_PDF
#include "qt/document_pdf.h"
#endif

namespace dxscript {

namespace {

void WritePdf(const Document& document, const std::string& path) {
#ifdef DX_SCRIPT_PDF
  dxqt::WriteDocumentPdf(document, path);
#else
  (void)document;
  throw StepFailure("this distrato-script was built without Qt: it cannot write " + path);
#endif
}

}  // namespace

void RunStatement(Session& s, const Command& cmd) {
  const std::string path = cmd.args[0].text;
  auto& item = s.ComponentAs<TMenuItem>("mnuTermoDistrato", "a menu item");
  if (!item.EffectivelyEnabled()) throw StepFailure("mnuTermoDistrato is disabled");
  bool saved = false;
  std::string failure;
  s.Ui().AnswerDocument([&](const Document& document) {
    try {
      WritePdf(document, path);
      saved = true;
    } catch (const std::exception& e) {
      failure = e.what();
    }
  });
  item.UserClick();
  if (!failure.empty()) throw StepFailure("the statement was not saved: " + failure);
  if (!saved) throw StepFailure("no statement was shown (see the messages above)");
}

void ExpectDocument(Session& s, const Command& cmd) {
  const ScriptedUi::Event* shown = s.LastShown(ScriptedUi::EventKind::Document);
  const std::string& expected = cmd.args[1].text;
  if (!shown) throw StepFailure("expected a document reading " + Quote(expected) + ", but none was shown");
  if (shown->document_text.find(expected) == std::string::npos)
    throw StepFailure("the document " + Quote(shown->text) + " does not read " + Quote(expected));
  s.Pass();
}

}  // namespace dxscript
