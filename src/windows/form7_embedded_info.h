// Form7, the embedded-information window: the two 32-character text lines of
// EmbeddedInfo. Each box keeps its text within what the image can hold: one
// byte per character, 32 characters.
#pragma once

#include <QLineEdit>

#include "windows/aux_window.h"

class QPushButton;

namespace quelro {

// The outcome of one edit of a limited box: the text to keep and where the
// cursor goes.
struct LimitedEdit {
    QString text;
    int cursor;
};
// Applies the field's rules to an edit that turned `before` into `after`:
// of what the edit added, characters above code 255 and control characters
// (below 0x20, and 0x7F) are dropped and the rest
// is cut so that the whole text has at most `limit` characters. Text the edit
// did not touch is kept, and removing text is always allowed.
LimitedEdit LimitEdit(const QString& before, const QString& after, int limit);

// A one-line box whose every change, typed, pasted or dropped, passes
// through LimitEdit.
class EmbeddedInfoEdit : public QLineEdit {
    Q_OBJECT

  public:
    EmbeddedInfoEdit(int limit, const char* objectName);

  private:
    void TextChanged(const QString& text);

    int limit_;
    QString accepted_;
    bool correcting_ = false;
};

class Form7 : public AuxWindow {
    Q_OBJECT

  public:
    Form7(ProgramState& state, QWidget* owner);

    void ApplyLanguage(int languageMode) override;

    // Shows stored line 0 or 1 in its box, as loading and decoding do.
    void ShowLine(int line);

  private:
    void Command1_Click();

    EmbeddedInfoEdit* Text1;
    EmbeddedInfoEdit* Text2;
    QPushButton* Command1;
    QPushButton* Command2;
};

} // namespace quelro
