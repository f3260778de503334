// Shared behaviour of the auxiliary windows: hide on close, modeless showing
// and the writers of caption-table rows.
#include "windows/aux_window.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace quelro {

AuxWindow::AuxWindow(ProgramState& state, QWidget* owner, const char* objectName)
    : QWidget(owner, Qt::Window), state_(state) {
    setObjectName(QString::fromLatin1(objectName));
}

void AuxWindow::ShowModeless() {
    show();
    raise();
    activateWindow();
}

void AuxWindow::closeEvent(QCloseEvent* event) {
    // The window lives until the program ends; the next opening finds the
    // controls as the user left them.
    event->ignore();
    hide();
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void SetCaption(QWidget* window, const Caption& caption, int languageMode) {
    if (auto text = CaptionFor(caption, languageMode)) window->setWindowTitle(FromUtf8(*text));
}

void SetCaption(QLabel* label, const Caption& caption, int languageMode) {
    if (auto text = CaptionFor(caption, languageMode)) label->setText(FromUtf8(*text));
}

void SetCaption(QAbstractButton* button, const Caption& caption, int languageMode) {
    if (auto text = CaptionFor(caption, languageMode)) button->setText(FromUtf8(*text));
}

void SetCaption(QGroupBox* frame, const Caption& caption, int languageMode) {
    if (auto text = CaptionFor(caption, languageMode)) frame->setTitle(FromUtf8(*text));
}

void SetItemCaption(QComboBox* list, int position, const Caption& caption, int languageMode) {
    if (auto text = CaptionFor(caption, languageMode)) list->setItemText(position, FromUtf8(*text));
}

QLabel* NewLabel(std::string_view text, const char* name) {
    auto* label = new QLabel(FromUtf8(text));
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QPushButton* NewButton(const Caption& caption, const char* name) {
    auto* button = new QPushButton(FromUtf8(caption.zh));
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QHBoxLayout* NewButtonRow(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons) row->addWidget(button);
    return row;
}

int TextColumns(std::string_view utf8) {
    int columns = 0;
    for (QChar c : FromUtf8(utf8)) {
        if (c.isLowSurrogate()) continue;
        columns += c.unicode() <= 0xFF ? 1 : 2;
    }
    return columns;
}

void FitListWidth(QComboBox* list, int columns) {
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(columns);
}

void SelectPosition(QComboBox* list, int position) {
    list->setCurrentIndex(position >= 0 && position < list->count() ? position : -1);
}

} // namespace quelro
