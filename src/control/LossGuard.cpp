#include "control/LossGuard.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace {

QString Canonical(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

void CLossGuard::Remember(const QString& path, const CSkippedEntities& skipped)
{
    m_skipped = skipped;
    m_path = skipped.IsEmpty() ? QString() : Canonical(path);
}

bool CLossGuard::Guards(const QString& path) const
{
    return !m_path.isEmpty() && Canonical(path) == m_path;
}

QString CLossGuard::Text() const
{
    QStringList parts;
    for (const auto& entry : m_skipped.ByType())
        parts << QStringLiteral("%1 %2").arg(entry.second).arg(QString::fromStdString(entry.first));
    if (m_skipped.PaperSpace() > 0)
        parts << QString::fromUtf8("%1 im Papierbereich").arg(m_skipped.PaperSpace());
    const bool one = m_skipped.Total() == 1;
    return QString::fromUtf8(one ? "%1 enthielt %2 Element, das lumen7 nicht übernommen hat (%3). "
                                   "Beim Überschreiben geht es verloren."
                                 : "%1 enthielt %2 Elemente, die lumen7 nicht übernommen hat (%3). "
                                   "Beim Überschreiben gehen sie verloren.")
        .arg(QFileInfo(m_path).fileName())
        .arg(m_skipped.Total())
        .arg(parts.join(QStringLiteral(", ")));
}

CLossGuard::Answer CLossGuard::Ask(const QString& path, QWidget* owner) const
{
    if (!Guards(path))
        return Answer::NotNeeded;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("lumen7"), Text(), QMessageBox::NoButton, owner);
    box.setWindowModality(Qt::ApplicationModal);
    QPushButton* newName = box.addButton(QString::fromUtf8("Unter neuem Namen speichern"), QMessageBox::AcceptRole);
    QPushButton* overwrite = box.addButton(QString::fromUtf8("Überschreiben"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QString::fromUtf8("Abbrechen"), QMessageBox::RejectRole);
    box.setDefaultButton(newName);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == newName)
        return Answer::SaveUnderNewName;
    if (box.clickedButton() == overwrite)
        return Answer::Overwrite;
    return Answer::Cancel;
}
