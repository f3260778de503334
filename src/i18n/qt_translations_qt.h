// Qt's own texts (the file dialog, the standard buttons, context menus of
// text fields) in the program's language rather than the system's.
#pragma once

namespace quelro {

// Installs Qt's Simplified or Traditional Chinese translation for
// languageMode 0 or 2 and removes it for English. A missing translation file
// (qt6-translations-l10n not installed) leaves Qt's English.
void UseQtTranslations(int languageMode);

} // namespace quelro
