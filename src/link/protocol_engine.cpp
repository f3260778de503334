// The radio dialogue, step by step on each arrival of bytes.
#include "link/protocol_engine.h"

#include <algorithm>

#include "codes/bands.h"
#include "codes/conversions.h"
#include "image/memory_image.h"

namespace quelro {

namespace {

constexpr std::string_view kAckHex = "06";
constexpr std::string_view kModelWords[] = {"564E343831", "564E343832"}; // VN481, VN482
constexpr std::size_t kIdentityHexLength = 16;                           // 8 bytes
constexpr std::size_t kReadReplyHexLength = 136;                         // 68 bytes

std::string BlockHeader(char command, int address, char length) {
    return {command, static_cast<char>((address >> 8) & 0xFF), static_cast<char>(address & 0xFF),
            length};
}

} // namespace

int SkipUnwritten(int address, bool serviceMode) {
    // 0x0180 holds the two service power levels; 0x0190-0x01B7 and
    // 0x01C8-0x01FF are never written.
    if ((address == 0x0180 && !serviceMode) || address == 0x0190) return 0x01B8;
    if (address == 0x01C8) return 0x0200;
    return address;
}

std::vector<int> WritePlan(bool serviceMode) {
    std::vector<int> plan;
    for (int address = kFirstBlockAddress; address != kWriteEndAddress;
         address += kWriteBlockBytes) {
        address = SkipUnwritten(address, serviceMode);
        plan.push_back(address);
    }
    return plan;
}

void ProtocolEngine::Begin(TransferMode mode) {
    rxText_.clear();
    mode_ = mode;
    handshake_ = true;
    identityRequested_ = false;
}

void ProtocolEngine::SendFrame(std::string_view frame) {
    rxText_.clear();
    hooks_.Send(frame);
}

void ProtocolEngine::OnData(std::string_view bytes) {
    rxText_ += HexFromBytes(bytes);
    if (breakPending_) {
        // A break leaves a NUL in the input ahead of the data that follows it.
        rxText_.erase(0, 2);
        breakPending_ = false;
    }
    if (over_) return;
    if (handshake_)
        Handshake();
    else if (mode_ == TransferMode::Read)
        ReadStep();
    else if (mode_ == TransferMode::Write)
        WriteStep();
}

void ProtocolEngine::Handshake() {
    if (rxText_ == kAckHex) {
        // Only the first 06 restarts the watchdog: a radio that answers every
        // identity request with another 06 would otherwise hold the transfer
        // open for ever. A stray 06 still gets the request again.
        if (!identityRequested_) hooks_.ResetWatchdog();
        identityRequested_ = true;
        SendFrame(std::string_view(&kIdentityRequest, 1));
        return;
    }
    if (rxText_.size() != kIdentityHexLength) return;
    bool known = false;
    for (std::string_view word : kModelWords)
        known = known || rxText_.find(word) != std::string::npos;
    if (!known) return;

    hooks_.ResetWatchdog();
    // The acknowledge goes out before RxText is emptied: the band is taken from it.
    hooks_.Send(std::string_view(&kAck, 1));
    const auto code =
        static_cast<std::uint8_t>(BytesFromHex(std::string_view(rxText_).substr(10, 2))[0]);
    if (auto band = RadioBandFromIdentityByte(code)) radioBand_ = *band;
    rxText_.clear();
    handshake_ = false;
    blockAddress_ = kFirstBlockAddress;
    readImage_.clear();
    writeImage_ = hooks_.EncodeWriteImage();
    hooks_.ProgressStart();
}

void ProtocolEngine::ReadStep() {
    // Hex characters of the blocks requested so far: the engine moves on only
    // when the block just requested has arrived, and takes each block once,
    // so a radio that acknowledges without sending data, or repeats a reply,
    // can never shift or shorten the image.
    const std::size_t requestedHex =
        2 * static_cast<std::size_t>(blockAddress_ - kFirstBlockAddress);
    if (rxText_ == kAckHex) {
        if (readImage_.size() != requestedHex) return;
        hooks_.ProgressStep();
        hooks_.ResetWatchdog();
        rxText_.clear();
        if (blockAddress_ == kReadEndAddress) {
            hooks_.ReadComplete();
            return;
        }
        SendFrame(BlockHeader('R', blockAddress_, kReadBlockBytes));
        blockAddress_ += kReadBlockBytes;
        return;
    }
    if (rxText_.size() != kReadReplyHexLength || rxText_.compare(0, 2, "57") != 0 ||
        rxText_.compare(2, 4,
                        HexWord(static_cast<unsigned long>(blockAddress_ - kReadBlockBytes))) != 0)
        return;
    if (readImage_.size() + 2 * kReadBlockBytes != requestedHex) return;
    hooks_.ResetWatchdog();
    readImage_.append(rxText_, 8, 2 * kReadBlockBytes);
    rxText_.clear();
    SendFrame(std::string_view(&kAck, 1));
}

void ProtocolEngine::WriteStep() {
    if (rxText_ != kAckHex) return;
    hooks_.ProgressStep();
    hooks_.ResetWatchdog();
    rxText_.clear();
    if (!hooks_.BandCheck()) return;
    if (blockAddress_ == kWriteEndAddress) {
        hooks_.WriteComplete();
        return;
    }
    blockAddress_ = SkipUnwritten(blockAddress_, hooks_.ServiceMode());
    std::string frame = BlockHeader('W', blockAddress_, kWriteBlockBytes);
    const auto offset = 2 * static_cast<std::size_t>(blockAddress_ - kFirstBlockAddress);
    frame += BytesFromHex(std::string_view(writeImage_)
                              .substr(std::min(offset, writeImage_.size()), 2 * kWriteBlockBytes));
    frame.resize(4 + kWriteBlockBytes, '\0');
    SendFrame(frame);
    blockAddress_ += kWriteBlockBytes;
}

} // namespace quelro
