// The recent-files submenu of the File menu.
#include "app/recent_files_menu.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

#include "app/desktop_files.h"
#include "app/form1.h"
#include "files/file_access.h"
#include "files/recent_files.h"
#include "i18n/captions.h"
#include "i18n/unicode_path_qt.h"

namespace quelro {
namespace {

namespace caption {
constexpr Caption kRecent{"最近的文件(&R)", "Recent files(&R)"};
constexpr Caption kNone{"（无）", "(none)"};
} // namespace caption

// The list holds the names in UTF-8 (QFile::encodeName would give Windows's
// 8-bit code page there).
QString FromBytes(const std::string& name) {
    return QString::fromStdString(name);
}

} // namespace

QString RecentFilesMenu::ListPath() {
    const QString parameter = Form1::ParameterFilePath();
    return parameter.isEmpty() ? QString() : QFileInfo(parameter).absolutePath() + "/recent";
}

RecentFilesMenu::RecentFilesMenu(Form1& form, DesktopFiles& files)
    : QObject(&form), form_(form), files_(files) {
    setObjectName("RecentFilesMenu");
    mnuRecent = new QMenu(form.mnuFile);
    mnuRecent->setObjectName("mnuRecent");
    QAction* before = nullptr;
    for (QAction* a : form.mnuFile->actions())
        if (a->objectName() == "mnuline") before = a;
    form.mnuFile->insertMenu(before, mnuRecent);
    connect(mnuRecent, &QMenu::aboutToShow, this, &RecentFilesMenu::Fill);

    if (const QString path = ListPath(); !path.isEmpty()) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            names_ = ParseRecentFiles(file.read(kRecentFilesMaxBytes).toStdString());
    }
    auto add = [this] { Add(form_.FileName()); };
    connect(&form, &Form1::TableReplaced, this, add);
    connect(&form, &Form1::Saved, this, add);
}

void RecentFilesMenu::ApplyLanguage(int languageMode) {
    if (languageMode != kSimplified && languageMode != kEnglish) return;
    mnuRecent->setTitle(QString::fromStdString(Localize(caption::kRecent, languageMode)));
}

void RecentFilesMenu::Add(const QString& name) {
    if (name.isEmpty()) return;
    AddRecentFile(names_, QFileInfo(name).absoluteFilePath().toStdString());
    Write();
}

void RecentFilesMenu::Fill() {
    const std::size_t before = names_.size();
    std::erase_if(names_,
                  [](const std::string& name) { return !QFileInfo::exists(FromBytes(name)); });
    if (names_.size() != before) Write();
    mnuRecent->clear();
    for (std::size_t i = 0; i < names_.size(); ++i) {
        const QString name = FromBytes(names_[i]);
        // The number is the item's key; an & in a name is no key.
        QAction* a = mnuRecent->addAction(
            QString("&%1 %2").arg(i + 1).arg(QString(name).replace("&", "&&")));
        connect(a, &QAction::triggered, this, [this, name] { files_.Open(name); });
    }
    if (names_.empty())
        mnuRecent->addAction(QString::fromStdString(Localize(caption::kNone, form_.LanguageMode())))
            ->setEnabled(false);
}

void RecentFilesMenu::Write() const {
    const QString path = ListPath();
    if (path.isEmpty()) return;
    QDir().mkpath(QFileInfo(path).absolutePath());
    // A list that cannot be kept costs only the list.
    WriteFileAtomically(PathOf(path), RecentFilesText(names_));
}

} // namespace quelro
