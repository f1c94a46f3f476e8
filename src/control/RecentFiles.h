// The last eight drawing files loaded or saved, newest first, kept with
// QSettings, and offered in the context menu of the "Laden" button. A file
// that no longer exists is shown disabled.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QAbstractButton;

class CRecentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxEntries = 8;

    // open runs with the path of the entry chosen from the button's menu.
    CRecentFiles(QAbstractButton* loadButton, std::function<void(const QString&)> open);

    // Puts path at the top, once, and stores the list.
    void Add(const QString& path);
    QStringList Entries() const;

private:
    void ShowMenu(const QPoint& at);

    QAbstractButton* m_button;
    std::function<void(const QString&)> m_fnOpen;
};
