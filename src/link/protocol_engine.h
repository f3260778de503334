// The byte dialogue with the radio: entry, identity, 64-byte reads, 16-byte
// writes and End, driven by received bytes and break events.
//
// Everything received is kept as hex text (RxText) and matched as a whole, so
// a reply that is short, long or mixed with a stray byte is never accepted;
// the transfer control's watchdog ends such a transfer. The engine never reads
// a clock; what happens around the dialogue (progress, band question,
// completion) is asked of its Hooks.
//
// Two things of real lines are taken off the front of what arrives before it
// is matched. A one-wire cable echoes every byte the PC sends: when the entry
// frame itself comes back before the radio's first 06 (after leftovers from
// before it, if any), exactly as many bytes as were sent are taken off the
// front of the input for the rest of the transfer. And until the radio's first 06, bytes that are
// no echo (a radio powering up, an adapter's leftovers) are skipped; from the first 06 on every
// reply is matched strictly.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "link/link_failure.h"

namespace quelro {

enum class TransferMode { None, Read, Write };

// Radio memory addresses of the dialogue.
inline constexpr int kFirstBlockAddress = 0x0010;
inline constexpr int kReadEndAddress = 0x0410;  // after the block at 0x03D0
inline constexpr int kWriteEndAddress = 0x0360; // after the block at 0x0350
inline constexpr int kReadBlockBytes = 0x40;
inline constexpr int kWriteBlockBytes = 0x10;

// The single-byte frames.
inline constexpr char kAck = 0x06;
inline constexpr char kIdentityRequest = 0x02;
inline constexpr char kEndByte = 0x45;
inline constexpr std::string_view kEntryFrame = "PROGRAM";

class ProtocolEngine {
  public:
    class Hooks {
      public:
        virtual ~Hooks() = default;
        // Writes bytes to the port.
        virtual void Send(std::string_view bytes) = 0;
        virtual void ResetWatchdog() = 0;
        virtual void ProgressStart() = 0;
        virtual void ProgressStep() = 0;
        // Writing only, on every acknowledge of the data phase. False when the
        // user refused to go on; the hook has then ended the transfer.
        virtual bool BandCheck() = 0;
        // BlockAddress reached the end; the hook ends the transfer (and sends End).
        virtual void ReadComplete() = 0;
        virtual void WriteComplete() = 0;
        // The MemoryImage to write (1696 hex characters).
        virtual std::string EncodeWriteImage() = 0;
        virtual bool ServiceMode() = 0;
    };

    explicit ProtocolEngine(Hooks& hooks) : hooks_(hooks) {}

    // A transfer starts: RxText emptied, the handshake expected, the line's
    // echo not yet known. The caller sends the entry frame with SendEntry,
    // and may send it again while EntryUnanswered().
    void Begin(TransferMode mode);
    void SendEntry();
    void SendEnd() { SendFrame(std::string_view(&kEndByte, 1)); }

    // Nothing but the line's own echo came back since the last entry frame,
    // and the radio has not acknowledged one yet.
    bool EntryUnanswered() const { return handshake_ && !identityRequested_ && !answered_; }
    int EntriesSent() const { return entries_; }
    bool LineEchoes() const { return echo_ == Echo::Yes; }

    // Why a transfer that the watchdog ends has failed, from what came back.
    // Call before ClearRx.
    TransferFailure WatchdogFailure() const;
    // A write has ended with some of its blocks acknowledged, but not all.
    bool HalfWritten() const {
        return mode_ == TransferMode::Write && blocksAcknowledged_ > 0 && !writeComplete_;
    }

    // Serial events.
    void OnBreak() { breakPending_ = true; }
    void OnData(std::string_view bytes);

    // Set when a transfer has ended: received bytes are kept but not acted on.
    void SetOver(bool over) { over_ = over; }
    bool Over() const { return over_; }

    void ClearRx() { rxText_.clear(); }

    const std::string& RxText() const { return rxText_; }
    bool BreakPending() const { return breakPending_; }
    bool HandshakePhase() const { return handshake_; }
    TransferMode Mode() const { return mode_; }
    int BlockAddress() const { return blockAddress_; }
    int RadioBand() const { return radioBand_; }
    // Byte 6 of the last identity accepted (the band code), -1 before any.
    int IdentityBandByte() const { return identityBandByte_; }
    void SetRadioBand(int band) { radioBand_ = band; }
    const std::string& ReadImage() const { return readImage_; }
    const std::string& WriteImage() const { return writeImage_; }

  private:
    enum class Echo { Unknown, Yes, No };

    // Empties RxText, then writes the frame.
    void SendFrame(std::string_view frame);
    // Every byte the engine writes goes out here, so that its echo is known.
    void Emit(std::string_view bytes);
    // What of `bytes` is the radio's: the echo taken off, the entry frame's
    // echo recognised.
    std::string TakeEcho(std::string_view bytes);
    // Before the first 06: skips what is not an acknowledge. False when
    // nothing is left to act on.
    bool SkipNoise();
    void Handshake();
    void ReadStep();
    void WriteStep();

    Hooks& hooks_;
    std::string rxText_;
    bool breakPending_ = false;
    bool handshake_ = false;
    bool identityRequested_ = false;
    bool over_ = false;
    TransferMode mode_ = TransferMode::None;
    int blockAddress_ = kFirstBlockAddress;
    int radioBand_ = 0; // kept from one transfer to the next
    int identityBandByte_ = -1;
    std::string readImage_;
    std::string writeImage_;

    Echo echo_ = Echo::Unknown;
    std::string echoProbe_;       // bytes received while the echo is not known
    std::size_t echoPending_ = 0; // bytes sent whose echo has not come back
    int entries_ = 0;
    bool heardAny_ = false; // any byte since Begin, echo included
    bool answered_ = false; // a byte that is no echo since the last entry frame
    bool answeredAny_ = false;
    std::string skipped_; // the first bytes skipped before the first 06 (hex)
    int blocksAcknowledged_ = 0;
    bool writeComplete_ = false;
};

// The write's skips: the address of the block to send when BlockAddress is
// `address` (0x0180 only in service mode, 0x0190 -> 0x01B8, 0x01C8 -> 0x0200).
int SkipUnwritten(int address, bool serviceMode);

// The write plan: the radio addresses of the 16-byte blocks a write sends, in
// order (46 blocks, 47 with the service block at 0x0180).
std::vector<int> WritePlan(bool serviceMode);

} // namespace quelro
