// A recording window and line for the transfer tests, a simulated clock that
// ticks only the timers that run, and a recognisable image to write.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "codes/conversions.h"
#include "image/memory_image.h"
#include "link/transfer_control.h"

namespace quelro::test {

// Image byte i holds i & 0xFF, so a block's data can be written down by hand:
// the block at radio address A carries (A - 0x10) ... (A - 0x10 + 15).
inline std::string PatternImage() {
    std::string bytes;
    for (std::size_t i = 0; i < kImageBytes; ++i) bytes += static_cast<char>(i & 0xFF);
    return HexFromBytes(bytes);
}

inline std::string Bytes(std::string_view hex) {
    return BytesFromHex(hex);
}

struct FakeLine : TransferLine {
    bool open = true;
    bool timer1 = false;
    bool timer2 = false;
    int timer1Elapsed = 0; // ms since the last tick or the start
    int timer2Elapsed = 0;
    std::vector<std::string> sent;     // one hex text per frame
    std::string unechoed;              // bytes sent since the radio last spoke
    std::vector<std::size_t> discards; // frames sent by each DiscardInput
    std::vector<std::string> backups;
    std::optional<std::string> backupFailure;

    bool PortOpen() override { return open; }
    void DiscardInput() override { discards.push_back(sent.size()); }
    void Send(std::string_view bytes) override {
        sent.push_back(HexFromBytes(bytes));
        unechoed += bytes;
    }
    void StartTimers() override {
        timer1 = timer2 = true;
        timer1Elapsed = timer2Elapsed = 0;
    }
    void StopWatchdog() override { timer1 = false; }
    void StopBlink() override { timer2 = false; }
    std::optional<std::string> KeepBackup(const std::string& readImage) override {
        backups.push_back(readImage);
        return backupFailure;
    }
    std::string Last() const { return sent.empty() ? "" : sent.back(); }
};

struct FakeView : TransferView {
    std::vector<std::string> log; // what the window was told, in order
    bool locked = false;
    bool statusVisible = false;
    std::string status;
    std::optional<int> progressMax;
    int progress = -1;
    std::vector<std::string> asked; // English texts of the boxes shown
    std::vector<TransferFailure> failures;
    std::function<BoxAnswer(const Message&)> answer = [](const Message&) {
        return BoxAnswer::kYes;
    };
    std::function<void()> onReadCompleted = [] {};
    std::function<void()> onFailure = [] {};
    std::string readImage;
    int radioBand = -1;
    bool written = false;
    std::string backupWarning;

    int language = kEnglish;

    int Language() const override { return language; }
    void SetTransferLocked(bool on) override {
        locked = on;
        log.push_back(on ? "lock" : "unlock");
    }
    void FocusBandSelector() override { log.push_back("focus Combo1"); }
    void SetStatusText(const std::string& text) override {
        status = text;
        log.push_back("status " + text);
    }
    void ToggleStatusVisible() override { statusVisible = !statusVisible; }
    void HideStatus() override {
        statusVisible = false;
        log.push_back("hide status");
    }
    void ShowProgress(int maximum) override {
        progressMax = maximum;
        progress = 0;
        log.push_back("show progress");
    }
    void SetProgress(int value) override { progress = value; }
    void HideProgress() override {
        progressMax.reset();
        log.push_back("hide progress");
    }
    BoxAnswer ShowMessage(const Message& message) override {
        asked.emplace_back(message.text.en);
        log.push_back("box " + std::string(message.text.en));
        return answer(message);
    }
    void ShowFailure(const TransferFailure& failure) override {
        failures.push_back(failure);
        asked.push_back(FailureText(failure, kEnglish));
        log.push_back("box " + asked.back());
        onFailure();
    }
    void ReadCompleted(const std::string& image, int band) override {
        readImage = image;
        radioBand = band;
        log.push_back("read completed");
        onReadCompleted();
    }
    void WriteCompleted() override {
        written = true;
        log.push_back("write completed");
    }
    void ShowBackupWarning(const std::string& text) override { backupWarning = text; }
};

// How a line that echoes hands the PC's own bytes back: with the radio's
// reply in one piece, in a piece of their own, or a byte at a time.
enum class Echo { None, WithReply, Apart, ByteByByte };

// A control over the fakes, in English, writing the pattern image.
struct Rig {
    FakeView view;
    FakeLine line;
    ProgramState state = ProgramState::StartUp();
    TransferControl control{view, line, state, [](const ProgramState&) { return PatternImage(); }};
    Echo echo = Echo::None;

    // The radio sends these bytes (hex); on an echoing line what the PC sent
    // since the radio last spoke comes first.
    void Radio(std::string_view hex) {
        std::string echoed = std::exchange(line.unechoed, {});
        switch (echo) {
        case Echo::None:
            break;
        case Echo::WithReply:
            control.OnBytes(echoed + Bytes(hex));
            return;
        case Echo::Apart:
            control.OnBytes(echoed);
            break;
        case Echo::ByteByByte:
            for (char c : echoed) control.OnBytes(std::string(1, c));
            break;
        }
        control.OnBytes(Bytes(hex));
    }
    // 100 ms of time: Timer1 ticks every 500 ms, Timer2 every 300 ms, each
    // only while it runs.
    void Advance(int ms) {
        for (int t = 0; t < ms; t += 100) {
            if (line.timer1 && (line.timer1Elapsed += 100) == kWatchdogIntervalMs) {
                line.timer1Elapsed = 0;
                control.OnWatchdogTick();
            }
            if (line.timer2 && (line.timer2Elapsed += 100) == kBlinkIntervalMs) {
                line.timer2Elapsed = 0;
                control.OnBlinkTick();
            }
        }
    }
};

// The identity of a VN481 with band byte `band` (hex, two digits).
inline std::string Identity(std::string_view band) {
    return "564E343831" + std::string(band) + "0000";
}

} // namespace quelro::test
