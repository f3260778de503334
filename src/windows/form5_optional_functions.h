// Form5, the optional-function window: VOX, PTT ID, duplicate and scan /
// priority settings of FunctionSettings, with the checks of the "Fixed"
// priority mode. Three of its labels are the hidden unlock gesture of the
// service functions.
#pragma once

#include <array>

#include "windows/aux_window.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace quelro {

class Form5 : public AuxWindow {
    Q_OBJECT

  public:
    // `language` is the owner's: the language of the window's messages.
    Form5(ProgramState& state, const int& language, QWidget* owner);

    void ApplyLanguage(int languageMode) override;

    // Writes the stored value of one FunctionSettings text field into its
    // control, as loading and decoding do; setting the priority mode or the
    // priority channel runs that list's change handling with its messages.
    void ShowField(FunctionText field);

    // The labels of the unlock gesture, in gesture order: Label4 ("PTT ID"),
    // Label11 ("复制" / "Duplicate") and Label18 ("返回信道" / "Return channel").
    static constexpr std::array<const char*, 3> kUnlockLabels{"Label4", "Label11", "Label18"};

  signals:
    // A click on designated label 0..2 of kUnlockLabels.
    void UnlockLabelClicked(int label);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Form_Load();
    void Command1_Click();
    void Combo11_Click();
    void Combo12_Click();

    QComboBox* ListOf(FunctionText field) const;

    QGroupBox* Frame1;
    QGroupBox* Frame2;
    QLabel* Label4;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label14;
    QLabel* Label15;
    QLabel* Label16;
    QLabel* Label17;
    QLabel* Label18;
    QLabel* Label19;
    QLabel* Label20;
    QComboBox* Combo4;
    QComboBox* Combo6;
    QComboBox* Combo7;
    QComboBox* Combo8;
    QComboBox* Combo9;
    QComboBox* Combo10;
    QComboBox* Combo11;
    QComboBox* Combo12;
    QComboBox* Combo13;
    QComboBox* Combo14;
    QComboBox* Combo15;
    std::array<QComboBox*, 11> lists_;
    QLineEdit* Text5;
    QLineEdit* Text6;
    QScrollBar* VScroll1;
    QScrollBar* VScroll2;
    QCheckBox* Check3;
    QCheckBox* Check4;
    QPushButton* Command1;
    QPushButton* Command2;

    // Channel number (1..16) the last "Fixed" search found; 0 before any.
    int lastFixedChannel_ = 0;
    const int& language_;
};

} // namespace quelro
