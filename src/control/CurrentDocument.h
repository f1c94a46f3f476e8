// The drawing's current file: the path it was last loaded from or saved to,
// and a pane in the status line with the file's name and " *" while there
// are unsaved changes; its tooltip holds the full path.
#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QStatusBar;

class CCurrentDocument : public QObject {
    Q_OBJECT
public:
    // The pane goes to the right end of statusLine.
    explicit CCurrentDocument(QStatusBar* statusLine);

    // Empty: a new drawing that has no file yet.
    void SetPath(const QString& path);
    const QString& Path() const { return m_path; }
    bool HasPath() const { return !m_path.isEmpty(); }
    void SetModified(bool modified);
    bool IsModified() const { return m_bModified; }

    // "platte.dat *", or "Unbenannt" for a drawing without a file.
    QString PaneText() const;
    QString PaneToolTip() const;

private:
    void Show();

    QLabel* m_pane = nullptr;
    QString m_path;
    bool m_bModified = false;
};
