// File -> Recent files: the last eight programmings opened or saved, kept in
// the configuration folder beside `parameter`. A file that is gone is
// dropped from the list when the menu opens; a chosen one opens as from
// File -> Open.
#pragma once

#include <QObject>
#include <QString>

#include <string>
#include <vector>

#include "i18n/language_window_qt.h"

class QMenu;

namespace quelro {

class DesktopFiles;
class Form1;

class RecentFilesMenu : public QObject, public LanguagePart {
    Q_OBJECT

  public:
    // Adds the submenu before the File menu's last separator and reads the list.
    RecentFilesMenu(Form1& form, DesktopFiles& files);

    // Where the list is kept; empty when there is no configuration folder.
    static QString ListPath();
    const std::vector<std::string>& Names() const { return names_; }

    // LanguagePart: the submenu is part of the main window's menus, which
    // convert its title; its items are file names, written as the menu opens.
    void ApplyLanguage(int languageMode) override;
    void Translate() override {}

    QMenu* mnuRecent;

  private:
    void Add(const QString& name);
    void Fill();
    void Write() const;

    Form1& form_;
    DesktopFiles& files_;
    std::vector<std::string> names_;
};

} // namespace quelro
