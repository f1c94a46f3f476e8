// Autosave: while the drawing has unsaved changes, a copy of it goes into
// lumen7's own folder every minute and after every 50 undo steps, never over
// the user's file. The copy is encoded on the GUI thread (a snapshot of the
// drawing as it is) and written to the disk in the background. Each running
// instance owns its autosave under a lock; a lock whose instance no longer
// runs marks its autosave as one to recover.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <string>
#include <thread>
#include <vector>

class CGO_Database;
class QLockFile;

class CAutosave : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 60000;
    static constexpr int kStepsBetweenWrites = 50;

    explicit CAutosave(const CGO_Database& database, QObject* parent = nullptr);
    ~CAutosave() override;

    // False when the folder could not be prepared or locked; nothing is
    // written then, and the log said why.
    bool IsEnabled() const { return !m_stem.isEmpty(); }
    const QString& Stem() const { return m_stem; }
    QString DrawingPath() const;

    // The drawing's state after every change: whether it has unsaved changes,
    // and the file it belongs to (empty for none). Without unsaved changes
    // the autosave is removed.
    void Follow(bool modified, const QString& origin);
    // One undo step was done, undone or redone.
    void NoteStep();
    // Starts a write now when there are unsaved changes; a write under way
    // is followed by another one.
    void WriteNow();
    // Waits until the write under way is on the disk.
    void Wait();
    // Removes this instance's autosave (a save, a discard, a clean quit).
    void Remove();
    // Gives up the lock as a clean quit does; a later write takes it again.
    void Release();

    // How long the last write kept the interface waiting, in milliseconds.
    double LastBlockingMs() const { return m_dBlockingMs; }

signals:
    void Written(const QString& path);

private:
    struct Result {
        bool ok = false;
        std::string error;
        double totalMs = 0;
    };

    bool HoldLock();
    void Collect(unsigned generation);

    const CGO_Database& m_database;
    QString m_stem;
    std::unique_ptr<QLockFile> m_lock;
    QTimer m_timer;
    bool m_bModified = false;
    bool m_bDirty = false;
    bool m_bPending = false;
    int m_nSteps = 0;
    QString m_origin;
    std::thread m_writer;
    unsigned m_nGeneration = 0;
    Result m_result;
    int m_nObjectsWritten = 0;
    double m_dBlockingMs = 0;
};
