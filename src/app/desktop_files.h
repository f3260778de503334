// Files handed over by the desktop: named on the command line (a double
// click in the file manager) or dropped on the main window. Each opens as
// from the File menu: a .csv is imported, anything else opened as a
// programming, with the unsaved-work question and the same messages.
#pragma once

#include <QObject>
#include <QString>

namespace quelro {

class ChannelCommands;
class Form1;

class DesktopFiles : public QObject {
    Q_OBJECT

  public:
    // Makes the window take dropped files.
    DesktopFiles(Form1& form, ChannelCommands& commands);

    // Opens the file once the events queued before it (the window's start-up)
    // are done, so that a message has its window.
    void Open(const QString& name);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void OpenNow(const QString& name);

    Form1& form_;
    ChannelCommands& commands_;
};

} // namespace quelro
