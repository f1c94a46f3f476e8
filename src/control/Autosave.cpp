#include "control/Autosave.h"

#include "control/AutosaveFolder.h"
#include "control/ProgressWindow.h"
#include "database/AutosaveFile.h"
#include "database/GO_Database.h"
#include "log/Logger.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>

#include <chrono>

CAutosave::CAutosave(const CGO_Database& database, QObject* parent) : QObject(parent), m_database(database)
{
    QString error;
    if (!autosavefolder::Prepare(error)) {
        LogWarn("Autosave disabled: %s", error.toUtf8().constData());
        return;
    }
    // Another instance may have started in the same millisecond with a pid
    // once used by this one: a fresh stem is tried then.
    for (int attempt = 0; attempt < 3 && m_stem.isEmpty(); ++attempt) {
        const QString stem = autosavefolder::NewStem();
        auto lock = std::make_unique<QLockFile>(autosavefolder::LockPath(stem));
        // Never stale by age: only an instance that no longer runs gives it up.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            m_stem = stem;
            m_lock = std::move(lock);
        }
    }
    if (m_stem.isEmpty()) {
        LogWarn("Autosave disabled: cannot lock a file in '%s'", autosavefolder::Path().toUtf8().constData());
        return;
    }
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_bModified && m_bDirty)
            WriteNow();
    });
    m_timer.start();
}

CAutosave::~CAutosave()
{
    if (m_writer.joinable())
        m_writer.join();
}

QString CAutosave::DrawingPath() const
{
    return IsEnabled() ? autosavefolder::DrawingPath(m_stem) : QString();
}

void CAutosave::Follow(bool modified, const QString& origin)
{
    if (modified && (!m_bModified || origin != m_origin))
        m_bDirty = true;
    m_bModified = modified;
    m_origin = origin;
    if (!modified)
        Remove();
}

void CAutosave::NoteStep()
{
    m_bDirty = true;
    if (++m_nSteps >= kStepsBetweenWrites && m_bModified)
        WriteNow();
}

bool CAutosave::HoldLock()
{
    return m_lock != nullptr && (m_lock->isLocked() || m_lock->tryLock(0));
}

void CAutosave::WriteNow()
{
    if (!IsEnabled() || !m_bModified)
        return;
    // A load replacing the drawing, or a save, may be half-way: the next
    // tick writes what it left.
    if (CProgressWindow::AnyRunning()) {
        m_bDirty = true;
        return;
    }
    if (m_writer.joinable()) {
        m_bPending = true;
        return;
    }
    if (!HoldLock()) {
        LogWarn("Autosave skipped: the lock '%s' is held elsewhere", autosavefolder::LockPath(m_stem).toUtf8().constData());
        return;
    }
    m_nSteps = 0;
    m_bDirty = false;
    m_bPending = false;
    // The snapshot: the drawing's bytes as they are now. Only the writing
    // to the disk, flush and rename included, goes into the background.
    QElapsedTimer blocking;
    blocking.start();
    std::vector<unsigned char> bytes;
    std::string error;
    if (!m_database.Encode(bytes, error, true)) {
        LogWarn("Autosave skipped: %s", error.c_str());
        return;
    }
    m_nObjectsWritten = m_database.GetCount();
    const QByteArray originBytes = m_origin.toUtf8();
    std::vector<unsigned char> origin(originBytes.begin(), originBytes.end());
    const std::string drawingPath = QFile::encodeName(DrawingPath()).toStdString();
    const std::string originPath = QFile::encodeName(autosavefolder::OriginPath(m_stem)).toStdString();
    const unsigned generation = ++m_nGeneration;
    m_writer = std::thread([this, generation, bytes = std::move(bytes), origin = std::move(origin), drawingPath,
                            originPath] {
        const auto start = std::chrono::steady_clock::now();
        Result result;
        // The origin first: a kill between the two leaves the last complete
        // drawing with the name of its file.
        result.ok = autosave::WriteFile(originPath, origin, result.error) &&
                    autosave::WriteFile(drawingPath, bytes, result.error);
        result.totalMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        m_result = std::move(result);
        QMetaObject::invokeMethod(this, [this, generation] { Collect(generation); }, Qt::QueuedConnection);
    });
    m_dBlockingMs = static_cast<double>(blocking.nsecsElapsed()) / 1e6;
}

void CAutosave::Collect(unsigned generation)
{
    if (generation != m_nGeneration || !m_writer.joinable())
        return;
    m_writer.join();
    const QByteArray path = DrawingPath().toUtf8();
    if (m_result.ok) {
        LogInfo("Autosave written: %s (%i objects; %.1f ms in the interface, %.1f ms on the disk)", path.constData(),
                m_nObjectsWritten, m_dBlockingMs, m_result.totalMs);
        emit Written(DrawingPath());
    } else {
        LogWarn("Autosave failed: %s: %s", path.constData(), m_result.error.c_str());
    }
    if (m_bPending)
        WriteNow();
}

void CAutosave::Wait()
{
    Collect(m_nGeneration);
}

void CAutosave::Remove()
{
    m_bPending = false;
    Wait();
    m_bPending = false;
    m_nSteps = 0;
    m_bDirty = false;
    if (!IsEnabled())
        return;
    QFile::remove(autosavefolder::OriginPath(m_stem));
    if (QFile::remove(DrawingPath()))
        LogInfo("Autosave removed: %s", DrawingPath().toUtf8().constData());
}

void CAutosave::Release()
{
    Remove();
    if (m_lock != nullptr)
        m_lock->unlock();
}
