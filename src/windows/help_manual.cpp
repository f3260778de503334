// Finding and opening the user manual.
#include "windows/help_manual.h"

#include <QFileInfo>
#include <QUrl>

#include "i18n/data_paths.h"
#include "i18n/local_msgbox_qt.h"
#include "i18n/unicode_path_qt.h"

namespace quelro {
namespace {

constexpr Caption kManualMissing{
    "找不到用户手册。请重新安装本程序（手册应位于 share/quelro/manual 文件夹中）。",
    "The user manual could not be found. Please reinstall the program (the manual belongs in "
    "the folder share/quelro/manual)."};
constexpr Caption kNoBrowser{"无法启动浏览器来显示用户手册：",
                             "No web browser could be started to show the user manual: "};
constexpr int kWarningStyle = 48;

} // namespace

QStringList ManualRoots() {
    QStringList roots;
    for (const auto& path : DataCandidates({"quelro/manual", "docs/manual"}, ThisProgram()))
        roots << NameOf(path);
    return roots;
}

QString FindManual(int languageMode, const QStringList& roots) {
    const QString preferred =
        languageMode == kEnglish ? QStringLiteral("en") : QStringLiteral("zh");
    const QString other = languageMode == kEnglish ? QStringLiteral("zh") : QStringLiteral("en");
    for (const QString& language : {preferred, other})
        for (const QString& root : roots) {
            const QFileInfo page(root + QLatin1Char('/') + language +
                                 QStringLiteral("/index.html"));
            if (page.isFile()) return page.absoluteFilePath();
        }
    return {};
}

bool OpenManual(int languageMode, const UrlOpener& open, const QStringList& roots) {
    const QString page = FindManual(languageMode, roots);
    if (page.isEmpty()) {
        LocalMsgBox(FromUtf8(Localize(kManualMissing, languageMode)), kWarningStyle, {},
                    languageMode);
        return false;
    }
    if (open && open(QUrl::fromLocalFile(page))) return true;
    LocalMsgBox(FromUtf8(Localize(kNoBrowser, languageMode)) + page, kWarningStyle, {},
                languageMode);
    return false;
}

} // namespace quelro
