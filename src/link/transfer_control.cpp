// The read and write transfers as a state machine of events and ticks.
#include "link/transfer_control.h"

#include "link/read_backup.h"

namespace quelro {

TransferControl::TransferControl(TransferView& view, TransferLine& line, ProgramState& state,
                                 Encoder encoder)
    : view_(view), line_(line), state_(state), encoder_(std::move(encoder)), engine_(*this) {}

std::string TransferControl::Text(const Caption& caption) const {
    return Localize(caption, view_.Language());
}

template <typename Step> void TransferControl::Guarded(Step&& step) {
    ++depth_;
    step();
    if (depth_ == 1) {
        while (!deferred_.empty() || lostPending_) {
            if (deferred_.empty()) {
                lostPending_ = false;
                EndLost();
                continue;
            }
            SerialEvent event = std::move(deferred_.front());
            deferred_.pop_front();
            if (event.kind == SerialEvent::Break)
                engine_.OnBreak();
            else
                engine_.OnData(event.bytes);
        }
    }
    --depth_;
}

void TransferControl::Deliver(SerialEvent event) {
    deferred_.push_back(std::move(event));
    if (depth_ == 0) Guarded([] {});
}

void TransferControl::OnBytes(std::string_view bytes) {
    Deliver({SerialEvent::Data, std::string(bytes)});
}

void TransferControl::OnBreak() {
    Deliver({SerialEvent::Break, {}});
}

void TransferControl::OnLineLost() {
    // After what arrived before it.
    lostPending_ = true;
    if (depth_ == 0) Guarded([] {});
}

void TransferControl::EndLost() {
    if (phase_ != Phase::Handshake && phase_ != Phase::Reading && phase_ != Phase::Writing) return;
    line_.StopWatchdog();
    line_.StopBlink();
    engine_.ClearRx();
    engine_.SetOver(true);
    view_.HideStatus();
    view_.HideProgress();
    view_.ShowFailure({FailureKind::CableLost, {}, engine_.HalfWritten()});
    view_.SetTransferLocked(false);
    watchdogTicks_ = 0;
    phase_ = Phase::Idle;
}

void TransferControl::Start(TransferMode mode) {
    if (phase_ != Phase::Idle) return;
    Guarded([&] {
        if (!line_.PortOpen()) {
            view_.ShowMessage(msg::kNoPort);
            return;
        }
        engine_.SetOver(false);
        view_.SetTransferLocked(true);
        engine_.Begin(mode);
        watchdogTicks_ = 0;
        phase_ = Phase::Handshake;
        view_.FocusBandSelector();
        // Leftovers of the line from before this transfer are no reply.
        line_.DiscardInput();
        engine_.SendEntry();
        view_.SetStatusText(Text(status::kCommunicating));
        line_.StartTimers();
    });
}

void TransferControl::Abandon() {
    if (phase_ != Phase::Handshake && phase_ != Phase::Reading && phase_ != Phase::Writing) return;
    line_.StopWatchdog();
    line_.StopBlink();
    engine_.SetOver(true);
    engine_.SendEnd();
    phase_ = Phase::Idle;
}

void TransferControl::ProgressStart() {
    phase_ = engine_.Mode() == TransferMode::Read ? Phase::Reading : Phase::Writing;
    progress_ = 0;
    view_.ShowProgress(kProgressMaximum);
}

void TransferControl::ProgressStep() {
    if (engine_.Mode() == TransferMode::Write) {
        if (progress_ < kProgressMaximum) progress_ += 10;
    } else if (progress_ < kProgressMaximum - 10) {
        progress_ += 25;
    }
    view_.SetProgress(progress_);
}

void TransferControl::BeginEndDisplay() {
    endShown_ = true;
    phase_ = Phase::EndDisplay;
}

bool TransferControl::BandCheck() {
    if (engine_.RadioBand() == state_.BandSelection) return true;
    engine_.SetRadioBand(state_.BandSelection);
    // Only an explicit Yes goes on writing.
    if (view_.ShowMessage(msg::kBandMismatch) == BoxAnswer::kYes) return true;
    view_.HideProgress();
    view_.SetStatusText(Text(msg::kBandMismatch.text));
    line_.StopWatchdog();
    BeginEndDisplay();
    engine_.SetOver(true);
    engine_.SendEnd();
    if (engine_.HalfWritten()) view_.ShowFailure({FailureKind::Refused, {}, true});
    return false;
}

void TransferControl::ReadComplete() {
    const std::string& image = engine_.ReadImage();
    if (auto reason = line_.KeepBackup(image))
        view_.ShowBackupWarning(Text(kBackupFailed) + *reason);
    view_.ReadCompleted(image, engine_.RadioBand());
    view_.SetStatusText(Text(status::kReadDone));
    BeginEndDisplay();
    line_.StopWatchdog();
    view_.HideProgress();
    engine_.SetOver(true);
    engine_.SendEnd();
}

void TransferControl::WriteComplete() {
    view_.WriteCompleted();
    view_.SetStatusText(Text(status::kWriteDone));
    BeginEndDisplay();
    line_.StopWatchdog();
    engine_.SetOver(true);
    view_.HideProgress();
    engine_.SendEnd();
}

void TransferControl::OnWatchdogTick() {
    // A box is open inside a step: the watchdog waits for the user.
    if (depth_ > 0) return;
    if (++watchdogTicks_ < kWatchdogTicks) {
        if (phase_ == Phase::Handshake && engine_.EntryUnanswered() &&
            engine_.EntriesSent() <= kEntryRepeats)
            Guarded([&] { engine_.SendEntry(); });
        return;
    }
    Guarded([&] {
        const TransferFailure failure = engine_.WatchdogFailure();
        watchdogTicks_ = 0;
        engine_.ClearRx();
        line_.StopWatchdog();
        view_.HideStatus();
        line_.StopBlink();
        // Over before the message: nothing that arrives while it is open may
        // restart the dialogue. End goes out first, so the radio is released
        // while the user reads.
        engine_.SetOver(true);
        engine_.SendEnd();
        view_.ShowFailure(failure);
        view_.SetTransferLocked(false);
        view_.HideProgress();
        phase_ = Phase::Idle;
    });
}

void TransferControl::OnBlinkTick() {
    view_.ToggleStatusVisible();
    if (endShown_) ++endTicks_;
    if (endTicks_ < kEndTicks) return;
    endTicks_ = 0;
    endShown_ = false;
    view_.HideStatus();
    line_.StopWatchdog();
    line_.StopBlink();
    view_.SetTransferLocked(false);
    phase_ = Phase::Idle;
}

} // namespace quelro
