// The part of a window that the language machinery drives.
//
// The main window applies the language to every window in a fixed order
// (Form1, Form2, Form3, Form4, Form5, Form6, Form7, frmAbout); a window joins
// by implementing this interface.
#pragma once

#include "i18n/translate_form_qt.h"

class QWidget;

namespace quelro {

class LanguageWindow {
  public:
    virtual ~LanguageWindow() = default;
    // The top-level widget that TranslateForm walks.
    virtual QWidget* Window() = 0;
    // Writes the window's rows of the caption table: the Chinese column for
    // mode 0, the English column for mode 1, nothing for any other mode.
    virtual void ApplyLanguage(int languageMode) = 0;
    // Converts the window's texts to Traditional Chinese (TranslateForm).
    virtual void Translate() { TranslateForm(Window()); }
};

} // namespace quelro
