// The Help menu's serial port check.
#include "app/serial_port_check.h"

#include <QAction>
#include <QMenu>

#include "app/form1.h"
#include "i18n/captions_link.h"
#include "i18n/local_msgbox_qt.h"
#include "link/system_check.h"

namespace quelro {

SerialPortCheck::SerialPortCheck(Form1& form, SystemPaths paths)
    : QObject(&form), form_(form), paths_(std::move(paths)) {
    // Between the help topics and the about box.
    action_ = new QAction(form.mnuhelp);
    action_->setObjectName("mnuserialcheck");
    form.mnuhelp->insertAction(form.mnuabout, action_);
    connect(action_, &QAction::triggered, this, &SerialPortCheck::Show);
    ApplyLanguage(form.LanguageMode());
    if (form.LanguageMode() == kTraditional) Translate();
    form.RegisterPart(this);
}

void SerialPortCheck::Show() {
    const int language = form_.LanguageMode();
    QString text;
    for (const Finding& finding : CheckSystem(paths_))
        // A blank line between findings: each is a sentence or two.
        text +=
            (text.isEmpty() ? "" : "\n\n") + QString::fromStdString(FindingText(finding, language));
    constexpr int kInformationOk = 64;
    LocalMsgBox(text, kInformationOk,
                QString::fromStdString(Localize(linktext::kCheckTitle, language)), language);
}

void SerialPortCheck::ApplyLanguage(int languageMode) {
    if (const auto text = CaptionFor(linktext::kCheckTitle, languageMode))
        action_->setText(QString::fromStdString(*text));
}

void SerialPortCheck::Translate() {
    // The main window converts its own items; this one is set from its
    // Chinese text, whatever it shows now.
    action_->setText(QString::fromStdString(Localize(linktext::kCheckTitle, kTraditional)));
}

} // namespace quelro
