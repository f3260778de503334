// Conversions the memory-image codec rests on: hex texts, bit texts, BCD
// frequency texts, the channel raster and a few number helpers. Numbers are
// read and written with "." whatever the process's locale.
//
// The codec handles the image as a text of upper-case hex digits and its bit
// fields as texts of "0" and "1", so every field is cut out of, or appended
// to, text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quelro {

// Four bits per hex character, most significant first; characters that are
// not hex digits count as 0. "C9" -> "11001001".
std::string HexToBits(std::string_view hex);

// One hex digit per four bits. The caller's text is first lengthened in place
// with leading "0"s to a multiple of four. "11111" becomes "00011111" -> "1F".
std::string BitsToHex(std::string& bits);

inline constexpr std::string_view kHexDigits = "0123456789ABCDEF";
// Hex text of bytes, and bytes of a hex text (pairs that are not hex give 0).
std::string HexFromBytes(std::string_view bytes);
std::string BytesFromHex(std::string_view hex);

// Upper-case hex of a value, at least two digits; 256 and more are not cut.
std::string HexByte(unsigned long value);

// Upper-case hex of a value, at least four digits.
std::string HexWord(unsigned long value);

// 8 hex characters of a stored frequency (least significant byte first) to
// "ddd.ddddd". Characters are copied without any check.
std::string BcdTextToFreq(std::string_view h);

// "ddd.ddddd" to the 8 hex characters of a stored frequency.
std::string FreqToBcdText(std::string_view f);

// Lowers a 5-decimal frequency text to the nearer 5 kHz or 6.25 kHz raster
// point below it (a tie goes to 6.25 kHz). Returns the value in MHz.
double SnapToRaster(std::string_view text);

// Remainder of dividend by divisor, found by repeated subtraction when the
// quotient is not whole. Ends for every double: not-a-number, infinite
// values and a divisor not above 0 give 0 (a dividend below the divisor
// comes back as it is), and quotients from 2^52 on give the exact remainder.
double FloatRemainder(double divisor, double dividend);

// A text that reads as one number (optional blanks, sign, digits with at most
// one point, an optional exponent), as a numeric check of typed input.
std::optional<double> ParseNumber(std::string_view text);

// The numeric value of the leading number of a text (0 when there is none),
// as settings kept as decimal text are read.
double Val(std::string_view text);

// A value formatted with a fixed number of decimals and "." as separator
// ("0.00000" has five), rounded half away from zero.
std::string FormatFixed(double value, int decimals);

} // namespace quelro
