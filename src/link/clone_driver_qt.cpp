// The cloning run on Qt timers and the serial link.
#include "link/clone_driver_qt.h"

#include "i18n/captions_link.h"
#include "link/link_failure.h"

namespace quelro {

CloneDriver::CloneDriver(SerialLink& link, ProgramState& writeState, CloneOptions options,
                         CloneReport& report, TransferView* display, QObject* parent)
    : QObject(parent), link_(link), writeState_(writeState), readState_(ProgramState::StartUp()),
      report_(report), display_(display), control_(*this, options) {
    connect(&link_, &SerialLink::BytesReceived, this, [this](const QByteArray& bytes) {
        // Between transfers only the answer to an entry frame matters; an
        // echo or noise around it does not hide the 06.
        if (!transfer_ && control_.ProbeOutstanding() && bytes.contains(kAck))
            control_.OnEntryAnswered();
    });
    // A pulled cable or adapter: nothing more can be written, and the radio
    // on the line counts as failed.
    connect(&link_, &SerialLink::Lost, this, [this] {
        if (!Running()) return;
        lineLost_ = true;
        report_.TransferMessage(Localize(clone_text::kLineLost, Language()));
        Interrupt();
    });
    tick_.setInterval(kCloneTickMs);
    connect(&tick_, &QTimer::timeout, this, [this] {
        if (!transfer_) control_.OnTick();
    });
    tick_.start();
}

CloneDriver::~CloneDriver() {
    if (transfer_) transfer_->Abandon();
}

bool CloneDriver::Running() const {
    const CloneControl::Phase phase = control_.CurrentPhase();
    return phase != CloneControl::Phase::Idle && phase != CloneControl::Phase::Over;
}

bool CloneDriver::Interrupt() {
    const bool ended = transfer_ && !outcome_;
    if (ended) {
        transfer_->Abandon();
        Finish(CloneTransferOutcome::Interrupted);
    }
    control_.Stop();
    return ended;
}

void CloneDriver::StartWrite(int number) {
    number_ = number;
    started_ = QDateTime::currentDateTimeUtc();
    clock_.start();
    Begin(Kind::Write);
}

void CloneDriver::Begin(Kind kind) {
    kind_ = kind;
    outcome_.reset();
    if (kind == Kind::Write) radioBand_ = -1;
    readState_ = ProgramState::StartUp();
    TransferView& view = *this;
    transfer_ = std::make_unique<TransferDriver>(link_, view,
                                                 kind == Kind::Write ? writeState_ : readState_);
    if (kind == Kind::Read) transfer_->SetReadBack();
    // Started from the event loop: the answer that led here is still being
    // delivered, and must not reach the new transfer.
    QTimer::singleShot(0, this, [this] {
        if (!transfer_ || outcome_) return;
        kind_ == Kind::Write ? transfer_->WriteRadio() : transfer_->ReadRadio();
    });
}

void CloneDriver::Finish(CloneTransferOutcome outcome) {
    if (outcome_) return;
    outcome_ = outcome;
    // However the write ended (a failure, a pulled cable, Ctrl+C), a radio
    // that took part of it is named.
    if (kind_ == Kind::Write && outcome != CloneTransferOutcome::Done && transfer_ &&
        transfer_->Control().Engine().HalfWritten())
        report_.TransferMessage(
            LocalizeFilled(clone_text::kHalfWritten, Language(), {std::to_string(number_)}));
    // The transfer driver goes once its own step is over.
    QTimer::singleShot(0, this, [this] {
        const std::string written =
            transfer_ ? transfer_->Control().Engine().WriteImage() : std::string();
        transfer_.reset();
        if (display_) {
            display_->HideProgress();
            display_->HideStatus();
        }
        link_.Flush(1000);
        if (kind_ == Kind::Write)
            control_.OnWriteFinished(*outcome_, radioBand_, written);
        else
            control_.OnReadFinished(*outcome_, readImage_);
    });
}

void CloneDriver::RadioDone(const CloneRecord& record) {
    report_.RadioDone(record, started_, clock_.isValid() ? clock_.elapsed() : 0);
}

void CloneDriver::Finished(const CloneSummary& summary) {
    tick_.stop();
    report_.Finished(summary);
}

void CloneDriver::SetStatusText(const std::string& text) {
    if (display_) display_->SetStatusText(text);
}
void CloneDriver::ToggleStatusVisible() {
    if (display_) display_->ToggleStatusVisible();
}
void CloneDriver::HideStatus() {
    if (display_) display_->HideStatus();
}

// The handshake is over: the engine holds the band the radio told, before a
// band question replaces it with the file's.
void CloneDriver::ShowProgress(int maximum) {
    if (kind_ == Kind::Write && transfer_) radioBand_ = transfer_->Control().Engine().RadioBand();
    if (display_) display_->ShowProgress(maximum);
}
void CloneDriver::SetProgress(int value) {
    if (display_) display_->SetProgress(value);
}
void CloneDriver::HideProgress() {
    if (display_) display_->HideProgress();
}

BoxAnswer CloneDriver::ShowMessage(const Message& message) {
    if (message.text.en == msg::kBandMismatch.text.en) {
        if (control_.OnBandMismatch()) return BoxAnswer::kYes;
        Finish(CloneTransferOutcome::Refused);
        return BoxAnswer::kNo;
    }
    report_.TransferMessage(Localize(message.text, Language()));
    Finish(CloneTransferOutcome::Failed);
    return BoxAnswer::kOk;
}

void CloneDriver::ShowFailure(const TransferFailure& failure) {
    if (failure.kind == FailureKind::Refused) {
        Finish(CloneTransferOutcome::Refused);
        return;
    }
    // Finish names the radio when it is half written.
    TransferFailure what = failure;
    what.halfWritten = false;
    report_.TransferMessage(FailureText(what, Language()));
    Finish(CloneTransferOutcome::Failed);
}

void CloneDriver::ReadCompleted(const std::string& image, int) {
    readImage_ = image;
    Finish(CloneTransferOutcome::Done);
}

void CloneDriver::ShowBackupWarning(const std::string& text) {
    report_.TransferMessage(text);
}

} // namespace quelro
