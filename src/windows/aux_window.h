// AuxWindow: what every auxiliary window shares - it is a modeless top-level
// window over the program-wide store, owned by the main window, that its close
// box only hides, so the controls keep what was typed until the next opening.
// From the keyboard Enter is its OK and Escape its Cancel, and closing it gives
// the focus back to the control that had it before it opened.
#pragma once

#include <QPointer>
#include <QWidget>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "channels/program_state.h"
#include "i18n/captions.h"
#include "i18n/language_window_qt.h"

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QPushButton;

namespace quelro {

// The two buttons most windows share.
inline constexpr Caption kOkCaption{"确定", "OK"};
inline constexpr Caption kCancelCaption{"取消", "Cancel"};

class AuxWindow : public QWidget, public LanguageWindow {
    Q_OBJECT

  public:
    AuxWindow(ProgramState& state, QWidget* owner, const char* objectName);

    QWidget* Window() override { return this; }

    // Shows the window without making it modal and brings it to the front;
    // the first time over the middle of its owner.
    void ShowModeless();

  protected:
    // The buttons Enter and Escape stand for. Enter presses `ok` unless a
    // button has the focus (Enter presses that one) or a cell's editor has it
    // (Enter ends the edit); without `ok` it does nothing else. Escape
    // presses `cancel`, or without one closes the window as its close box does.
    void SetDialogButtons(QPushButton* ok, QPushButton* cancel);

    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    ProgramState& state_;

  private:
    void PlaceOverOwner();

    bool placed_ = false;
    QPointer<QPushButton> ok_;
    QPointer<QPushButton> cancel_;
    // The control of another window that had the focus when this one opened.
    QPointer<QWidget> returnFocus_;
};

// Writers of one caption-table row: nothing happens for a language mode that
// has no column (the Traditional path converts the Simplified texts instead).
void SetCaption(QWidget* window, const Caption& caption, int languageMode);
void SetCaption(QLabel* label, const Caption& caption, int languageMode);
void SetCaption(QAbstractButton* button, const Caption& caption, int languageMode);
void SetCaption(QGroupBox* frame, const Caption& caption, int languageMode);
void SetItemCaption(QComboBox* list, int position, const Caption& caption, int languageMode);

// Controls made with their design text (the Simplified column, or plain
// ASCII) and their name.
QLabel* NewLabel(std::string_view text, const char* name);
QPushButton* NewButton(const Caption& caption, const char* name);
// The row of buttons at the bottom right of a window.
QHBoxLayout* NewButtonRow(std::initializer_list<QPushButton*> buttons);

// The width of a text in columns of a Latin character; a character outside
// Latin-1 (a Chinese one, say) counts as two.
int TextColumns(std::string_view utf8);
// Gives a list a fixed text width of `columns` (its widest entry in either
// language), so that it neither cuts an entry nor changes width with the
// language.
void FitListWidth(QComboBox* list, int columns);

// A list position kept as decimal text; one outside the list shows no selection.
void SelectPosition(QComboBox* list, int position);

QString FromUtf8(std::string_view text);

} // namespace quelro
