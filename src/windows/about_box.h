// frmAbout, the about box: program name, version, release and a line naming
// the maker that opens the maker's web page.
#pragma once

#include <QUrl>

#include <functional>

#include "windows/aux_window.h"

class QLabel;
class QPushButton;

namespace quelro {

class RadioPicture;

// Opens a web address or a file in the user's default browser; true when a
// browser could be asked. Tests install their own.
using UrlOpener = std::function<bool(const QUrl&)>;
// QDesktopServices::openUrl.
bool OpenInBrowser(const QUrl& url);

class frmAbout : public AuxWindow {
    Q_OBJECT

  public:
    frmAbout(ProgramState& state, QWidget* owner, UrlOpener openUrl);

    void ApplyLanguage(int languageMode) override;

    // The Traditional texts that the window walk cannot produce: the version
    // line of the Traditional edition and, at start-up, the title line.
    void ApplyTraditionalTexts(bool atStartUp);

    // The title and version labels, for a main window that rewrites them itself.
    QLabel* TitleLabel() const { return lblTitle; }
    QLabel* VersionLabel() const { return lblVersion; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    UrlOpener openUrl_;
    RadioPicture* picIcon;
    RadioPicture* picLogo;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* Label2;
    QLabel* lblDescription;
    QPushButton* cmdOK;
};

} // namespace quelro
