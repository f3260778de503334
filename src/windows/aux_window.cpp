// Shared behaviour of the auxiliary windows: hide on close, modeless showing,
// Enter and Escape, the focus given back, and the writers of caption-table rows.
#include "windows/aux_window.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

#include <algorithm>

#include "windows/accessible_names.h"

namespace quelro {
namespace {

// Whether `widget` lies in a table: a cell's editor.
bool InCellEditor(const QWidget* widget) {
    for (widget = widget != nullptr ? widget->parentWidget() : nullptr;
         widget != nullptr && !widget->isWindow(); widget = widget->parentWidget())
        if (qobject_cast<const QAbstractItemView*>(widget)) return true;
    return false;
}

} // namespace

AuxWindow::AuxWindow(ProgramState& state, QWidget* owner, const char* objectName)
    : QWidget(owner, Qt::Window), state_(state) {
    setObjectName(QString::fromLatin1(objectName));
    InstallAccessibleInterfaces();
    // A shortcut rather than a key handler: a table or a list keeps no
    // Escape for itself, while an open cell editor or drop-down list still
    // takes its own Escape first.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (cancel_ != nullptr)
            cancel_->click();
        else
            close();
    });
}

void AuxWindow::SetDialogButtons(QPushButton* ok, QPushButton* cancel) {
    ok_ = ok;
    cancel_ = cancel;
}

void AuxWindow::ShowModeless() {
    QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && focus->window() != this) returnFocus_ = focus;
    if (!placed_) PlaceOverOwner();
    show();
    raise();
    activateWindow();
}

void AuxWindow::PlaceOverOwner() {
    QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    if (owner == nullptr || !owner->isVisible()) return;
    placed_ = true;
    // Centred over the owner and kept on its screen; afterwards the window
    // stays where the user leaves it.
    ensurePolished();
    if (!testAttribute(Qt::WA_Resized)) adjustSize();
    const QRect room = owner->screen()->availableGeometry();
    QRect frame(QPoint(), size());
    frame.moveCenter(owner->frameGeometry().center());
    frame.moveLeft(std::max(room.left(), std::min(frame.left(), room.right() - frame.width())));
    frame.moveTop(std::max(room.top(), std::min(frame.top(), room.bottom() - frame.height())));
    move(frame.topLeft());
}

void AuxWindow::closeEvent(QCloseEvent* event) {
    // The window lives until the program ends; the next opening finds the
    // controls as the user left them.
    event->ignore();
    hide();
}

void AuxWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Only a window the user was in hands the focus back (hiding it has
    // already left no window active); one hidden while another window is
    // active, as at the program's end, or minimised by the system leaves the
    // focus where it is.
    const QWidget* active = QApplication::activeWindow();
    const bool wasActive = active == nullptr || active == this;
    if (event->spontaneous() || !wasActive || returnFocus_ == nullptr) return;
    if (!returnFocus_->isVisible() || !returnFocus_->isEnabled()) return;
    returnFocus_->window()->activateWindow();
    returnFocus_->setFocus(Qt::OtherFocusReason);
}

void AuxWindow::keyPressEvent(QKeyEvent* event) {
    // What reaches the window is what its controls left: Enter in a text box,
    // on a list or a check box.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    QWidget* focus = focusWidget();
    if (auto* button = qobject_cast<QPushButton*>(focus);
        button != nullptr && isAncestorOf(button)) {
        button->click();
    } else if (ok_ != nullptr && !InCellEditor(focus)) {
        if (ok_->isEnabled()) ok_->click();
    } else {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
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
