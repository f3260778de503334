// Encoding and decoding of the 848-byte memory image.
//
// The encoder appends field after field in offset order; the decoder cuts each
// field out of the hex text at its offset. Values met out of range while
// decoding leave their setting as it was.
#include "image/memory_image.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <tuple>
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
    void Repeat(long value, int count) {
        for (int i = 0; i < count; ++i) Byte(value);
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

long TextValue(const std::string& text) {
    return static_cast<long>(Val(text));
}

int BandCodeOf(const ProgramState& s) {
    const int count = static_cast<int>(kBands.size());
    if (s.BandSelection >= 0 && s.BandSelection < count) return kBands[s.BandSelection].code;
    if (s.BandIndex >= 0 && s.BandIndex < count) return kBands[s.BandIndex].code;
    return kBands[0].code;
}

// A record's fields; an empty channel is written as a new channel out of
// the scan list with no frequencies.
void EncodeChannels(const ProgramState& s, ImageWriter& w) {
    ChannelRecord empty;
    empty.power = Power::kHigh;
    empty.scan = ScanList::kSkipped;
    for (const std::optional<ChannelRecord>& channel : s.Channels) {
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

} // namespace

std::string EncodeImage(const ProgramState& s) {
    ImageWriter w;
    const auto& text = s.Functions.Text;
    const auto& value = s.Functions.Value;
    EncodeChannels(s, w);

    // 0x100: the DTMF group.
    w.Byte(value[kDtmfRate]);
    w.Byte(value[kFirstDigitTime]);
    w.Byte(value[kFirstDigitDelay] / 10);
    w.Byte(value[kStarHashTone]);
    w.Byte(value[kDKeySetting]);
    w.Byte(value[kDtmfSideTone]);
    // The group call code is stored as the character of its digit.
    const int group = value[kGroupCallCode];
    w.Byte(group == 0 ? 0 : std::to_string(std::max(group, 0)).front());
    w.Byte(value[kAutoResetTimer]);

    // 0x108: side keys.
    w.Repeat(0xFF, 5);
    w.Byte(s.SideKeyFunction[0]);
    w.Byte(s.SideKeyFunction[1]);
    w.Byte(0xFF);

    // 0x110: ID code.
    w.Text(text[kIdCode], kIdCodeLength);
    w.Repeat(0xFF, 5);

    // 0x11F: the main window's general settings and the PTT-ID mode.
    w.Byte(s.MainSelectors[kVoicePrompt]);
    w.Byte(s.MainSelectors[kTxTimeout] + 1);
    w.Byte(s.MainSelectors[kTimeoutWarn]);
    w.Byte(TextValue(text[kPttIdMode]));
    w.Byte(0x00);
    w.Byte(s.MainSelectors[kSquelch]);
    w.Byte(s.MainSelectors[kBatterySave]);
    w.Byte(s.MainSelectors[kBeep]);

    // 0x127: VOX group and duplicate.
    for (int field : {kCancelOperation, kVoxRxInhibit, kVoxEnable, kVoxGain, kVoxDelay, kVoxTone})
        w.Byte(TextValue(text[field]));
    w.Byte(0xFF);
    std::string duplicate = std::string("1111111") + (TextValue(text[kDuplicate]) != 0 ? '1' : '0');
    w.Hex(BitsToHex(duplicate));
    w.Byte(0xFF);

    // 0x130: PTT start and end codes.
    w.Text(text[kPttStartCode], kPttCodeLength);
    w.Text(text[kPttEndCode], kPttCodeLength);

    // 0x150: scan settings; an "Empty" retrace time (position 0) is FF.
    w.Byte(TextValue(text[kPriorityMode]));
    w.Byte(TextValue(text[kPriorityChannel]));
    for (int field : {kRetraceTimeA, kRetraceTimeB}) {
        const long retrace = TextValue(text[field]);
        w.Byte(retrace == 0 ? 0xFF : retrace);
    }
    w.Byte(TextValue(text[kReturnChannel]));
    w.Word(TextValue(text[kScanRxResumeDelay]));
    w.Word(TextValue(text[kScanTxResumeDelay]));
    w.Repeat(0xFF, 21);

    // 0x16E: scan membership.
    EncodeScanBitmaps(s, w);

    // 0x170: power levels, first model tag and band.
    w.Repeat(0xFF, 3);
    w.Byte(s.TxPowerHigh);
    w.Repeat(0xFF, 4);
    w.Byte(s.TxPowerLow);
    w.Repeat(0xFF, 47);
    w.Hex("524D443437");
    w.Byte(BandCodeOf(s));
    w.Byte(0xF8);
    w.Byte(0xFF);
    w.Repeat(0xFF, 64);

    // 0x1F0: auto-dial memories, "0" stored as 3A.
    for (const std::string& memory : s.Functions.AutoDialMemory)
        w.Text(memory, kAutoDialLength, 0x3A);

    // 0x270: test frequencies.
    for (int r = 1; r <= kChannels; ++r) {
        w.Frequency(s.TestFrequencyTable[r - 1]);
        w.Frequency(s.TestFrequencyTable[r + 15]);
    }

    // 0x2F0: embedded information.
    for (const std::string& line : s.EmbeddedInfo) w.Text(line, kEmbeddedInfoLength);

    // 0x330: second model tag, band again and the constant tail.
    w.Hex("524D4B56343730");
    w.Repeat(0xFF, 5);
    w.Byte(BandCodeOf(s));
    w.Repeat(0xFF, 3);
    w.Hex("3532373138333034");
    w.Repeat(0x88, 8);
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
    // Hex text of a stored word, high byte first.
    std::string WordText(std::size_t offset) const {
        return std::string(Hex(offset + 1, 1)) + std::string(Hex(offset, 1));
    }

  private:
    std::string_view hex_;
};

bool InRange(int v, int low, int high) {
    return v >= low && v <= high;
}

std::uint32_t Frequency(const ImageReader& in, std::size_t offset) {
    return static_cast<std::uint32_t>(in.Word(offset)) |
           static_cast<std::uint32_t>(in.Word(offset + 2)) << 16;
}

void DecodeChannels(ProgramState& s, const ImageReader& in) {
    for (int k = 1; k <= kChannels; ++k) {
        const std::size_t r = static_cast<std::size_t>(k - 1) * 16;
        std::optional<ChannelRecord>& channel = s.Channel(k);
        if (in.Hex(r, 4) == kNoFrequency) {
            channel.reset();
            continue;
        }
        ChannelRecord c;
        c.rx = Frequency(in, r);
        if (in.Hex(r + 4, 4) != kNoFrequency) c.tx = Frequency(in, r + 4);
        c.rxTone = WrittenToneWord(static_cast<std::uint16_t>(in.Word(r + 8)));
        c.txTone = WrittenToneWord(static_cast<std::uint16_t>(in.Word(r + 10)));
        c.busyLock = BusyLock{static_cast<std::uint8_t>((in.Byte(r + 12) >> 3) & 1)};
        const int flags = in.Byte(r + 13);
        c.power = Power{static_cast<std::uint8_t>((flags >> 5) & 1)};
        c.bandwidth = Bandwidth{static_cast<std::uint8_t>((flags >> 4) & 1)};
        c.scan = ScanList{
            static_cast<std::uint8_t>((in.Byte(k <= 8 ? 0x16E : 0x16F) >> ((k - 1) % 8)) & 1)};
        channel = c;
    }
}

} // namespace

std::optional<std::vector<DecodeStep>> DecodeImage(ProgramState& s, std::string_view hex) {
    if (hex.size() < kDecodeMinHexLength) return std::nullopt;
    const ImageReader in(hex);
    std::vector<DecodeStep> steps;
    auto& text = s.Functions.Text;
    auto& value = s.Functions.Value;
    // A setting kept as decimal text, taken over when the byte is in range.
    auto takeText = [&](int field, int byte, int high, DecodeStep::Kind kind) {
        if (InRange(byte, 0, high)) text[field] = std::to_string(byte);
        steps.push_back({kind});
    };

    s.ServiceMode = 0;
    DecodeChannels(s, in);

    // DTMF group: stored only, no window shows it.
    if (const int b = in.Byte(0x100); InRange(b, 0, 3)) value[kDtmfRate] = b;
    if (const int b = in.Byte(0x101); InRange(b, 0, 3)) value[kFirstDigitTime] = b;
    if (const int b = in.Byte(0x102); InRange(b, 10, 100)) value[kFirstDigitDelay] = b * 10;
    if (const int b = in.Byte(0x103); InRange(b, 0, 3)) value[kStarHashTone] = b;
    if (const int b = in.Byte(0x104); InRange(b, 0, 16)) value[kDKeySetting] = b;
    if (const int b = in.Byte(0x105); InRange(b, 0, 1)) value[kDtmfSideTone] = b;
    if (const int b = in.Byte(0x106); b == 0x00 || b == 0xFF)
        value[kGroupCallCode] = 0;
    else if (InRange(b, 0x30, 0x39))
        value[kGroupCallCode] = b - 0x30;
    if (const int b = in.Byte(0x107); InRange(b, 0, 15)) value[kAutoResetTimer] = b;

    if (const int b = in.Byte(0x10D); InRange(b, 0, 11)) s.SideKeyFunction[0] = b;
    steps.push_back({DecodeStep::SideKeyPF1});
    if (const int b = in.Byte(0x10E); InRange(b, 0, 11)) s.SideKeyFunction[1] = b;
    steps.push_back({DecodeStep::SideKeyPF2});

    // Every byte of the ID code is a character, FF included.
    text[kIdCode].clear();
    for (std::size_t o = 0x110; o <= 0x119; ++o) text[kIdCode] += static_cast<char>(in.Byte(o));

    if (const int b = in.Byte(0x11F); InRange(b, 0, 2)) s.MainSelectors[kVoicePrompt] = b;
    if (const int b = in.Byte(0x120); InRange(b, 0, 40)) s.MainSelectors[kTxTimeout] = b - 1;
    if (const int b = in.Byte(0x121); InRange(b, 0, 10)) s.MainSelectors[kTimeoutWarn] = b;
    takeText(kPttIdMode, in.Byte(0x122), 2, DecodeStep::PttIdMode);
    if (const int b = in.Byte(0x124); InRange(b, 0, 9)) s.MainSelectors[kSquelch] = b;
    if (const int b = in.Byte(0x125); InRange(b, 0, 1)) s.MainSelectors[kBatterySave] = b;
    if (const int b = in.Byte(0x126); InRange(b, 0, 1)) s.MainSelectors[kBeep] = b;

    takeText(kCancelOperation, in.Byte(0x127), 1, DecodeStep::CancelOperation);
    takeText(kVoxRxInhibit, in.Byte(0x128), 1, DecodeStep::VoxRxInhibit);
    takeText(kVoxEnable, in.Byte(0x129), 1, DecodeStep::VoxEnable);
    takeText(kVoxGain, in.Byte(0x12A), 10, DecodeStep::VoxGain);
    takeText(kVoxDelay, in.Byte(0x12B), 5, DecodeStep::VoxDelay);
    takeText(kVoxTone, in.Byte(0x12C), 1, DecodeStep::VoxTone);
    takeText(kDuplicate, in.Byte(0x12E) & 1, 1, DecodeStep::Duplicate);

    for (auto [field, start] : {std::pair{kPttStartCode, 0x130}, std::pair{kPttEndCode, 0x140}}) {
        text[field].clear();
        for (int o = start; o < start + 16; ++o)
            if (const int b = in.Byte(o); b != 0xFF) text[field] += static_cast<char>(b);
    }

    takeText(kPriorityMode, in.Byte(0x150), 2, DecodeStep::PriorityMode);
    takeText(kPriorityChannel, in.Byte(0x151), 15, DecodeStep::PriorityChannel);
    // An "Empty" retrace time is stored as FF: it shows as position 0 again,
    // never as the previous programming's value.
    for (auto [field, offset, kind] : {std::tuple{kRetraceTimeA, 0x152, DecodeStep::RetraceTimeA},
                                       std::tuple{kRetraceTimeB, 0x153, DecodeStep::RetraceTimeB}})
        takeText(field, in.Byte(offset) == 0xFF ? 0 : in.Byte(offset), 91, kind);
    takeText(kReturnChannel, in.Byte(0x154), 3, DecodeStep::ReturnChannel);
    takeText(kScanRxResumeDelay, in.Word(0x155), 300, DecodeStep::ScanRxResumeDelay);
    takeText(kScanTxResumeDelay, in.Word(0x157), 300, DecodeStep::ScanTxResumeDelay);

    s.TxPowerHigh = in.Byte(0x173);
    steps.push_back({DecodeStep::TxPowerHigh});
    s.TxPowerLow = in.Byte(0x178);
    steps.push_back({DecodeStep::TxPowerLow});

    if (const auto band = BandPositionFromCode(static_cast<std::uint8_t>(in.Byte(0x1AD)))) {
        s.BandIndex = *band;
        s.SelectBandPosition(*band);
        steps.push_back({DecodeStep::Band, *band});
    }

    for (int m = 0; m < 8; ++m) {
        std::string& memory = s.Functions.AutoDialMemory[m];
        memory.clear();
        for (int o = 0x1F0 + m * 16; o < 0x1F0 + (m + 1) * 16; ++o) {
            const int b = in.Byte(o);
            if (b == 0xFF) continue;
            memory += b == 0x3A ? '0' : static_cast<char>(b);
        }
    }

    for (int r = 1; r <= kChannels; ++r) {
        const std::size_t o = 0x270 + static_cast<std::size_t>(r - 1) * 8;
        for (auto [entry, offset] : {std::pair{r - 1, o}, std::pair{r + 15, o + 4}}) {
            const std::string_view bcd = in.Hex(offset, 4);
            s.TestFrequencyTable[entry] = bcd == kNoFrequency ? std::string() : BcdTextToFreq(bcd);
        }
        steps.push_back({DecodeStep::TestFrequencyRow, r});
    }

    for (int line = 0; line < 2; ++line) {
        std::string& info = s.EmbeddedInfo[line];
        info.clear();
        for (int o = 0x2F0 + line * 32; o < 0x2F0 + (line + 1) * 32; ++o)
            if (const int b = in.Byte(o); b != 0xFF) info += static_cast<char>(b);
        steps.push_back(
            {line == 0 ? DecodeStep::EmbeddedInfoLine1 : DecodeStep::EmbeddedInfoLine2});
    }
    return steps;
}

namespace {

// The bytes the decoder never reads: fill, the model tags and the tail.
bool IsFill(std::size_t o) {
    if (o < 0x100) return o % 16 >= 14;
    const std::pair<std::size_t, std::size_t> kFill[] = {
        {0x108, 0x10C}, {0x10F, 0x10F}, {0x11A, 0x11E}, {0x123, 0x123},
        {0x12D, 0x12D}, {0x12F, 0x12F}, {0x159, 0x16D}, {0x170, 0x172},
        {0x174, 0x177}, {0x179, 0x1AC}, {0x1AE, 0x1EF}, {0x330, 0x34F}};
    return std::any_of(std::begin(kFill), std::end(kFill),
                       [o](const auto& range) { return o >= range.first && o <= range.second; });
}

// Bytes of which the decoder reads single bits: the channel flags, the
// duplicate bit and the scan bitmaps.
bool IsFlags(std::size_t o) {
    return (o < 0x100 && o % 16 >= 12 && o % 16 <= 13) || o == 0x12E || o == 0x16E || o == 0x16F;
}

} // namespace

std::vector<ByteNotKept> BytesNotKept(std::string_view hex, const ProgramState& decoded) {
    const ImageReader original(hex);
    const std::string encoded = EncodeImage(decoded);
    const ImageReader again(encoded);
    std::vector<ByteNotKept> lost;
    for (std::size_t o = 0; o < kImageBytes && 2 * o + 2 <= hex.size(); ++o) {
        const int value = original.Byte(o);
        if (value == again.Byte(o)) continue;
        const ByteNotKept::Kind kind = o == 0x1AD   ? ByteNotKept::UnknownBand
                                       : IsFill(o)  ? ByteNotKept::Fill
                                       : IsFlags(o) ? ByteNotKept::FlagBits
                                                    : ByteNotKept::Value;
        lost.push_back({kind, o, value});
    }
    return lost;
}

} // namespace quelro
