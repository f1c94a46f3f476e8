#include "control/RecentFiles.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace {

const char* const kSettingsKey = "recentFiles";

QSettings Settings()
{
    return QSettings(QStringLiteral("lumen7"), QStringLiteral("lumen7"));
}

} // namespace

CRecentFiles::CRecentFiles(QAbstractButton* loadButton, std::function<void(const QString&)> open)
    : QObject(loadButton), m_button(loadButton), m_fnOpen(std::move(open))
{
    if (m_button == nullptr)
        return;
    m_button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_button, &QWidget::customContextMenuRequested, this, &CRecentFiles::ShowMenu);
}

QStringList CRecentFiles::Entries() const
{
    return Settings().value(QString::fromLatin1(kSettingsKey)).toStringList().mid(0, kMaxEntries);
}

void CRecentFiles::Add(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList entries = Entries();
    entries.removeAll(absolute);
    entries.prepend(absolute);
    Settings().setValue(QString::fromLatin1(kSettingsKey), entries.mid(0, kMaxEntries));
}

void CRecentFiles::ShowMenu(const QPoint& at)
{
    const QStringList entries = Entries();
    QMenu menu(m_button);
    if (entries.isEmpty())
        menu.addAction(QString::fromUtf8("Keine zuletzt benutzten Dateien"))->setEnabled(false);
    for (const QString& path : entries) {
        QAction* action = menu.addAction(QDir::toNativeSeparators(path));
        // A file that is gone, or no file any more, cannot be opened.
        action->setEnabled(QFileInfo(path).isFile());
        connect(action, &QAction::triggered, this, [this, path] { m_fnOpen(path); });
    }
    menu.exec(m_button->mapToGlobal(at));
}
