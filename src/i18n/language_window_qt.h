// The parts of the program that the language machinery drives.
//
// The main window applies the language to every part in a fixed order
// (Form1, Form2, Form3, Form4, Form5, Form6, Form7, frmAbout, then the menus
// and commands added to it). A menu or a command joins as a LanguagePart; a
// window of its own joins as a LanguageWindow, which TranslateForm walks.
#pragma once

#include "i18n/translate_form_qt.h"

class QWidget;

namespace quelro {

class LanguagePart {
  public:
    virtual ~LanguagePart() = default;
    // Writes the part's rows of the caption table: the Chinese column for
    // mode 0, the English column for mode 1, nothing for any other mode.
    virtual void ApplyLanguage(int languageMode) = 0;
    // Converts the part's texts to Traditional Chinese.
    virtual void Translate() = 0;
};

class LanguageWindow : public LanguagePart {
  public:
    // The top-level widget that TranslateForm walks; never null.
    virtual QWidget* Window() = 0;
    void Translate() override { TranslateForm(Window()); }
};

} // namespace quelro
