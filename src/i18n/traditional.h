// Simplified-to-Traditional Chinese conversion of interface texts.
//
// The program carries its texts in Simplified Chinese and English only; the
// Traditional interface is produced by converting the Simplified texts one
// character at a time, so that every text keeps its length and takes the
// forms of the Big5 code page (为 -> 為).
#pragma once

#include <string>
#include <string_view>

namespace quelro {

// Converts a UTF-8 text. When the conversion dictionaries cannot be opened the
// text comes back unchanged.
std::string ToTraditional(std::string_view text);

// True when the conversion dictionaries could be opened.
bool TraditionalAvailable();

} // namespace quelro
