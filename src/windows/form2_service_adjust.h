// Form2, the service adjust window: the radio's two transmit power levels
// (TxPowerHigh, TxPowerLow), adjustable only while the service functions are
// unlocked.
#pragma once

#include "windows/aux_window.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;

namespace quelro {

class Form2 : public AuxWindow {
    Q_OBJECT

  public:
    Form2(ProgramState& state, QWidget* owner);

    void ApplyLanguage(int languageMode) override;

    // Enables or disables both sliders (the service functions' lock).
    void SetSlidersEnabled(bool enabled);
    // Shows the stored high (Slider1) or low (Slider3) level with its value
    // label, as loading and decoding do.
    void ShowHighLevel();
    void ShowLowLevel();

  private:
    void Command1_Click();

    QGroupBox* Frame1;
    QGroupBox* Frame2;
    QSlider* Slider1;
    QSlider* Slider3;
    QLabel* Lblpower1;
    QLabel* Lblpower3;
    QLabel* Label3;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QPushButton* Command1;
};

} // namespace quelro
