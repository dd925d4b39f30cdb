#pragma once
// Lays a toolkit Document out on A4 pages and paints it on a paged device (a
// printer, the print preview's printer, a PDF writer): the running header
// with a rule under it, the blocks flowing from page to page (a table's
// heading row repeated on every page it spans, a page break where the
// document asks), and "Página N de M" at the foot of every page.

class QPagedPaintDevice;
struct Document;

namespace dxqt {

// Paints every page of `document` on `device`, which must be set to A4 and
// not yet painted on; answers the number of pages.
int PaintDocument(const Document& document, QPagedPaintDevice& device);

}  // namespace dxqt
