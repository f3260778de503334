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
    echo_ = Echo::Unknown;
    echoProbe_.clear();
    echoPending_ = 0;
    entries_ = 0;
    heardAny_ = answered_ = answeredAny_ = false;
    skipped_.clear();
    blocksAcknowledged_ = 0;
    writeComplete_ = false;
}

void ProtocolEngine::SendEntry() {
    ++entries_;
    answered_ = false;
    SendFrame(kEntryFrame);
}

void ProtocolEngine::SendFrame(std::string_view frame) {
    rxText_.clear();
    Emit(frame);
}

void ProtocolEngine::Emit(std::string_view bytes) {
    if (echo_ == Echo::Yes) echoPending_ += bytes.size();
    hooks_.Send(bytes);
}

std::string ProtocolEngine::TakeEcho(std::string_view bytes) {
    if (!bytes.empty()) heardAny_ = true;
    std::string rest;
    if (echo_ == Echo::Unknown) {
        // Until the radio's first 06 the entry frame's echo may still come,
        // behind leftovers from before (the echo of an earlier End).
        echoProbe_.append(bytes);
        const std::size_t at = echoProbe_.find(kEntryFrame);
        if (at != std::string::npos) {
            echo_ = Echo::Yes;
            rest = echoProbe_.substr(0, at) + echoProbe_.substr(at + kEntryFrame.size());
            echoProbe_.clear();
        } else {
            // Held back: only what may still begin the echo.
            std::size_t keep = std::min(echoProbe_.size(), kEntryFrame.size() - 1);
            while (keep > 0 &&
                   echoProbe_.compare(echoProbe_.size() - keep, keep, kEntryFrame, 0, keep) != 0)
                --keep;
            rest = echoProbe_.substr(0, echoProbe_.size() - keep);
            echoProbe_.erase(0, echoProbe_.size() - keep);
        }
    } else {
        rest.assign(bytes);
    }
    const std::size_t echoed = std::min(echoPending_, rest.size());
    echoPending_ -= echoed;
    rest.erase(0, echoed);
    if (!rest.empty()) answered_ = answeredAny_ = true;
    return rest;
}

TransferFailure ProtocolEngine::WatchdogFailure() const {
    TransferFailure failure;
    failure.halfWritten = HalfWritten();
    const std::string pending = BytesFromHex(rxText_);
    if (handshake_ && !identityRequested_) {
        if (!heardAny_)
            failure.kind = FailureKind::NoAnswer;
        else if (!answeredAny_)
            failure.kind = FailureKind::OnlyEcho;
        else {
            failure.kind = FailureKind::UnknownBytes;
            failure.detail = BytesFromHex(skipped_);
        }
        return failure;
    }
    if (pending.empty()) {
        failure.kind = FailureKind::Stopped;
        return failure;
    }
    // An identity of the right length without a known model word: its first
    // five bytes are the radio's model word.
    if (handshake_ && rxText_.size() == kIdentityHexLength &&
        std::all_of(pending.begin(), pending.begin() + 5,
                    [](char c) { return c >= 0x20 && c < 0x7F; })) {
        failure.kind = FailureKind::WrongModel;
        failure.detail = pending.substr(0, 5);
        return failure;
    }
    // A negative acknowledge to a block sent: the block just before
    // BlockAddress.
    if (mode_ == TransferMode::Write && !handshake_ && pending == "\x15") {
        failure.kind = FailureKind::BlockRefused;
        failure.detail = "0x" + HexWord(static_cast<unsigned long>(blockAddress_ - 0x10));
        return failure;
    }
    failure.kind = FailureKind::UnknownBytes;
    failure.detail = pending;
    return failure;
}

bool ProtocolEngine::SkipNoise() {
    if (rxText_ == kAckHex) return true;
    constexpr std::size_t kKeptHex = 16; // the first eight bytes tell enough
    const bool endsWithAck =
        rxText_.size() >= 2 && rxText_.compare(rxText_.size() - 2, 2, kAckHex) == 0;
    const std::size_t noise = endsWithAck ? rxText_.size() - 2 : rxText_.size();
    if (skipped_.size() < kKeptHex)
        skipped_ += rxText_.substr(0, std::min(noise, kKeptHex - skipped_.size()));
    rxText_.erase(0, noise);
    return endsWithAck;
}

void ProtocolEngine::OnData(std::string_view bytes) {
    rxText_ += HexFromBytes(TakeEcho(bytes));
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
    if (!identityRequested_ && !SkipNoise()) return;
    if (rxText_ == kAckHex) {
        // The radio has answered: no echo of the entry frame came before it.
        if (echo_ == Echo::Unknown) echo_ = Echo::No;
        echoProbe_.clear();
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
    Emit(std::string_view(&kAck, 1));
    const auto code =
        static_cast<std::uint8_t>(BytesFromHex(std::string_view(rxText_).substr(10, 2))[0]);
    identityBandByte_ = code;
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
    // Every 06 after the first of the data phase acknowledges a block.
    if (blockAddress_ != kFirstBlockAddress) ++blocksAcknowledged_;
    hooks_.ProgressStep();
    hooks_.ResetWatchdog();
    rxText_.clear();
    if (!hooks_.BandCheck()) return;
    if (blockAddress_ == kWriteEndAddress) {
        writeComplete_ = true;
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
