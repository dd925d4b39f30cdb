#pragma once
// The print preview of a toolkit Document: the pages as they will print, the
// preview's own print button (the machine's printers) and "Salvar PDF".

class QWidget;
struct Document;

namespace dxqt {

// Modal; returns when the user closes the preview.
void PreviewDocument(const Document& document, QWidget* parent);

}  // namespace dxqt
