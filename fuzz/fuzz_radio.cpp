// libFuzzer target: any byte stream as the radio's replies, through the real
// protocol engine and transfer control, for a read or a write (service mode
// too).
//
// A simulated radio answers every frame the program sends; the fuzzer decides
// how much of its pending reply arrives at a time, puts Timer1 and Timer2
// ticks, breaks, stray bytes, lost and damaged bytes between the pieces, and
// answers the band question. Also while a box is open, as a modal box's event
// loop would deliver them. Invariants:
// - every transfer ends (watchdog or success) within a bounded number of
//   ticks, and the timers are then stopped;
// - End (45) is the last byte sent;
// - a read that did not succeed leaves the channel table and every setting
//   unchanged; one that did while the line was clean holds the radio's memory;
// - no frame is ever sent outside the read or write plan, and the radio's
//   memory outside the blocks written is untouched.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "codes/bands.h"
#include "codes/conversions.h"
#include "fuzz_check.h"
#include "image/memory_image.h"
#include "link/transfer_control.h"
#include "sim/sim_radio.h"

namespace {

using quelro::fuzz::Check;
using Phase = quelro::TransferControl::Phase;

// Radio memory as loaded: byte i of 0x0010 + i holds (i * 7 + 3) & 0xFF.
const std::string& RadioPattern() {
    static const std::string bytes = [] {
        std::string pattern;
        for (int i = 0; i < quelro::sim::kMemoryBytes; ++i)
            pattern += static_cast<char>((i * 7 + 3) & 0xFF);
        return pattern;
    }();
    return bytes;
}

int FrameAddress(const std::string& frame) {
    return (static_cast<unsigned char>(frame[1]) << 8) | static_cast<unsigned char>(frame[2]);
}

struct Harness : quelro::TransferView, quelro::TransferLine {
    FuzzedDataProvider& in;
    quelro::ProgramState state;
    quelro::ProgramState before;
    quelro::sim::SimRadio radio;
    quelro::TransferControl control;
    quelro::TransferMode mode;

    std::string pending; // bytes the radio has sent that have not arrived yet
    std::vector<std::string> sent;
    bool timer1 = false;
    bool timer2 = false;
    bool clean = true; // no byte was injected, lost or damaged, no break
    bool readDone = false;
    bool writeDone = false;
    int nested = 0;
    int ticks1 = 0;   // Timer1 ticks while a dialogue runs
    int endTicks = 0; // Timer2 ticks during the end display

    Harness(FuzzedDataProvider& provider, quelro::ProgramState start, quelro::sim::Options options,
            quelro::TransferMode transferMode)
        : in(provider), state(std::move(start)), before(state), radio(std::move(options)),
          control(*this, *this, state), mode(transferMode) {
        radio.Load(RadioPattern());
    }

    // TransferLine: every frame goes to the radio, byte by byte.
    bool PortOpen() override { return true; }
    // What a radio sent to an earlier transfer is dropped at the start.
    void DiscardInput() override { pending.clear(); }
    void Send(std::string_view bytes) override {
        sent.emplace_back(bytes);
        for (char byte : bytes) {
            const quelro::sim::Step step = radio.Receive(byte);
            if (step.reply) pending += step.reply->bytes;
        }
    }
    void StartTimers() override { timer1 = timer2 = true; }
    void StopWatchdog() override { timer1 = false; }
    void StopBlink() override { timer2 = false; }
    std::optional<std::string> KeepBackup(const std::string&) override { return std::nullopt; }

    // TransferView: only what the invariants need; a box runs a few events.
    void SetTransferLocked(bool) override {}
    void FocusBandSelector() override {}
    int Language() const override { return quelro::kEnglish; }
    void SetStatusText(const std::string&) override {}
    void ToggleStatusVisible() override {}
    void HideStatus() override {}
    void ShowProgress(int) override {}
    void SetProgress(int) override {}
    void HideProgress() override {}
    quelro::BoxAnswer ShowMessage(const quelro::Message&) override {
        WhileABoxIsOpen();
        return in.ConsumeBool() ? quelro::BoxAnswer::kYes : quelro::BoxAnswer::kNo;
    }
    void ShowFailure(const quelro::TransferFailure&) override { WhileABoxIsOpen(); }
    void WhileABoxIsOpen() {
        if (nested > 0) return;
        ++nested;
        for (int i = in.ConsumeIntegralInRange(0, 3); i > 0 && in.remaining_bytes() > 0; --i)
            Event();
        --nested;
    }
    // As the main window does: decode, then the band from the identity.
    void ReadCompleted(const std::string& readImage, int radioBand) override {
        Check(mode == quelro::TransferMode::Read, "a write completed as a read");
        Check(readImage.size() == 2 * quelro::sim::kMemoryBytes, "a read image of the wrong size");
        if (clean)
            Check(quelro::BytesFromHex(readImage) == radio.Memory(),
                  "a clean read differs from the radio's memory");
        readDone = true;
        quelro::DecodeImage(state, readImage);
        state.BandIndex = radioBand;
        state.SelectBandPosition(radioBand);
    }
    void WriteCompleted() override {
        Check(mode == quelro::TransferMode::Write, "a read completed as a write");
        writeDone = true;
    }
    void ShowBackupWarning(const std::string&) override {}

    bool Running() const { return control.CurrentPhase() != Phase::Idle; }
    bool InDialogue() const {
        return control.CurrentPhase() != Phase::Idle && control.CurrentPhase() != Phase::EndDisplay;
    }

    void Tick1() {
        if (!timer1) return;
        if (InDialogue()) ++ticks1;
        control.OnWatchdogTick();
    }
    void Tick2() {
        if (!timer2) return;
        if (control.CurrentPhase() == Phase::EndDisplay) ++endTicks;
        control.OnBlinkTick();
    }

    // One thing happening on the line or the clock.
    void Event() {
        switch (in.ConsumeIntegralInRange(0, 8)) {
        case 0: // part of the reply arrives
            if (!pending.empty()) {
                const std::size_t n = in.ConsumeIntegralInRange<std::size_t>(1, pending.size());
                const std::string piece = pending.substr(0, n);
                pending.erase(0, n);
                control.OnBytes(piece);
            }
            break;
        case 1: { // all of it
            const std::string piece = std::move(pending);
            pending.clear();
            if (!piece.empty()) control.OnBytes(piece);
            break;
        }
        case 2: { // bytes from nowhere
            const std::string stray = in.ConsumeRandomLengthString(80);
            clean = clean && stray.empty();
            if (!stray.empty()) control.OnBytes(stray);
            break;
        }
        case 3:
            Tick1();
            break;
        case 4:
            Tick2();
            break;
        case 5: // a break, with or without the NUL a line leaves after it
            clean = false;
            control.OnBreak();
            if (in.ConsumeBool()) control.OnBytes(std::string(1, '\0'));
            break;
        case 6: // bytes lost on the line
            if (!pending.empty()) {
                clean = false;
                pending.erase(in.ConsumeIntegralInRange<std::size_t>(0, pending.size() - 1), 1);
            }
            break;
        case 7: // a byte damaged on the line
            if (!pending.empty()) {
                clean = false;
                const std::size_t at =
                    in.ConsumeIntegralInRange<std::size_t>(0, pending.size() - 1);
                pending[at] = static_cast<char>(pending[at] ^ in.ConsumeIntegralInRange(1, 255));
            }
            break;
        case 8: // the window closes
            if (nested == 0) control.Abandon();
            break;
        }
    }

    // Every frame sent is one of the dialogue's, in the plan's order.
    void CheckFrames() const {
        Check(!sent.empty() && sent.front() == quelro::kEntryFrame,
              "the first frame is not PROGRAM");
        const std::vector<int> plan = quelro::WritePlan(state.ServiceMode != 0);
        const std::string writeImage = quelro::BytesFromHex(control.Engine().WriteImage());
        std::size_t reads = 0, writes = 0;
        for (std::size_t i = 1; i < sent.size(); ++i) {
            const std::string& frame = sent[i];
            if (frame == quelro::kEntryFrame) {
                // Sent again only while nothing else went out, a few times.
                Check(sent[i - 1] == quelro::kEntryFrame && i <= quelro::kEntryRepeats,
                      "PROGRAM sent again after the dialogue began");
                continue;
            }
            if (frame == "\x02" || frame == "\x06" || frame == "\x45") continue;
            if (frame[0] == 'R') {
                Check(mode == quelro::TransferMode::Read, "a read request in a write");
                Check(frame.size() == 4 && frame[3] == 0x40, "a read request of the wrong form");
                Check(FrameAddress(frame) == quelro::kFirstBlockAddress +
                                                 static_cast<int>(reads) * quelro::kReadBlockBytes,
                      "a read request outside the read plan");
                Check(FrameAddress(frame) < quelro::kReadEndAddress, "a read beyond the plan");
                ++reads;
                continue;
            }
            Check(frame[0] == 'W', "a frame that is not the dialogue's");
            Check(mode == quelro::TransferMode::Write, "a write block in a read");
            Check(frame.size() == 20 && frame[3] == 0x10, "a write block of the wrong form");
            Check(writes < plan.size() && FrameAddress(frame) == plan[writes],
                  "a write block outside the write plan");
            const auto offset = static_cast<std::size_t>(plan[writes] - quelro::kFirstBlockAddress);
            Check(frame.compare(4, 16, writeImage, offset, 16) == 0,
                  "a write block that is not the image's");
            ++writes;
        }
        if (writeDone) Check(writes == plan.size(), "a write completed before its plan");
        if (readDone) Check(reads == 16, "a read completed before its plan");

        // The radio holds what was written and nothing else changed.
        std::string expected = RadioPattern();
        for (std::size_t k = 0; k < writes; ++k) {
            const auto offset = static_cast<std::size_t>(plan[k] - quelro::kFirstBlockAddress);
            expected.replace(offset, 16, writeImage, offset, 16);
        }
        Check(radio.Memory() == expected, "radio memory outside the blocks written changed");
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const auto mode = in.ConsumeBool() ? quelro::TransferMode::Write : quelro::TransferMode::Read;
    quelro::ProgramState state = quelro::ProgramState::StartUp();
    state.ServiceMode = in.ConsumeBool() ? 1 : 0;
    state.SelectBandPosition(in.ConsumeIntegralInRange(0, 8));
    quelro::sim::Options options;
    options.model = in.ConsumeBool() ? "VN482" : "VN481";
    options.bandByte = in.ConsumeIntegral<std::uint8_t>();

    Harness h(in, std::move(state), std::move(options), mode);
    mode == quelro::TransferMode::Write ? h.control.WriteRadio() : h.control.ReadRadio();
    while (in.remaining_bytes() > 0 && h.Running()) h.Event();

    // The line falls silent: only the clocks go on.
    for (int i = 0; i < quelro::kWatchdogTicks + quelro::kEndTicks && h.Running(); ++i) {
        h.Tick1();
        h.Tick2();
    }
    Check(!h.Running() && !h.timer1 && !h.timer2, "the transfer did not end on a silent line");

    // Each accepted reply restarts the watchdog once: the handshake's two, two
    // per block read, one per block written and the last acknowledge.
    const int steps = mode == quelro::TransferMode::Read ? 2 + 2 * 16 + 1 : 2 + 47 + 1;
    Check(h.ticks1 <= (steps + 1) * quelro::kWatchdogTicks, "the dialogue outlived its bound");
    Check(h.endTicks <= quelro::kEndTicks, "the end display outlived its bound");
    Check(h.sent.back() == "\x45", "End was not the last byte sent");
    if (!h.readDone) Check(h.state == h.before, "a read that failed changed the program's state");
    h.CheckFrames();
    return 0;
}
