#include "util/polishdesktop.h"

#include "util/dates.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zf {

bool setUpPolishDesktop(QCoreApplication& app)
{
    const QLocale polish(QLocale::Polish, QLocale::Poland);
    keepDateSeparatorLocale(QLocale());
    QLocale::setDefault(polish);
    // Owned by the application, so it lives exactly as long as the texts it translates.
    auto* translator = new QTranslator(&app);
    if (!translator->load(polish, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace zf
