// Spoken results: a short text a screen reader says at once, whatever has
// the focus ("channel 02 deleted", "Read frequency success!"). Qt 6.4 has no
// announcement event and its AT-SPI bridge drops QAccessible::Alert, so each
// window carries an empty notification object whose name is the text and
// whose "showing" is raised anew for every announcement; a reader speaks a
// notification that shows.
#pragma once

#include <QString>

class QWidget;

namespace quelro {

// Speaks `text` in the window `anywhere` belongs to; nothing for an empty
// text or a null widget. In a window that is not active (a box has just
// closed) it is spoken once the window is active again, within a second.
void Announce(QWidget* anywhere, const QString& text);

// The text announced last in that window, empty before the first.
QString LastAnnouncement(const QWidget* anywhere);

} // namespace quelro
