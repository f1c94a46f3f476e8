#include "control/AutosaveFolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace autosavefolder {

QString Path()
{
    // The state folder is to be absolute; a relative one is ignored, as the
    // XDG base directory rules say.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(base + QStringLiteral("/lumen7"));
}

bool Prepare(QString& error)
{
    const QString folder = Path();
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("cannot create the folder '%1'").arg(folder);
        return false;
    }
    if (!QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        error = QStringLiteral("cannot make the folder '%1' private").arg(folder);
        return false;
    }
    return true;
}

QString DrawingPath(const QString& stem) { return Path() + QLatin1Char('/') + stem + QStringLiteral(".dat"); }
QString OriginPath(const QString& stem) { return Path() + QLatin1Char('/') + stem + QStringLiteral(".origin"); }
QString LockPath(const QString& stem) { return Path() + QLatin1Char('/') + stem + QStringLiteral(".lock"); }

QString NewStem()
{
    return QStringLiteral("autosave-%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(QString::number(QDateTime::currentMSecsSinceEpoch(), 36));
}

QString StemOfFile(const QString& fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^(autosave-[0-9]+-[0-9a-z]+)\\.dat$"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace autosavefolder
