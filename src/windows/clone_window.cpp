// The clone window's controls and texts.
#include "windows/clone_window.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "channels/announcement_qt.h"
#include "windows/accessible_names.h"

namespace quelro {

namespace {

constexpr Caption kTitle{"批量写频", "Clone to several radios"};
constexpr Caption kStart{"开始", "Start"};
constexpr Caption kStop{"停止", "Stop"};
constexpr Caption kLogName{"批量写频记录", "Clone log"};
constexpr Caption kCounts{"已写: %1   失败: %2   跳过: %3",
                          "Written: %1   failed: %2   skipped: %3"};
constexpr Caption kRadioLine{"第 %1 台: %2 (%3 秒)", "Radio %1: %2 (%3 s)"};
constexpr Caption kDifferenceAt{"%1，首个不同地址 %2", "%1 at %2"};
constexpr Caption kSummary{"结束: 已写 %1, 已校验 %2, 失败 %3, 跳过 %4",
                           "Done: written %1, verified %2, failed %3, skipped %4"};
constexpr Caption kResultOk{"成功", "ok"};
constexpr Caption kResultVerifyFailed{"校验失败", "verify failed"};
constexpr Caption kResultFailed{"失败", "failed"};
constexpr Caption kResultSkipped{"频段不符，未写", "other band, not written"};

const Caption& ResultCaption(CloneResult result) {
    switch (result) {
    case CloneResult::Ok:
        return kResultOk;
    case CloneResult::VerifyFailed:
        return kResultVerifyFailed;
    case CloneResult::SkippedBand:
        return kResultSkipped;
    case CloneResult::Failed:
        break;
    }
    return kResultFailed;
}

// Tenths of a second as "12.3", the same in every locale.
QString Seconds(qint64 ms) {
    const qint64 tenths = (ms + 50) / 100;
    return QString::number(tenths / 10) + '.' + QString::number(tenths % 10);
}

} // namespace

CloneWindow::CloneWindow(ProgramState& state, const int& language, QWidget* owner)
    : AuxWindow(state, owner, "frmClone"), language_(language) {
    instruction_ = NewLabel("", "Label1");
    instruction_->setWordWrap(true);
    counts_ = NewLabel("", "Label2");
    log_ = new QListWidget;
    log_->setObjectName("List1");
    start_ = NewButton(kStart, "Command1");
    stop_ = NewButton(kStop, "Command2");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(instruction_);
    layout->addWidget(counts_);
    layout->addWidget(log_, 1);
    layout->addLayout(NewButtonRow({start_, stop_}));
    resize(420, 360);
    connect(start_, &QPushButton::clicked, this, &CloneWindow::StartClicked);
    connect(stop_, &QPushButton::clicked, this, &CloneWindow::StopClicked);
    SetRunning(false);
    ShowCounts();
}

QString CloneWindow::Text(const Caption& caption) const {
    return QString::fromStdString(Localize(caption, language_));
}

void CloneWindow::ApplyLanguage(int languageMode) {
    SetCaption(this, kTitle, languageMode);
    SetCaption(start_, kStart, languageMode);
    SetCaption(stop_, kStop, languageMode);
    SetAccessibleName(log_, kLogName, languageMode);
    // The counts are a text of their own, built in the language shown.
    if (languageMode == kSimplified || languageMode == kEnglish) ShowCounts();
}

void CloneWindow::SetRunning(bool running) {
    if (running) {
        counted_ = {};
        log_->clear();
        ShowCounts();
    }
    start_->setEnabled(!running);
    stop_->setEnabled(running);
}

void CloneWindow::ShowInstruction(CloneInstruction instruction) {
    const QString text = Text(InstructionText(instruction));
    // The user's hands are on the radios, not the screen: each new
    // instruction, each radio's line and the summary are spoken.
    if (text != instruction_->text()) Announce(instruction_, text);
    instruction_->setText(text);
}

void CloneWindow::ShowRadio(const CloneRecord& record, qint64 elapsedMs,
                            const CloneSummary& soFar) {
    counted_ = soFar;
    QString result = Text(ResultCaption(record.result));
    if (record.firstDifference)
        result = Text(kDifferenceAt)
                     .arg(result, "0x" + QString::number(*record.firstDifference, 16)
                                             .toUpper()
                                             .rightJustified(4, QLatin1Char('0')));
    const QString line =
        Text(kRadioLine).arg(QString::number(record.number), result, Seconds(elapsedMs));
    AddLine(line);
    ShowCounts();
    Announce(log_, line + " " + counts_->text());
}

void CloneWindow::AddLine(const QString& line) {
    log_->addItem(line);
    log_->scrollToBottom();
}

void CloneWindow::ShowSummary(const CloneSummary& s) {
    const QString summary =
        Text(kSummary).arg(s.written).arg(s.verified).arg(s.failed).arg(s.skipped);
    AddLine(summary);
    Announce(log_, summary);
    instruction_->clear();
}

void CloneWindow::ShowCounts() {
    counts_->setText(
        Text(kCounts).arg(counted_.written).arg(counted_.failed).arg(counted_.skipped));
}

QString CloneWindow::CountText() const {
    return counts_->text();
}

QString CloneWindow::InstructionShown() const {
    return instruction_->text();
}

} // namespace quelro
