// The MemoryImage codec: 848 bytes of radio memory 0x0010-0x035F as 1696
// upper-case hex characters, built from and spread over ProgramState by the
// field table (image/image_fields.h).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/image_fields.h"

namespace quelro {

inline constexpr std::size_t kImageHexLength = 2 * kImageBytes;
// The last field the decoder reads ends at image offset 0x32F.
inline constexpr std::size_t kDecodeMinHexLength = 2 * 0x330;

// Builds the image from the state. Always 1696 characters.
std::string EncodeImage(const ProgramState& state);

// Spreads an image text of at least 1632 hex characters over the state
// (longer texts: the rest is ignored). Out-of-range values leave their
// setting as it was. Returns the steps that reached a window's control, or
// nullopt (and changes nothing) for a text that is too short.
std::optional<std::vector<DecodeStep>> DecodeImage(ProgramState& state, std::string_view hex);

// A byte of an image that decoding and encoding again do not give back.
struct ByteNotKept {
    enum Kind { UnknownBand, FlagBits, Fill, Value } kind;
    std::size_t offset; // image offset
    int value;          // the byte the image holds
    bool operator==(const ByteNotKept&) const = default;
};

// The bytes of an image (hex text) that EncodeImage of `decoded`, the state
// decoding that image gave, writes differently, in offset order.
std::vector<ByteNotKept> BytesNotKept(std::string_view hex, const ProgramState& decoded);

} // namespace quelro
