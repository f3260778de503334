// Hex, bit and BCD text conversions, the channel raster and number helpers.
#include "codes/conversions.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quelro {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char CharAt(std::string_view text, std::size_t oneBased) {
    return oneBased >= 1 && oneBased <= text.size() ? text[oneBased - 1] : '0';
}

// Words and other values past one byte (HexByte writes single bytes itself).
std::string UpperHex(unsigned long value) {
    char buffer[2 * sizeof value];
    const char* end = std::to_chars(buffer, buffer + sizeof buffer, value, 16).ptr;
    std::string text(static_cast<const char*>(buffer), end);
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The value of a number text of sign, digits, point and exponent, read the
// same way in every locale (the C library's readers follow the locale's
// decimal comma).
std::optional<double> ReadNumber(std::string_view number) {
    bool negative = false;
    if (!number.empty() && (number.front() == '+' || number.front() == '-')) {
        negative = number.front() == '-';
        number.remove_prefix(1);
    }
    double value = 0;
    const char* end = number.data() + number.size();
    const auto [stop, error] = std::from_chars(number.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

} // namespace

std::string HexToBits(std::string_view hex) {
    static constexpr std::string_view kNibbles =
        "0000000100100011010001010110011110001001101010111100110111101111";
    std::string bits;
    bits.reserve(hex.size() * 4);
    for (char c : hex) bits += kNibbles.substr(static_cast<std::size_t>(HexValue(c)) * 4, 4);
    return bits;
}

std::string BitsToHex(std::string& bits) {
    while (bits.size() % 4 != 0) bits.insert(bits.begin(), '0');
    std::string hex;
    hex.reserve(bits.size() / 4);
    for (std::size_t i = 0; i < bits.size(); i += 4) {
        int value = 0;
        for (int k = 0; k < 4; ++k)
            if (bits[i + k] == '1') value |= 8 >> k;
        hex += kHexDigits[value];
    }
    return hex;
}

std::string HexByte(unsigned long value) {
    if (value < 256) return {kHexDigits[value >> 4], kHexDigits[value & 15]};
    return UpperHex(value);
}

std::string HexWord(unsigned long value) {
    std::string text = UpperHex(value);
    while (text.size() < 4) text.insert(text.begin(), '0');
    return text;
}

std::string BcdTextToFreq(std::string_view h) {
    // Four bytes, least significant first, each two BCD digits: the digits
    // most significant first with a point after the third.
    std::string f;
    f += CharAt(h, 7);
    f += CharAt(h, 8);
    f += CharAt(h, 5);
    f += '.';
    f += CharAt(h, 6);
    f += CharAt(h, 3);
    f += CharAt(h, 4);
    f += CharAt(h, 1);
    f += CharAt(h, 2);
    return f;
}

std::string FreqToBcdText(std::string_view f) {
    std::string h;
    for (std::size_t pos : {8, 9, 6, 7, 3, 5, 1, 2}) h += CharAt(f, pos);
    return h;
}

double SnapToRaster(std::string_view text) {
    const std::string_view last4 = text.size() >= 4 ? text.substr(text.size() - 4) : text;
    const int r = static_cast<int>(Val(last4));
    const int a = r % 500; // below the 5 kHz raster
    const int b = r % 625; // below the 6.25 kHz raster
    if (a == 0 || b == 0) return Val(text);
    const int snapped = b > a ? r - a : r - b;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04d", snapped);
    std::string result(text.substr(0, text.size() - last4.size()));
    result += digits;
    return Val(result);
}

double FloatRemainder(double divisor, double dividend) {
    if (dividend < divisor) return dividend;
    if (!std::isfinite(dividend) || !std::isfinite(divisor) || divisor <= 0) return 0;
    const double quotient = dividend / divisor;
    // From 2^52 on, one more divisor no longer changes a count held in a
    // double, so subtracting could never end: take the exact remainder.
    if (!(quotient < 0x1p52)) return std::fmod(dividend, divisor);
    // A quotient that prints as a whole number (15 significant digits) leaves
    // no remainder, so values on the raster are not nudged by rounding.
    std::array<char, 64> text{};
    const auto printed = std::to_chars(text.data(), text.data() + text.size(), quotient,
                                       std::chars_format::general, 15);
    if (std::string_view(text.data(), static_cast<std::size_t>(printed.ptr - text.data()))
            .find_first_of(".e") == std::string_view::npos)
        return 0;
    // The first i (from 1) for which dividend - i*divisor < divisor. Starting
    // two below the quotient, rounding leaves only a few steps either way.
    double i = std::max(1.0, std::floor(quotient) - 2);
    for (int step = 0; step < 4 && i > 1 && dividend - (i - 1) * divisor < divisor; ++step) i -= 1;
    for (int step = 0; step < 8 && !(dividend - i * divisor < divisor); ++step) i += 1;
    return dividend - i * divisor;
}

std::optional<double> ParseNumber(std::string_view text) {
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    };
    skipBlanks();
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool digits = false;
    while (i < text.size() && IsDigit(text[i])) ++i, digits = true;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, digits = true;
    }
    if (!digits) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j >= text.size() || !IsDigit(text[j])) return std::nullopt;
        while (j < text.size() && IsDigit(text[j])) ++j;
        i = j;
    }
    const std::size_t end = i;
    skipBlanks();
    if (i != text.size()) return std::nullopt;
    return ReadNumber(text.substr(start, end - start));
}

double Val(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            number += c;
        } else if (c == '.' && !point) {
            point = true;
            number += c;
        } else {
            break;
        }
    }
    return ReadNumber(number).value_or(0);
}

std::string FormatFixed(double value, int decimals) {
    decimals = std::clamp(decimals, 0, 20);
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0) rounded = 0; // no "-0.00000"
    // Room for the largest double written out in full with 20 decimals.
    std::array<char, 400> text{};
    const auto printed = std::to_chars(text.data(), text.data() + text.size(), rounded,
                                       std::chars_format::fixed, decimals);
    return std::string(text.data(), printed.ptr);
}

std::string HexFromBytes(std::string_view bytes) {
    std::string hex(bytes.size() * 2, '0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto value = static_cast<unsigned char>(bytes[i]);
        hex[2 * i] = kHexDigits[value >> 4];
        hex[2 * i + 1] = kHexDigits[value & 15];
    }
    return hex;
}

std::string BytesFromHex(std::string_view hex) {
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes +=
            static_cast<char>(std::strtoul(std::string(hex.substr(i, 2)).c_str(), nullptr, 16));
    return bytes;
}

} // namespace quelro
