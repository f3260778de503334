// The cloning run as a state machine of ticks, answers and transfer outcomes.
#include "link/clone_control.h"

#include "link/protocol_engine.h"

namespace quelro {

const char* CloneResultWord(CloneResult result) {
    switch (result) {
    case CloneResult::Ok:
        return "ok";
    case CloneResult::VerifyFailed:
        return "verify-failed";
    case CloneResult::SkippedBand:
        return "skipped-band";
    case CloneResult::Failed:
        break;
    }
    return "failed";
}

const Caption& InstructionText(CloneInstruction instruction) {
    return instruction == CloneInstruction::ConnectFirst ? clone_text::kConnectFirst
                                                         : clone_text::kConnectNext;
}

std::optional<int> FirstWrittenDifference(const std::string& written, const std::string& read,
                                          bool serviceMode) {
    for (int block : WritePlan(serviceMode))
        for (int i = 0; i < kWriteBlockBytes; ++i) {
            const auto at = static_cast<std::size_t>(2 * (block - kFirstBlockAddress + i));
            // An image too short to hold the byte differs there.
            if (at + 2 > written.size() || at + 2 > read.size() ||
                written.compare(at, 2, read, at, 2) != 0)
                return block + i;
        }
    return std::nullopt;
}

void CloneControl::Start() {
    if (phase_ != Phase::Idle) return;
    phase_ = Phase::WaitNew;
    actions_.Instruct(CloneInstruction::ConnectFirst);
    Probe();
}

void CloneControl::Probe() {
    probeOut_ = true;
    actions_.SendEntry();
}

void CloneControl::Stop() {
    switch (phase_) {
    case Phase::Writing:
    case Phase::Verifying:
        stopRequested_ = true;
        return;
    case Phase::WaitNew:
    case Phase::WaitGone:
        // A radio that answers the last entry frame after all is not left in
        // programming mode.
        if (probeOut_) actions_.SendEnd();
        Finish();
        return;
    case Phase::Idle:
        phase_ = Phase::Over;
        return;
    case Phase::Over:
        return;
    }
}

void CloneControl::OnTick() {
    if (phase_ != Phase::WaitNew && phase_ != Phase::WaitGone) return;
    if (probeOut_) {
        // Unanswered: whatever was connected has gone; the next radio to
        // answer is a new one.
        probeOut_ = false;
        phase_ = Phase::WaitNew;
    }
    Probe();
}

void CloneControl::OnEntryAnswered() {
    if (!probeOut_ || (phase_ != Phase::WaitNew && phase_ != Phase::WaitGone)) return;
    probeOut_ = false;
    // The radio is released from the probe's session either way; a new one
    // is then written by an ordinary write, which starts its own.
    actions_.SendEnd();
    if (phase_ == Phase::WaitGone) return;
    ++number_;
    radioBand_ = -1;
    writtenImage_.clear();
    phase_ = Phase::Writing;
    actions_.StartWrite(number_);
}

void CloneControl::OnWriteFinished(CloneTransferOutcome outcome, int radioBand,
                                   const std::string& writtenImage) {
    if (phase_ != Phase::Writing) return;
    radioBand_ = radioBand;
    switch (outcome) {
    case CloneTransferOutcome::Done:
        ++summary_.written;
        writtenImage_ = writtenImage;
        if (!options_.verify) {
            Record(CloneResult::Ok);
            return;
        }
        phase_ = Phase::Verifying;
        actions_.StartRead();
        return;
    case CloneTransferOutcome::Refused:
        Record(CloneResult::SkippedBand);
        return;
    case CloneTransferOutcome::Interrupted:
        stopRequested_ = true;
        Record(CloneResult::Failed);
        return;
    case CloneTransferOutcome::Failed:
        Record(CloneResult::Failed);
        return;
    }
}

void CloneControl::OnReadFinished(CloneTransferOutcome outcome, const std::string& readImage) {
    if (phase_ != Phase::Verifying) return;
    if (outcome == CloneTransferOutcome::Interrupted) stopRequested_ = true;
    if (outcome != CloneTransferOutcome::Done) {
        Record(CloneResult::Failed);
        return;
    }
    if (auto at = FirstWrittenDifference(writtenImage_, readImage, options_.serviceMode)) {
        Record(CloneResult::VerifyFailed, at);
        return;
    }
    ++summary_.verified;
    Record(CloneResult::Ok);
}

void CloneControl::Record(CloneResult result, std::optional<int> difference) {
    if (result == CloneResult::Failed || result == CloneResult::VerifyFailed) ++summary_.failed;
    if (result == CloneResult::SkippedBand) ++summary_.skipped;
    actions_.RadioDone({number_, result, radioBand_, difference});
    if (stopRequested_ || (options_.count > 0 && number_ >= options_.count)) {
        Finish();
        return;
    }
    phase_ = Phase::WaitGone;
    actions_.Instruct(CloneInstruction::ConnectNext);
}

void CloneControl::Finish() {
    probeOut_ = false;
    phase_ = Phase::Over;
    actions_.Finished(summary_);
}

} // namespace quelro
