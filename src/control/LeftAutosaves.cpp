#include "control/LeftAutosaves.h"

#include "control/AutosaveFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>

QString CLeftAutosave::DrawingPath() const
{
    return autosavefolder::DrawingPath(stem);
}

namespace leftautosaves {

namespace {

// The lock of stem when no running instance holds it. Only called for
// stems that are not this instance's own.
std::shared_ptr<QLockFile> TakeOver(const QString& stem)
{
    auto lock = std::make_shared<QLockFile>(autosavefolder::LockPath(stem));
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return lock;
    // A lock in this process's name that is not its own: an instance killed
    // before this one got the same pid, as happens in fresh containers.
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock->error() == QLockFile::LockFailedError && lock->getLockInfo(&pid, &host, &application) &&
        pid == QCoreApplication::applicationPid() && lock->removeStaleLockFile() && lock->tryLock(0))
        return lock;
    return nullptr;
}

QString ReadOrigin(const QString& stem)
{
    QFile file(autosavefolder::OriginPath(stem));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    // A path, not a book: anything longer is no origin of ours.
    return QString::fromUtf8(file.read(64 * 1024));
}

} // namespace

std::vector<CLeftAutosave> Claim(const QString& ownStem)
{
    std::vector<CLeftAutosave> left;
    const QDir folder(autosavefolder::Path());
    for (const QFileInfo& info : folder.entryInfoList(QDir::Files | QDir::System | QDir::Hidden | QDir::Dirs |
                                                      QDir::NoDotAndDotDot)) {
        const QString stem = autosavefolder::StemOfFile(info.fileName());
        if (stem.isEmpty() || stem == ownStem)
            continue;
        std::shared_ptr<QLockFile> lock = TakeOver(stem);
        if (lock == nullptr)
            continue; // its instance still runs
        left.push_back(CLeftAutosave{stem, info.lastModified(), ReadOrigin(stem), std::move(lock)});
    }
    // A clean quit leaves its lock file; so does a kill before the first write.
    for (const QString& name : folder.entryList({QStringLiteral("autosave-*.lock")}, QDir::Files | QDir::Hidden)) {
        const QString stem = name.chopped(5);
        if (stem != ownStem && !QFileInfo::exists(autosavefolder::DrawingPath(stem))) {
            if (std::shared_ptr<QLockFile> lock = TakeOver(stem))
                lock->unlock();
        }
    }
    std::sort(left.begin(), left.end(),
              [](const CLeftAutosave& a, const CLeftAutosave& b) { return a.written > b.written; });
    return left;
}

QString SetAside(CLeftAutosave& left, const QString& drawingSuffix, const QString& originSuffix)
{
    const QString folder = autosavefolder::Path() + QLatin1Char('/');
    const QString aside = folder + left.stem + drawingSuffix;
    if (QFileInfo::exists(aside) || !QFile::rename(left.DrawingPath(), aside))
        return QString();
    QFile::rename(autosavefolder::OriginPath(left.stem), folder + left.stem + originSuffix);
    if (left.lock)
        left.lock->unlock();
    return aside;
}

void Remove(CLeftAutosave& left)
{
    QFile::remove(autosavefolder::OriginPath(left.stem));
    QFile::remove(left.DrawingPath());
    if (left.lock)
        left.lock->unlock();
}

} // namespace leftautosaves
