// A printed page as a PDF file: one page, the subset font embedded whole as
// a CID-keyed TrueType font (Identity-H), with a map back to Unicode so that
// the text can be searched and copied out.
#pragma once

#include <string>

#include "files/sheet_layout.h"

namespace quelro {

// `title` goes into the document's information.
std::string SheetPdf(const PrintedPage& page, const std::string& title);

} // namespace quelro
