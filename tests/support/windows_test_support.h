// Helpers of the auxiliary-window tests: finding controls by their names,
// acting as the user would, and answering message boxes without showing any.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <clocale>
#include <vector>

#include "support/box_script.h"

namespace quelro::test {

// The named control of a window; fails the test when it is missing.
template <typename T> T* Find(QWidget* window, const char* name) {
    T* control = window->findChild<T*>(QString::fromLatin1(name));
    if (control == nullptr) qFatal("control %s not found", name);
    return control;
}

// A pick from a list by the user: the position changes and the list reports
// the choice, as a mouse or key choice does.
inline void Pick(QComboBox* list, int position) {
    list->setCurrentIndex(position);
    emit list->activated(position);
}

// Under QUELRO_COMMA_LOCALE (set by the test's second run, see
// tests/CMakeLists.txt) the process must really use a decimal comma, as a
// German desktop does once QApplication has taken the environment's locale.
inline void VerifyCommaLocaleWhenAsked() {
    if (qEnvironmentVariableIsSet("QUELRO_COMMA_LOCALE"))
        QCOMPARE(QString::fromLatin1(std::localeconv()->decimal_point), QStringLiteral(","));
}

// Notches of the mouse wheel (positive away from the user) with the pointer
// over the middle of `widget`, handed to its window as the system hands a
// wheel over: to whatever lies under the pointer, focus rules included.
inline void TurnWheel(QWidget* widget, int notches) {
    QWidget* window = widget->window();
    const QPoint centre = widget->rect().center();
    QWheelEvent wheel(widget->mapTo(window, centre), widget->mapToGlobal(centre), QPoint(),
                      QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    // notify, not sendEvent, which would mark the event as the program's own.
    QApplication::instance()->notify(window->windowHandle(), &wheel);
}

} // namespace quelro::test
