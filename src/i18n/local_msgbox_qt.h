// LocalMsgBox: every message and question of the program goes through here.
//
// A QMessageBox built from a Win32 message-box style value (buttons, icon,
// default button, modality) whose button captions are in the language it is
// given rather than the system's. Returns the Win32 identifier of the button
// pressed (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No). A reader
// meets it as an alert with its text; once it is answered, the focus is where
// it was before.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

#include "i18n/captions.h"

class QWidget;

namespace quelro {

// The owner of every box (the main window).
void SetMessageBoxOwner(QWidget* owner);

// `captions`, when given, replace the button captions in the style's order
// (a question whose answers are not Yes and No).
int LocalMsgBox(const QString& prompt, int style, const QString& title, int languageMode,
                const QStringList& captions = {});

// The system box's style of a core box style.
int Win32Style(BoxStyle style);
// The typed answer of a button identifier (Abort, Retry and Ignore, which
// no message of the program offers, count as Cancel), and back.
BoxAnswer AnswerOf(int buttonId);
int ButtonIdOf(BoxAnswer answer);

// A message of the core's table in the given language (Traditional: the
// Chinese text and title converted).
BoxAnswer ShowMessage(const Message& message, int languageMode);

// Test seam: while an answerer is installed no box is shown; it receives the
// prompt, style and title (after the empty-title rule) and returns the button
// identifier.
struct AskedBox {
    QString prompt;
    int style;
    QString title;
};
using MessageBoxAnswerer = std::function<int(const AskedBox&)>;
void SetMessageBoxAnswerer(MessageBoxAnswerer answerer);

} // namespace quelro
