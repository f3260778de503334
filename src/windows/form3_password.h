// Form3, the password window: an access code that unlocks the service
// functions. No command of the program opens it; the hidden gesture of the
// optional-function window is the way in.
#pragma once

#include "windows/aux_window.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quelro {

class Form3 : public AuxWindow {
    Q_OBJECT

  public:
    // `language` is the owner's: the language of the window's messages.
    Form3(ProgramState& state, const int& language, QWidget* owner);

    void ApplyLanguage(int languageMode) override;

  signals:
    // The right code was entered: ServiceMode is 1, the sliders are to follow.
    void Unlocked();

  private:
    void Command1_Click();

    QLabel* Label1;
    QLineEdit* Text1;
    QPushButton* Command1;
    const int& language_;
};

} // namespace quelro
