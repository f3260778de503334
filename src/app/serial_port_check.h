// Help -> "Serial port check": an item of the main window's Help menu that
// runs the serial port check (link/system_check) and shows its findings in
// one box, one line each, in the current language.
#pragma once

#include <QObject>

#include "i18n/language_window_qt.h"
#include "link/system_paths.h"

class QAction;

namespace quelro {

class Form1;

class SerialPortCheck : public QObject, public LanguagePart {
    Q_OBJECT

  public:
    // Adds the item to the Help menu of `form`, which owns the check, and
    // joins its language machinery. `paths`: where the system is read.
    explicit SerialPortCheck(Form1& form, SystemPaths paths = SystemPaths::FromEnvironment());

    QAction* Action() const { return action_; }
    // Runs the check and shows the box.
    void Show();

    // LanguagePart: only the item's caption.
    void ApplyLanguage(int languageMode) override;
    void Translate() override;

  private:
    Form1& form_;
    SystemPaths paths_;
    QAction* action_;
};

} // namespace quelro
