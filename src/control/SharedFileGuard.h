// Tells two running instances apart that open the same file: each instance
// holds a lock for the file its drawing belongs to, in lumen7's own folder,
// named by a hash of the file's canonical path. Opening a file another
// instance holds asks first: read-only, anyway, or not at all. A read-only
// drawing's Ctrl+S asks for a new name.
#pragma once

#include <QString>

#include <memory>

class QLockFile;
class QWidget;

class CSharedFileGuard {
public:
    enum class Choice { Open, OpenReadOnly, Cancel };

    CSharedFileGuard();
    ~CSharedFileGuard();

    // Before path is opened: Open when no other running instance holds it,
    // otherwise the user's choice.
    Choice AskBeforeOpening(const QString& path, QWidget* parent);
    // The drawing belongs to path now (empty: to no file); its lock is taken
    // unless the drawing was opened read-only, the previous one let go.
    void Follow(const QString& path, bool readOnly);
    // Whether the drawing belongs to path read-only.
    bool IsReadOnly(const QString& path) const;

    // The lock file for path (exposed for the tests).
    static QString LockPathFor(const QString& path);

    CSharedFileGuard(const CSharedFileGuard&) = delete;
    CSharedFileGuard& operator=(const CSharedFileGuard&) = delete;

private:
    QString m_path;
    bool m_bReadOnly = false;
    std::unique_ptr<QLockFile> m_lock;
};
