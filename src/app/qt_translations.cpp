#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace quillet {

bool LoadQtJapanese(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    // "qt_ja" gathers the catalogues of every Qt module that has one.
    if (!translator->load(QStringLiteral("qt_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace quillet
