// Helpers of the auxiliary-window tests: finding controls by their names,
// acting as the user would, and answering message boxes without showing any.
#pragma once

#include <QComboBox>
#include <QTest>
#include <QWidget>

#include <clocale>
#include <vector>

#include "i18n/local_msgbox_qt.h"

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

// Records every message box asked for and answers it with OK (1) while alive.
class BoxRecorder {
  public:
    BoxRecorder() {
        SetMessageBoxAnswerer([this](const AskedBox& box) {
            boxes.push_back(box);
            return 1;
        });
    }
    ~BoxRecorder() { SetMessageBoxAnswerer({}); }
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    std::vector<AskedBox> boxes;
};

} // namespace quelro::test
