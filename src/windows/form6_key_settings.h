// Form6, the key-setting window: the functions of the radio's two
// programmable side keys PF1 and PF2 (SideKeyFunction).
#pragma once

#include "windows/aux_window.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace quelro {

class RadioPicture;

class Form6 : public AuxWindow {
    Q_OBJECT

  public:
    static constexpr int kFunctions = 12;
    static constexpr int kOff = 1; // list position of "OFF"

    Form6(ProgramState& state, QWidget* owner);

    void ApplyLanguage(int languageMode) override;

    // Shows the stored function of key 0 (PF1) or 1 (PF2), as loading and
    // decoding do; a value outside the list shows "OFF".
    void ShowKey(int key);

  private:
    void Command1_Click();

    QLabel* Label1;
    QLabel* Label2;
    QComboBox* Combo1;
    QComboBox* Combo2;
    RadioPicture* Image1;
    QPushButton* Command1;
    QPushButton* Command2;
};

} // namespace quelro
