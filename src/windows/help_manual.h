// The help command: finds the HTML user manual (Simplified Chinese or
// English) and opens it in the default browser.
#pragma once

#include <QStringList>

#include "windows/about_box.h"

namespace quelro {

// Folders that may hold the manual, in the order they are tried: next to the
// installed program (../share/quelro/manual), then, for a program run from its
// build folder, the source tree's docs/manual.
QStringList ManualRoots();

// The start page of the manual for the language (English for mode 1, Chinese
// otherwise; the other language when only that one is present), or an empty
// text when no root holds a manual.
QString FindManual(int languageMode, const QStringList& roots = ManualRoots());

// Opens the manual in the default browser. A missing manual, or a browser
// that cannot be started, is reported in the current language. Returns true
// when the browser was asked to show it.
bool OpenManual(int languageMode, const UrlOpener& open, const QStringList& roots = ManualRoots());

} // namespace quelro
