// Encoding and decoding of the 848-byte memory image.
//
// Both walk the field table in offset order: the encoder appends field after
// field, the decoder cuts each out of the hex text at its offset. Values met
// out of range while decoding leave their setting as it was.
#include "image/memory_image.h"

#include <algorithm>
#include <array>
#include <utility>

#include "codes/bands.h"
#include "codes/conversions.h"
#include "codes/tone_codes.h"

namespace quelro {
namespace {

constexpr std::string_view kNoFrequency = "FFFFFFFF";

class ImageWriter {
  public:
    ImageWriter() { text_.reserve(kImageHexLength); }
    // One byte; values outside 0..255 are limited so that no field can take
    // more than its two characters.
    void Byte(long value) {
        text_ += HexByte(static_cast<unsigned long>(std::clamp(value, 0L, 255L)));
    }
    void Hex(std::string_view hex) { text_ += hex; }
    void Word(long value) {
        const std::string word = HexWord(static_cast<unsigned long>(std::clamp(value, 0L, 65535L)));
        text_ += word.substr(2, 2);
        text_ += word.substr(0, 2);
    }
    // A text field of `length` bytes, FF beyond the text; `zeroAs` replaces
    // the character "0" (the auto-dial memories store it as 3A).
    void Text(std::string_view bytes, std::size_t length, int zeroAs = '0') {
        for (std::size_t i = 0; i < length; ++i) {
            if (i >= bytes.size()) {
                Byte(0xFF);
            } else {
                const auto c = static_cast<unsigned char>(bytes[i]);
                Byte(c == '0' ? zeroAs : c);
            }
        }
    }
    // Four bytes, least significant first.
    void Frequency(std::uint32_t bcd) {
        for (int shift = 0; shift < 32; shift += 8) Byte((bcd >> shift) & 0xFF);
    }
    // A test frequency's text; empty is no frequency.
    void Frequency(std::string_view text) {
        if (text.empty())
            Hex(kNoFrequency);
        else
            Frequency(FrequencyOfText(text));
    }
    const std::string& Result() const { return text_; }

  private:
    std::string text_;
};

int BandCodeOf(const ProgramState& s) {
    const int count = static_cast<int>(kBands.size());
    if (s.BandSelection >= 0 && s.BandSelection < count) return kBands[s.BandSelection].code;
    if (s.BandIndex >= 0 && s.BandIndex < count) return kBands[s.BandIndex].code;
    return kBands[0].code;
}

// A record; an empty channel is written as a new channel out of the scan
// list with no frequencies.
void EncodeChannel(const std::optional<ChannelRecord>& channel, ImageWriter& w) {
    ChannelRecord empty;
    empty.power = Power::kHigh;
    const ChannelRecord& c = channel ? *channel : empty;
    if (channel)
        w.Frequency(c.rx);
    else
        w.Hex(kNoFrequency);
    if (c.tx)
        w.Frequency(*c.tx);
    else
        w.Hex(kNoFrequency);
    w.Word(c.rxTone);
    w.Word(c.txTone);
    w.Byte(c.busyLock == BusyLock::kOff ? 0xF0 : 0xF8);
    w.Byte(0xC0 | (c.power == Power::kHigh ? 0x20 : 0) |
           (c.bandwidth == Bandwidth::kWide ? 0x10 : 0));
    w.Byte(0xFC);
    w.Byte(0xFF);
}

// Channel k in bit k-1 of the first byte, k-9 of the second.
void EncodeScanBitmaps(const ProgramState& s, ImageWriter& w) {
    for (int first : {0, 8}) {
        int bits = 0;
        for (int k = 0; k < 8; ++k) {
            const std::optional<ChannelRecord>& c = s.Channels[first + k];
            if (c && c->scan == ScanList::kScanned) bits |= 1 << k;
        }
        w.Byte(bits);
    }
}

void EncodeNumber(const ProgramState& s, const ImageField& field, ImageWriter& w) {
    const long v = SettingNumber(s, field);
    switch (field.coding) {
    case Coding::PositionPlusOne:
        return w.Byte(v + 1);
    case Coding::Tenth:
        return w.Byte(v / 10);
    case Coding::DigitCharacter:
        return w.Byte(v == 0 ? 0 : std::to_string(std::max(v, 0L)).front());
    case Coding::EmptyAsFF:
        return w.Byte(v == 0 ? 0xFF : v);
    case Coding::LowBit:
        return w.Byte(v != 0 ? 0xFF : 0xFE);
    case Coding::Word:
        return w.Word(v);
    default:
        return w.Byte(v);
    }
}

void EncodeField(const ProgramState& s, const ImageField& field, int i, ImageWriter& w) {
    switch (field.coding) {
    case Coding::Fill:
        for (int n = 0; n < field.width; n += static_cast<int>(field.fill.size()) / 2)
            w.Hex(field.fill);
        break;
    case Coding::Channels:
        EncodeChannel(s.Channels[i], w);
        break;
    case Coding::ScanBitmaps:
        EncodeScanBitmaps(s, w);
        break;
    case Coding::BandCode:
    case Coding::BandCopy:
        w.Byte(BandCodeOf(s));
        break;
    case Coding::Text:
    case Coding::TextKeepFF:
        w.Text(FieldText(s, field, i), field.width);
        break;
    case Coding::DialText:
        w.Text(FieldText(s, field, i), field.width, 0x3A);
        break;
    case Coding::Frequencies:
        w.Frequency(s.TestFrequencyTable[i]);
        w.Frequency(s.TestFrequencyTable[i + kChannels]);
        break;
    default:
        EncodeNumber(s, field, w);
        break;
    }
}

} // namespace

std::string EncodeImage(const ProgramState& s) {
    ImageWriter w;
    for (const ImageField& field : ImageFields())
        for (int i = 0; i < field.count; ++i) EncodeField(s, field, i, w);
    return w.Result();
}

namespace {

class ImageReader {
  public:
    explicit ImageReader(std::string_view hex) : hex_(hex) {}
    std::string_view Hex(std::size_t offset, std::size_t bytes) const {
        return hex_.substr(offset * 2, bytes * 2);
    }
    int Byte(std::size_t offset) const {
        return static_cast<int>(std::strtoul(std::string(Hex(offset, 1)).c_str(), nullptr, 16));
    }
    // A 16-bit value stored low byte first.
    int Word(std::size_t offset) const { return Byte(offset) + 256 * Byte(offset + 1); }

  private:
    std::string_view hex_;
};

std::uint32_t Frequency(const ImageReader& in, std::size_t offset) {
    return static_cast<std::uint32_t>(in.Word(offset)) |
           static_cast<std::uint32_t>(in.Word(offset + 2)) << 16;
}

std::optional<ChannelRecord> DecodeChannel(const ImageReader& in, std::size_t r) {
    if (in.Hex(r, 4) == kNoFrequency) return std::nullopt;
    ChannelRecord c;
    c.rx = Frequency(in, r);
    if (in.Hex(r + 4, 4) != kNoFrequency) c.tx = Frequency(in, r + 4);
    c.rxTone = WrittenToneWord(static_cast<std::uint16_t>(in.Word(r + 8)));
    c.txTone = WrittenToneWord(static_cast<std::uint16_t>(in.Word(r + 10)));
    c.busyLock = BusyLock{static_cast<std::uint8_t>((in.Byte(r + 12) >> 3) & 1)};
    const int flags = in.Byte(r + 13);
    c.power = Power{static_cast<std::uint8_t>((flags >> 5) & 1)};
    c.bandwidth = Bandwidth{static_cast<std::uint8_t>((flags >> 4) & 1)};
    return c;
}

// The value a numeric field's bytes code, when it is one the field holds.
std::optional<int> DecodeNumber(const ImageField& field, const ImageReader& in) {
    const int b = in.Byte(field.offset);
    int v = b;
    switch (field.coding) {
    case Coding::PositionPlusOne:
        if (b == 0) return -1; // no selection
        v = b - 1;
        break;
    case Coding::Tenth:
        v = b * 10;
        break;
    case Coding::DigitCharacter:
        if (b == 0x00 || b == 0xFF) return 0;
        v = b - '0';
        break;
    case Coding::EmptyAsFF:
        v = b == 0xFF ? 0 : b;
        break;
    case Coding::LowBit:
        v = b & 1;
        break;
    case Coding::Word:
        v = in.Word(field.offset);
        break;
    default:
        break;
    }
    if (v < field.low || v > field.high) return std::nullopt;
    return v;
}

// A text field: every byte a character, FF skipped (and 3A read as "0" in
// the dial memories) unless the field keeps FF.
std::string DecodeText(const ImageField& field, const ImageReader& in, std::size_t start) {
    std::string text;
    for (std::size_t o = start; o < start + field.width; ++o) {
        const int b = in.Byte(o);
        if (b == 0xFF && field.coding != Coding::TextKeepFF) continue;
        text += field.coding == Coding::DialText && b == 0x3A ? '0' : static_cast<char>(b);
    }
    return text;
}

void DecodeField(ProgramState& s, const ImageField& field, int i, const ImageReader& in,
                 std::vector<DecodeStep>& steps) {
    const std::size_t start = field.offset + static_cast<std::size_t>(i) * field.width;
    switch (field.coding) {
    case Coding::Fill:
    case Coding::BandCopy:
        return;
    case Coding::Channels:
        s.Channels[i] = DecodeChannel(in, start);
        return;
    case Coding::ScanBitmaps:
        for (int k = 0; k < kChannels; ++k)
            if (std::optional<ChannelRecord>& c = s.Channels[k])
                c->scan =
                    ScanList{static_cast<std::uint8_t>((in.Byte(start + k / 8) >> k % 8) & 1)};
        return;
    case Coding::BandCode:
        if (const auto band = BandPositionFromCode(static_cast<std::uint8_t>(in.Byte(start)))) {
            s.BandIndex = *band;
            s.SelectBandPosition(*band);
            steps.push_back({DecodeStep::Band, *band});
        }
        return;
    case Coding::Text:
    case Coding::TextKeepFF:
    case Coding::DialText:
        FieldText(s, field, i) = DecodeText(field, in, start);
        break;
    case Coding::Frequencies:
        for (auto [entry, offset] : {std::pair{i, start}, std::pair{i + kChannels, start + 4}}) {
            const std::string_view bcd = in.Hex(offset, 4);
            s.TestFrequencyTable[entry] = bcd == kNoFrequency ? std::string() : BcdTextToFreq(bcd);
        }
        break;
    default:
        if (const std::optional<int> value = DecodeNumber(field, in))
            SetSettingNumber(s, field, *value);
        break;
    }
    // The control follows the stored setting whether or not the byte was
    // taken over.
    if (field.step) steps.push_back({*field.step, field.count > 1 ? i + 1 : 0});
}

} // namespace

std::optional<std::vector<DecodeStep>> DecodeImage(ProgramState& s, std::string_view hex) {
    if (hex.size() < kDecodeMinHexLength) return std::nullopt;
    const ImageReader in(hex);
    std::vector<DecodeStep> steps;
    s.ServiceMode = 0;
    for (const ImageField& field : ImageFields())
        for (int i = 0; i < field.count; ++i) DecodeField(s, field, i, in, steps);
    return steps;
}

namespace {

ByteNotKept::Kind KindOfByte(std::size_t o) {
    const ImageField& field = FieldAt(o);
    switch (field.coding) {
    case Coding::BandCode:
        return ByteNotKept::UnknownBand;
    case Coding::Fill:
    case Coding::BandCopy:
        return ByteNotKept::Fill;
    case Coding::Channels:
        return o % 16 >= 14   ? ByteNotKept::Fill
               : o % 16 >= 12 ? ByteNotKept::FlagBits
                              : ByteNotKept::Value;
    case Coding::LowBit:
    case Coding::ScanBitmaps:
        return ByteNotKept::FlagBits;
    default:
        return ByteNotKept::Value;
    }
}

} // namespace

std::vector<ByteNotKept> BytesNotKept(std::string_view hex, const ProgramState& decoded) {
    const ImageReader original(hex);
    const std::string encoded = EncodeImage(decoded);
    const ImageReader again(encoded);
    std::vector<ByteNotKept> lost;
    for (std::size_t o = 0; o < kImageBytes && 2 * o + 2 <= hex.size(); ++o) {
        const int value = original.Byte(o);
        if (value != again.Byte(o)) lost.push_back({KindOfByte(o), o, value});
    }
    return lost;
}

} // namespace quelro
