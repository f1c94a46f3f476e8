#include "control/SharedFileGuard.h"

#include "control/AutosaveFolder.h"
#include "log/Logger.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLockFile>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString CanonicalPath(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

std::unique_ptr<QLockFile> MakeLock(const QString& path)
{
    auto lock = std::make_unique<QLockFile>(CSharedFileGuard::LockPathFor(path));
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

CSharedFileGuard::CSharedFileGuard() = default;
CSharedFileGuard::~CSharedFileGuard() = default;

QString CSharedFileGuard::LockPathFor(const QString& path)
{
    const QByteArray hash = QCryptographicHash::hash(CanonicalPath(path).toUtf8(), QCryptographicHash::Sha1);
    return autosavefolder::Path() + QStringLiteral("/open-") + QString::fromLatin1(hash.toHex()) +
           QStringLiteral(".lock");
}

CSharedFileGuard::Choice CSharedFileGuard::AskBeforeOpening(const QString& path, QWidget* parent)
{
    if (m_lock != nullptr && CanonicalPath(path) == CanonicalPath(m_path))
        return Choice::Open;
    QString error;
    if (!autosavefolder::Prepare(error))
        return Choice::Open;
    auto probe = MakeLock(path);
    if (probe->tryLock(0))
        return Choice::Open;
    if (probe->error() != QLockFile::LockFailedError)
        return Choice::Open;
    LogInfo("File '%s' is open in another running instance.", path.toUtf8().constData());
    QMessageBox box(QMessageBox::Warning, QStringLiteral("lumen7"),
                    QString::fromUtf8("Die Datei '%1' ist bereits in einem anderen lumen7-Fenster geöffnet.\n"
                                      "Wer zuletzt speichert, überschreibt die Änderungen des anderen.")
                        .arg(QFileInfo(path).fileName()),
                    QMessageBox::NoButton, parent);
    QPushButton* readOnly = box.addButton(QString::fromUtf8("Schreibgeschützt öffnen"), QMessageBox::AcceptRole);
    QPushButton* anyway = box.addButton(QString::fromUtf8("Trotzdem öffnen"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QString::fromUtf8("Abbrechen"), QMessageBox::RejectRole);
    box.setDefaultButton(readOnly);
    box.setEscapeButton(cancel);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    if (box.clickedButton() == readOnly)
        return Choice::OpenReadOnly;
    if (box.clickedButton() == anyway)
        return Choice::Open;
    return Choice::Cancel;
}

void CSharedFileGuard::Follow(const QString& path, bool readOnly)
{
    const bool same = !path.isEmpty() && !m_path.isEmpty() && CanonicalPath(path) == CanonicalPath(m_path);
    if (same && readOnly == m_bReadOnly)
        return;
    m_lock.reset();
    m_path = path;
    m_bReadOnly = readOnly && !path.isEmpty();
    if (path.isEmpty() || m_bReadOnly)
        return;
    QString error;
    if (!autosavefolder::Prepare(error))
        return;
    auto lock = MakeLock(path);
    // Held by another instance: the user chose to open it anyway.
    if (lock->tryLock(0))
        m_lock = std::move(lock);
}

bool CSharedFileGuard::IsReadOnly(const QString& path) const
{
    return m_bReadOnly && !path.isEmpty() && CanonicalPath(path) == CanonicalPath(m_path);
}
