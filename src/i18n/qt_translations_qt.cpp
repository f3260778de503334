// Qt's translations follow the language switch.
#include "i18n/qt_translations_qt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "i18n/captions.h"

namespace quelro {

void UseQtTranslations(int languageMode) {
    static QTranslator* installed = nullptr;
    if (installed != nullptr) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
        installed = nullptr;
    }
    if (languageMode == kEnglish || QCoreApplication::instance() == nullptr) return;
    auto* translator = new QTranslator;
    const QString file = languageMode == kTraditional ? "qtbase_zh_TW" : "qtbase_zh_CN";
    if (!translator->load(file, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
}

} // namespace quelro
