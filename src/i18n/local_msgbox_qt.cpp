// LocalMsgBox on Qt: a QMessageBox shaped by a Win32 message-box style value,
// its button captions taken from our own table for the language asked for.
#include "i18n/local_msgbox_qt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <array>
#include <utility>
#include <vector>

namespace quelro {
namespace {

QPointer<QWidget> g_owner;
MessageBoxAnswerer g_answerer;

// Win32 button identifiers.
enum ButtonId : int {
    kOk = 1,
    kCancel = 2,
    kAbort = 3,
    kRetry = 4,
    kIgnore = 5,
    kYes = 6,
    kNo = 7
};
// The identifier of each BoxAnswer, in its order.
constexpr std::array<int, 4> kAnswerIds{kOk, kCancel, kYes, kNo};

struct ButtonInfo {
    int id;
    QMessageBox::StandardButton standard;
    std::array<const char*, 3> captions; // LanguageMode 0, 1, 2
};

// The captions are written out for all three languages (rather than
// converted) so that a box reads the same whether or not the conversion
// dictionaries are present.
constexpr std::array<ButtonInfo, 7> kButtons{{
    {kOk, QMessageBox::Ok, {"确定", "OK", "確定"}},
    {kCancel, QMessageBox::Cancel, {"取消", "Cancel", "取消"}},
    {kYes, QMessageBox::Yes, {"是", "Yes", "是"}},
    {kNo, QMessageBox::No, {"否", "No", "否"}},
    {kAbort, QMessageBox::Abort, {"放弃", "Abort", "放棄"}},
    {kIgnore, QMessageBox::Ignore, {"忽略", "Ignore", "忽略"}},
    {kRetry, QMessageBox::Retry, {"重试", "Retry", "重試"}},
}};

const ButtonInfo& Info(int id) {
    for (const auto& info : kButtons)
        if (info.id == id) return info;
    return kButtons[0];
}

// The buttons of the style's low four bits, in the order Win32 numbers them
// for the default-button bits.
std::vector<int> ButtonsOfStyle(int style) {
    switch (style & 0xF) {
    case 1:
        return {kOk, kCancel};
    case 2:
        return {kAbort, kRetry, kIgnore};
    case 3:
        return {kYes, kNo, kCancel};
    case 4:
        return {kYes, kNo};
    case 5:
        return {kRetry, kCancel};
    default:
        return {kOk};
    }
}

QMessageBox::Icon IconOfStyle(int style) {
    switch (style & 0xF0) {
    case 0x10:
        return QMessageBox::Critical;
    case 0x20:
        return QMessageBox::Question;
    case 0x30:
        return QMessageBox::Warning;
    case 0x40:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The button Escape (or the close box) stands for: Cancel where there is
// one, No for a Yes/No question, the only button of an OK box.
int EscapeOf(const std::vector<int>& buttons) {
    for (int id : {kCancel, kNo})
        for (int b : buttons)
            if (b == id) return id;
    return buttons.size() == 1 ? buttons.front() : buttons.back();
}

} // namespace

void SetMessageBoxOwner(QWidget* owner) {
    g_owner = owner;
}

void SetMessageBoxAnswerer(MessageBoxAnswerer answerer) {
    g_answerer = std::move(answerer);
}

int LocalMsgBox(const QString& prompt, int style, const QString& title, int languageMode,
                const QStringList& captions) {
    const QString shownTitle = title.isEmpty() ? QString::fromUtf8(kAppTitle) : title;
    if (g_answerer) return g_answerer(AskedBox{prompt, style, shownTitle});

    QMessageBox box(g_owner);
    box.setWindowTitle(shownTitle);
    box.setTextFormat(Qt::PlainText);
    box.setText(prompt);
    box.setIcon(IconOfStyle(style));
    // System-modal boxes do not exist here; every box blocks the whole
    // application, which is what the program relies on.
    box.setWindowModality(Qt::ApplicationModal);

    const std::vector<int> ids = ButtonsOfStyle(style);
    std::vector<std::pair<QPushButton*, int>> buttons;
    for (int id : ids) {
        const ButtonInfo& info = Info(id);
        QPushButton* button = box.addButton(info.standard);
        if (buttons.size() < static_cast<std::size_t>(captions.size()))
            button->setText(captions.at(static_cast<qsizetype>(buttons.size())));
        else if (languageMode >= kSimplified && languageMode <= kTraditional)
            button->setText(
                QString::fromUtf8(info.captions[static_cast<std::size_t>(languageMode)]));
        buttons.emplace_back(button, id);
    }
    // Bits 8..11 name the default button; one beyond the box's buttons falls
    // back to the first, as the system box does.
    const std::size_t defaultPos = static_cast<std::size_t>((style >> 8) & 0xF);
    box.setDefaultButton(buttons[defaultPos < buttons.size() ? defaultPos : 0].first);
    const int escapeId = EscapeOf(ids);
    for (const auto& [button, id] : buttons)
        if (id == escapeId) box.setEscapeButton(button);

    // The box is an alert: a reader says its title and then its text, once
    // (a description holding the text too would be said a second time).
    // Afterwards the control that had the focus has it again, in whichever
    // window it is.
    const QPointer<QWidget> focus = QApplication::focusWidget();
    box.exec();
    if (focus != nullptr && focus->isVisible() && focus->isEnabled()) {
        focus->window()->activateWindow();
        focus->setFocus(Qt::OtherFocusReason);
    }
    const auto* clicked = box.clickedButton();
    for (const auto& [button, id] : buttons)
        if (button == clicked) return id;
    return escapeId;
}

int Win32Style(BoxStyle style) {
    switch (style) {
    case BoxStyle::kOk:
        return 0;
    case BoxStyle::kError:
        return 16;
    case BoxStyle::kInformation:
        return 64;
    case BoxStyle::kYesNoQuestion:
        return 36;
    case BoxStyle::kYesNoInformation:
        return 68;
    case BoxStyle::kOkCancelWarning:
        return 305;
    case BoxStyle::kOkCancelQuestion:
        return 4385; // system modal too
    }
    return 0;
}

BoxAnswer AnswerOf(int buttonId) {
    for (std::size_t i = 0; i < kAnswerIds.size(); ++i)
        if (kAnswerIds[i] == buttonId) return static_cast<BoxAnswer>(i);
    return BoxAnswer::kCancel;
}

int ButtonIdOf(BoxAnswer answer) {
    return kAnswerIds.at(static_cast<std::size_t>(answer));
}

BoxAnswer ShowMessage(const Message& message, int languageMode) {
    return AnswerOf(LocalMsgBox(
        QString::fromStdString(Localize(message.text, languageMode)), Win32Style(message.style),
        QString::fromStdString(Localize(message.title, languageMode)), languageMode));
}

} // namespace quelro
