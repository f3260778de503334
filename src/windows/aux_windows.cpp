// The auxiliary windows as one unit for the main window.
#include "windows/aux_windows.h"

#include <QWidget>

#include <optional>
#include <utility>

#include "windows/form2_service_adjust.h"
#include "windows/form3_password.h"
#include "windows/form4_test_frequencies.h"
#include "windows/form5_optional_functions.h"
#include "windows/form6_key_settings.h"
#include "windows/form7_embedded_info.h"
#include "windows/help_manual.h"

namespace quelro {
namespace {

// The decoder's steps that reach a control of the optional-function window.
constexpr std::array<std::pair<DecodeStep::Kind, FunctionText>, 15> kForm5Steps{{
    {DecodeStep::PttIdMode, kPttIdMode},
    {DecodeStep::CancelOperation, kCancelOperation},
    {DecodeStep::VoxRxInhibit, kVoxRxInhibit},
    {DecodeStep::VoxEnable, kVoxEnable},
    {DecodeStep::VoxGain, kVoxGain},
    {DecodeStep::VoxDelay, kVoxDelay},
    {DecodeStep::VoxTone, kVoxTone},
    {DecodeStep::Duplicate, kDuplicate},
    {DecodeStep::PriorityMode, kPriorityMode},
    {DecodeStep::PriorityChannel, kPriorityChannel},
    {DecodeStep::RetraceTimeA, kRetraceTimeA},
    {DecodeStep::RetraceTimeB, kRetraceTimeB},
    {DecodeStep::ReturnChannel, kReturnChannel},
    {DecodeStep::ScanRxResumeDelay, kScanRxResumeDelay},
    {DecodeStep::ScanTxResumeDelay, kScanTxResumeDelay},
}};

std::optional<FunctionText> Form5FieldOf(DecodeStep::Kind kind) {
    for (const auto& [step, field] : kForm5Steps)
        if (step == kind) return field;
    return std::nullopt;
}

} // namespace

AuxWindows::AuxWindows(ProgramState& state, QWidget* mainWindow, AuxWindowHooks hooks)
    : QObject(mainWindow), state_(state), mainWindow_(mainWindow), hooks_(std::move(hooks)) {
    if (!hooks_.clock) hooks_.clock = SteadySeconds;
    form2_ = new Form2(state_, mainWindow_);
    form3_ = new Form3(state_, mainWindow_);
    form4_ = new Form4(state_, mainWindow_);
    form5_ = new Form5(state_, mainWindow_);
    form6_ = new Form6(state_, mainWindow_);
    form7_ = new Form7(state_, mainWindow_);
    about_ = new frmAbout(state_, mainWindow_, hooks_.openUrl);

    connect(form5_, &Form5::UnlockLabelClicked, this, &AuxWindows::UnlockLabelClicked);
    connect(form3_, &Form3::Unlocked, this, [this] { form2_->SetSlidersEnabled(true); });
}

std::array<LanguageWindow*, AuxWindows::kWindowCount> AuxWindows::LanguageWindows() const {
    return {form2_, form3_, form4_, form5_, form6_, form7_, about_};
}

void AuxWindows::ShowServiceAdjust() {
    form2_->ShowModeless();
}
void AuxWindows::ShowTestFrequencies() {
    form4_->ShowModeless();
}
void AuxWindows::ShowOptionalFunctions() {
    form5_->ShowModeless();
}
void AuxWindows::ShowKeySettings() {
    form6_->ShowModeless();
}
void AuxWindows::ShowEmbeddedInfo() {
    form7_->ShowModeless();
}
void AuxWindows::ShowAbout() {
    about_->ShowModeless();
}

void AuxWindows::OpenHelp() {
    OpenManual(state_.LanguageMode, hooks_.openUrl);
}

void AuxWindows::ShowDecoded(const std::vector<DecodeStep>& steps) {
    for (const DecodeStep& step : steps) {
        if (const auto field = Form5FieldOf(step.kind)) {
            form5_->ShowField(*field);
            continue;
        }
        switch (step.kind) {
        case DecodeStep::SideKeyPF1:
            form6_->ShowKey(0);
            break;
        case DecodeStep::SideKeyPF2:
            form6_->ShowKey(1);
            break;
        case DecodeStep::TxPowerHigh:
            form2_->ShowHighLevel();
            break;
        case DecodeStep::TxPowerLow:
            form2_->ShowLowLevel();
            break;
        case DecodeStep::TestFrequencyRow:
            form4_->ShowRow(step.index);
            break;
        case DecodeStep::EmbeddedInfoLine1:
            form7_->ShowLine(0);
            break;
        case DecodeStep::EmbeddedInfoLine2:
            form7_->ShowLine(1);
            break;
        default: // the band, and the steps of Form5 above
            break;
        }
    }
}

void AuxWindows::ApplyTraditionalAboutTexts(bool atStartUp) {
    about_->ApplyTraditionalTexts(atStartUp);
}

void AuxWindows::UnlockLabelClicked(int label) {
    if (!gesture_.Click(label, hooks_.clock())) return;
    state_.ServiceMode = 1;
    form2_->SetSlidersEnabled(true);
    SetServiceExitVisible(true);
}

void AuxWindows::ServiceExitClicked() {
    if (exitTiming_.Click(hooks_.clock())) Relock();
}

void AuxWindows::Relock() {
    gesture_.Clear();
    form2_->SetSlidersEnabled(false);
    state_.ServiceMode = 0;
    SetServiceExitVisible(false);
}

void AuxWindows::SetServiceExitVisible(bool visible) {
    if (hooks_.setServiceExitVisible) hooks_.setServiceExitVisible(visible);
}

} // namespace quelro
