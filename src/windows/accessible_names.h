// How a screen reader meets the program's windows: the auxiliary windows are
// dialogs, a drop-down list is named by the label beside it (its entry is its
// value), and the controls no label names take their names from the caption
// table, in the current language.
#pragma once

#include <QString>

#include "i18n/captions.h"

class QWidget;

namespace quelro {

// Installs the program's own accessible interfaces, once; every window calls
// it before its controls are asked for.
void InstallAccessibleInterfaces();

// A strip of a window that shows how things stand - the status text and a
// transfer's progress bar - heard as a status bar. A reader leaves a progress
// bar in a status bar to the program, which says the progress itself at steps
// a listener can follow (a reader would speak the bar's first value over the
// transfer's first words).
QWidget* NewStatusLine(QWidget* parent);

// A caption without its access-key marks: "COM1(&1)" is "COM1(1)", and "&&"
// a literal ampersand.
QString WithoutAccessKeys(const QString& caption);

// A label's text as the name of the control it labels: no access-key marks,
// no colon at the end ("Time-out:" names the list "Time-out").
QString NameOfLabel(const QString& labelText);

// The accessible name and description of a control from a caption-table row:
// the Chinese column for mode 0, the English for mode 1, nothing for any other
// mode (the Traditional path converts the Chinese texts in place).
void SetAccessibleName(QWidget* control, const Caption& name, int languageMode);
void SetAccessibleDescription(QWidget* control, const Caption& description, int languageMode);

} // namespace quelro
