#include "control/CurrentDocument.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>

CCurrentDocument::CCurrentDocument(QStatusBar* statusLine) : QObject(statusLine)
{
    if (statusLine != nullptr) {
        m_pane = new QLabel(statusLine);
        statusLine->addPermanentWidget(m_pane);
    }
    Show();
}

void CCurrentDocument::SetPath(const QString& path)
{
    m_path = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    Show();
}

void CCurrentDocument::SetModified(bool modified)
{
    if (m_bModified == modified)
        return;
    m_bModified = modified;
    Show();
}

QString CCurrentDocument::PaneText() const
{
    const QString name = HasPath() ? QFileInfo(m_path).fileName() : QString::fromUtf8("Unbenannt");
    return m_bModified ? name + QStringLiteral(" *") : name;
}

QString CCurrentDocument::PaneToolTip() const
{
    return HasPath() ? QDir::toNativeSeparators(m_path) : QString::fromUtf8("Noch nicht gespeichert");
}

void CCurrentDocument::Show()
{
    if (m_pane == nullptr)
        return;
    m_pane->setText(PaneText());
    m_pane->setToolTip(PaneToolTip());
}
