#pragma once
// Writes a toolkit Document as an A4 PDF file, with or without a display:
// a process without a Qt application gets one on the offscreen platform
// (unless QT_QPA_PLATFORM names another). No Qt in this header, so the
// headless script runner calls it as it is.

#include <string>

struct Document;

namespace dxqt {

// Throws std::runtime_error when the file cannot be written.
void WriteDocumentPdf(const Document& document, const std::string& path);

}  // namespace dxqt
