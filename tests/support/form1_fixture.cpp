// Test fixture of the main window: configuration folder, box answerer, start.
#include "support/form1_fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QTest>

#include "channels/channel_grid_qt.h"

namespace quelro::test {

ConfigFolder::ConfigFolder()
    : previous_(qgetenv("XDG_CONFIG_HOME")),
      hadPrevious_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.path()));
    Form1::SetUpApplication();
}

ConfigFolder::~ConfigFolder() {
    if (hadPrevious_)
        qputenv("XDG_CONFIG_HOME", previous_);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

QString ConfigFolder::ParameterPath() const {
    return Form1::ParameterFilePath();
}

void ConfigFolder::WriteParameter(const QByteArray& bytes) const {
    QDir().mkpath(dir_.filePath("quelro"));
    QFile file(ParameterPath());
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

QByteArray ConfigFolder::ReadParameter() const {
    QFile file(ParameterPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::unique_ptr<StartedForm> StartForm(const std::function<void(Form1&)>& prepare) {
    auto started = std::make_unique<StartedForm>();
    started->form = std::make_unique<Form1>(started->state);
    if (prepare) prepare(*started->form);
    started->form->Form_Load();
    started->form->show();
    started->form->activateWindow();
    if (!QTest::qWaitForWindowActive(started->form.get()))
        qWarning("the main window did not become active");
    return started;
}

void PressCell(Form1& form, int row, int column) {
    const QPoint at = form.Grid1->CellRect(row, column).center();
    QTest::mousePress(form.Grid1->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(form.Grid1->viewport(), Qt::LeftButton, {}, at);
}

void TypeText(const QString& text) {
    for (const QChar c : text) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY2(target != nullptr, "no widget has the keyboard focus");
        if (c.unicode() <= 0xFF)
            QTest::keyClick(target, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), {});
    }
}

void CommitInput(const QString& text) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY2(target != nullptr, "no widget has the keyboard focus");
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(target, &commit);
}

void PressKey(Qt::Key key) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY2(target != nullptr, "no widget has the keyboard focus");
    QTest::keyClick(target, key);
}

void PressKeys(const QString& keys) {
    for (const QString& step : keys.split(';', Qt::SkipEmptyParts)) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY2(target != nullptr, qPrintable("no widget has the focus for " + step));
        if (step.size() == 1) {
            QTest::keyClick(target, step.at(0).toLatin1());
            continue;
        }
        const QKeySequence sequence(step);
        QVERIFY2(sequence.count() == 1, qPrintable("not a key: " + step));
        QTest::keyClick(target, sequence[0].key(), sequence[0].keyboardModifiers());
    }
}

void PickFromOpenList(QComboBox* combo, int position) {
    QAbstractItemView* view = combo->view();
    QVERIFY2(view->isVisible(), "the drop-down list is not open");
    view->setCurrentIndex(combo->model()->index(position, 0));
    QTest::keyClick(view, Qt::Key_Return);
}

} // namespace quelro::test
