// Loads qtbase_de from Qt's translations folder (Debian's
// qt6-translations-l10n) into the application.
#include "control/GermanTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallGermanTranslations()
{
    static QTranslator* translator = nullptr;
    if (translator != nullptr)
        return true;
    auto* loaded = new QTranslator(QCoreApplication::instance());
    if (!loaded->load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete loaded;
        return false;
    }
    QCoreApplication::installTranslator(loaded);
    translator = loaded;
    return true;
}
