// Draws a printed page of the channel sheet with a QPainter - on a printer,
// in the print preview or on an image - from the same layout and the same
// subset font the PDF embeds.
#pragma once

#include "files/sheet_layout.h"

class QPainter;

namespace quelro {

// `scale`: device pixels per point; the page's top left corner is at the
// painter's origin.
void PaintSheetPage(QPainter& painter, const PrintedPage& page, double scale);

} // namespace quelro
