// The auxiliary windows as one unit for the main window.
#include "windows/aux_windows.h"

#include <QWidget>

#include <optional>
#include <utility>

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

AuxWindows::AuxWindows(ProgramState& state, const int& language, QWidget* mainWindow,
                       AuxWindowHooks hooks)
    : QObject(mainWindow), state_(state), language_(language), mainWindow_(mainWindow),
      hooks_(std::move(hooks)), form2_([this] { return new Form2(state_, mainWindow_); }),
      form3_([this] {
          auto* form3 = new Form3(state_, language_, mainWindow_);
          connect(form3, &Form3::Unlocked, this, [this] { form2()->SetSlidersEnabled(true); });
          return form3;
      }),
      form4_([this] { return new Form4(state_, mainWindow_); }), form5_([this] {
          auto* form5 = new Form5(state_, language_, mainWindow_);
          connect(form5, &Form5::UnlockLabelClicked, this, &AuxWindows::UnlockLabelClicked);
          return form5;
      }),
      form6_([this] { return new Form6(state_, mainWindow_); }),
      form7_([this] { return new Form7(state_, mainWindow_); }),
      about_([this] { return new frmAbout(state_, mainWindow_, hooks_.openUrl); }) {
    if (!hooks_.clock) hooks_.clock = SteadySeconds;
}

void AuxWindows::CreateAll() {
    for (LanguageWindow* window : LanguageWindows()) window->Window();
}

std::array<LanguageWindow*, AuxWindows::kWindowCount> AuxWindows::LanguageWindows() {
    return {&form2_, &form3_, &form4_, &form5_, &form6_, &form7_, &about_};
}

void AuxWindows::ShowServiceAdjust() {
    form2()->ShowModeless();
}
void AuxWindows::ShowTestFrequencies() {
    form4()->ShowModeless();
}
void AuxWindows::ShowOptionalFunctions() {
    form5()->ShowModeless();
}
void AuxWindows::ShowKeySettings() {
    form6()->ShowModeless();
}
void AuxWindows::ShowEmbeddedInfo() {
    form7()->ShowModeless();
}
void AuxWindows::ShowAbout() {
    about()->ShowModeless();
}

void AuxWindows::OpenHelp() {
    OpenManual(language_, hooks_.openUrl);
}

void AuxWindows::ShowDecoded(const std::vector<DecodeStep>& steps) {
    // A window not built yet loads the decoded store when it is built, with
    // the checks of its loading; the steps reach only the windows there are.
    for (const DecodeStep& step : steps) {
        if (const auto field = Form5FieldOf(step.kind)) {
            form5_.IfCreated([field](Form5& form) { form.ShowField(*field); });
            continue;
        }
        switch (step.kind) {
        case DecodeStep::SideKeyPF1:
            form6_.IfCreated([](Form6& form) { form.ShowKey(0); });
            break;
        case DecodeStep::SideKeyPF2:
            form6_.IfCreated([](Form6& form) { form.ShowKey(1); });
            break;
        case DecodeStep::TxPowerHigh:
            form2_.IfCreated([](Form2& form) { form.ShowHighLevel(); });
            break;
        case DecodeStep::TxPowerLow:
            form2_.IfCreated([](Form2& form) { form.ShowLowLevel(); });
            break;
        case DecodeStep::TestFrequencyRow:
            form4_.IfCreated([row = step.index](Form4& form) { form.ShowRow(row); });
            break;
        case DecodeStep::EmbeddedInfoLine1:
            form7_.IfCreated([](Form7& form) { form.ShowLine(0); });
            break;
        case DecodeStep::EmbeddedInfoLine2:
            form7_.IfCreated([](Form7& form) { form.ShowLine(1); });
            break;
        default: // the band, and the steps of Form5 above
            break;
        }
    }
}

void AuxWindows::ApplyTraditionalAboutTexts(bool atStartUp) {
    about_.Run([atStartUp](frmAbout& about) { about.ApplyTraditionalTexts(atStartUp); });
}

void AuxWindows::UnlockLabelClicked(int label) {
    if (!gesture_.Click(label, hooks_.clock())) return;
    state_.ServiceMode = 1;
    form2()->SetSlidersEnabled(true);
    SetServiceExitVisible(true);
}

void AuxWindows::ServiceExitClicked() {
    if (exitTiming_.Click(hooks_.clock())) Relock();
}

void AuxWindows::Relock() {
    gesture_.Clear();
    form2()->SetSlidersEnabled(false);
    state_.ServiceMode = 0;
    SetServiceExitVisible(false);
}

void AuxWindows::SetServiceExitVisible(bool visible) {
    if (hooks_.setServiceExitVisible) hooks_.setServiceExitVisible(visible);
}

} // namespace quelro
