// ReadRadio and WriteRadio around the byte dialogue: locking the window, the
// status text and progress bar, the band question, the watchdog, the
// blink and end display, and the hand-over of the read image.
//
// Driven by method calls (bytes received, break, watchdog tick, blink tick);
// everything it does goes out through a TransferView (the window's side) and
// a TransferLine (port, timers, backups). It never reads a clock.
//
// The watchdog's window holds the start of the dialogue too: while nothing
// but the line's echo has come back, the entry frame goes out again on each
// of the first kEntryRepeats watchdog ticks, so a radio that wakes up late is
// still read. A failure ends with its own message (TransferFailure): End goes
// out first, then the message is shown. A device that goes away ends the
// transfer at once.
//
// A step may open a modal box (the band question, the watchdog message, or a
// box raised while the window takes the read image) whose event loop delivers
// further bytes and ticks. Those arrive here re-entrantly: bytes and breaks
// are queued and handled, in order, once the step is done; watchdog ticks are
// dropped, so the watchdog waits while the user answers; blink ticks only
// blink the status text at those moments and are handled as usual.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "channels/program_state.h"
#include "i18n/captions.h"
#include "image/memory_image.h"
#include "link/parmrk_decoder.h"
#include "link/protocol_engine.h"

namespace quelro {

inline constexpr int kProgressMaximum = 460;
inline constexpr int kWatchdogTicks = 6; // of the watchdog's 500 ms
inline constexpr int kEndTicks = 15;     // of the blink's 300 ms
inline constexpr int kEntryRepeats = 3;  // entry frames sent again, one a tick
inline constexpr int kWatchdogIntervalMs = 500;
inline constexpr int kBlinkIntervalMs = 300;

// The main window's side of a transfer.
class TransferView {
  public:
    virtual ~TransferView() = default;
    // The language the view shows its texts in.
    virtual int Language() const = 0;
    // Toolbar1, the menu mnupro and toolbar buttons 5 and 6 disabled (true)
    // or enabled again (false).
    virtual void SetTransferLocked(bool locked) = 0;
    // Enables the band frame and puts the keyboard focus on the band list, so that a cell
    // edit still open commits before the image is built.
    virtual void FocusBandSelector() = 0;
    // The status label: its text (UTF-8, already in the view's language),
    // a blink step, and hidden.
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void ToggleStatusVisible() = 0;
    virtual void HideStatus() = 0;
    // ProgressBar1: shown with range 0..maximum at 0, moved, hidden.
    virtual void ShowProgress(int maximum) = 0;
    virtual void SetProgress(int value) = 0;
    virtual void HideProgress() = 0;
    // A message box in the view's language; the button it was answered with.
    virtual BoxAnswer ShowMessage(const Message& message) = 0;
    // A transfer failed (see FailureText); the window is still locked.
    virtual void ShowFailure(const TransferFailure& failure) = 0;
    // A read finished: `readImage` holds radio memory 0x0010-0x040F as 2048
    // hex characters (its first 1696 are the MemoryImage). The window decodes
    // it, sets BandIndex = radioBand and then selects radioBand in the band list
    // (so the band-change question stays silent).
    virtual void ReadCompleted(const std::string& readImage, int radioBand) = 0;
    virtual void WriteCompleted() = 0;
    // The copy of a read could not be kept; the read itself succeeded.
    virtual void ShowBackupWarning(const std::string& text) = 0;
};

// The port, the two timers and the backups.
class TransferLine {
  public:
    virtual ~TransferLine() = default;
    virtual bool PortOpen() = 0;
    // Drops whatever the line holds that was received before now.
    virtual void DiscardInput() = 0;
    virtual void Send(std::string_view bytes) = 0;
    // The watchdog tick and the blink (and end display) tick.
    virtual void StartTimers() = 0;
    virtual void StopWatchdog() = 0;
    virtual void StopBlink() = 0;
    // Keeps a copy of a successful read; the reason when it could not.
    virtual std::optional<std::string> KeepBackup(const std::string& readImage) = 0;
};

class TransferControl : private ProtocolEngine::Hooks {
  public:
    using Encoder = std::function<std::string(const ProgramState&)>;

    enum class Phase { Idle, Handshake, Reading, Writing, EndDisplay };

    // `state` gives ServiceMode and BandSelection (the band
    // list's position, read on every acknowledge of a write) and is what `encoder`
    // turns into the image to write.
    TransferControl(TransferView& view, TransferLine& line, ProgramState& state,
                    Encoder encoder = EncodeImage);

    // The commands. A transfer starts only from Idle (the window is locked
    // until then anyway).
    void ReadRadio() { Start(TransferMode::Read); }
    void WriteRadio() { Start(TransferMode::Write); }

    // The program ends while a transfer runs: the timers stop and End
    // releases the radio. Nothing happens when no dialogue is under way.
    void Abandon();

    void OnBytes(std::string_view bytes);
    void OnBreak();
    // The device went away: a dialogue under way ends at once, without End.
    void OnLineLost();
    void OnWatchdogTick();
    void OnBlinkTick();

    Phase CurrentPhase() const { return phase_; }
    const ProtocolEngine& Engine() const { return engine_; }
    int Progress() const { return progress_; }
    int WatchdogTicks() const { return watchdogTicks_; }

  private:
    void Start(TransferMode mode);
    void Deliver(SerialEvent event);
    // Runs one step with re-entrant serial events held back until it is done.
    template <typename Step> void Guarded(Step&& step);
    void BeginEndDisplay();
    void EndLost();
    std::string Text(const Caption& caption) const;

    // ProtocolEngine::Hooks
    void Send(std::string_view bytes) override { line_.Send(bytes); }
    void ResetWatchdog() override { watchdogTicks_ = 0; }
    void ProgressStart() override;
    void ProgressStep() override;
    bool BandCheck() override;
    void ReadComplete() override;
    void WriteComplete() override;
    std::string EncodeWriteImage() override { return encoder_(state_); }
    bool ServiceMode() override { return state_.ServiceMode != 0; }

    TransferView& view_;
    TransferLine& line_;
    ProgramState& state_;
    Encoder encoder_;
    ProtocolEngine engine_;

    Phase phase_ = Phase::Idle;
    int progress_ = 0;
    int watchdogTicks_ = 0;
    bool endShown_ = false;
    int endTicks_ = 0;

    int depth_ = 0;
    std::deque<SerialEvent> deferred_;
    bool lostPending_ = false;
};

} // namespace quelro
