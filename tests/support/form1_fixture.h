// Helpers of the main-window tests: a private configuration folder with its
// `parameter` file and a started Form1 with real mouse and key input on its grid.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <vector>

#include "app/form1.h"
#include "support/box_script.h"

namespace quelro::test {

// Points XDG_CONFIG_HOME at a fresh temporary folder for its lifetime.
class ConfigFolder {
  public:
    ConfigFolder();
    ~ConfigFolder();
    ConfigFolder(const ConfigFolder&) = delete;
    ConfigFolder& operator=(const ConfigFolder&) = delete;

    QString ParameterPath() const;
    void WriteParameter(const QByteArray& bytes) const;
    // The file's bytes; empty when it does not exist.
    QByteArray ReadParameter() const;
    QString FilePath(const QString& name) const { return dir_.filePath(name); }

  private:
    QTemporaryDir dir_;
    QByteArray previous_;
    bool hadPrevious_;
};

// A Form1 over its own state, started, shown and active.
struct StartedForm {
    ProgramState state = ProgramState::StartUp();
    std::unique_ptr<Form1> form;
};
// `prepare` runs before Form_Load (to set hooks or register windows).
std::unique_ptr<StartedForm> StartForm(const std::function<void(Form1&)>& prepare = {});

// Real input on the grid: a left press (and release) on a cell.
void PressCell(Form1& form, int row, int column);
// Key clicks to whichever widget has the keyboard focus; characters beyond
// Latin-1 (full-width digits) arrive as keys carrying that text.
void TypeText(const QString& text);
// Text committed by an input method to the focused widget.
void CommitInput(const QString& text);
void PressKey(Qt::Key key);
// Key clicks from a list such as "F2;1;Shift+Down;Escape", each to whichever
// widget has the focus at that moment: a single character is typed, anything
// else is a key with its modifiers as QKeySequence names it.
void PressKeys(const QString& keys);
// Picks entry `position` of the open drop-down list of `combo` with the keys.
void PickFromOpenList(QComboBox* combo, int position);

} // namespace quelro::test
