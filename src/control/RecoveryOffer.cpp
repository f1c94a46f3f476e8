// The control center's part in autosave: the offer at the start to recover a
// drawing that an instance killed or crashed left behind, and the restore.
#include "control/Autosave.h"
#include "control/AutosaveFolder.h"
#include "control/GermanReasons.h"
#include "control/LeftAutosaves.h"
#include "control/lumen7dlg.h"
#include "database/AutosaveFile.h"
#include "database/GO_Database.h"
#include "log/Logger.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace {

const char* const TEXT_RESTORED = "Die Zeichnung wurde wiederhergestellt; sie ist noch nicht gespeichert.";

bool AskToRecover(const CLeftAutosave& left, QWidget* parent)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("lumen7"),
                    QString::fromUtf8("Eine nicht gespeicherte Zeichnung von %1 wurde gefunden. Wiederherstellen?")
                        .arg(left.written.toString(QStringLiteral("HH:mm"))),
                    QMessageBox::NoButton, parent);
    const QString file = left.origin.isEmpty() ? QString::fromUtf8("Sie hatte noch keinen Dateinamen.")
                                               : QString::fromUtf8("Sie gehört zur Datei '%1'.").arg(left.origin);
    box.setInformativeText(file + QString::fromUtf8("\nOhne Wiederherstellen bleibt sie im Ordner '%1' erhalten.")
                                      .arg(autosavefolder::Path()));
    QPushButton* restore = box.addButton(QString::fromUtf8("Wiederherstellen"), QMessageBox::AcceptRole);
    QPushButton* decline = box.addButton(QString::fromUtf8("Nicht wiederherstellen"), QMessageBox::RejectRole);
    box.setDefaultButton(restore);
    box.setEscapeButton(decline);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return box.clickedButton() == restore;
}

} // namespace

bool CCadDlg::OfferRecovery()
{
    if (m_pAutosave == nullptr || !m_pAutosave->IsEnabled())
        return false;
    std::vector<CLeftAutosave> left = leftautosaves::Claim(m_pAutosave->Stem());
    for (CLeftAutosave& found : left) {
        const QByteArray path = found.DrawingPath().toUtf8();
        std::string error;
        RecoveryOutcome outcome = RecoveryOutcome::Damaged;
        if (autosave::CheckDrawingFile(QFile::encodeName(found.DrawingPath()).toStdString(), error))
            outcome = RestoreAutosave(found, error);
        if (outcome == RecoveryOutcome::Damaged) {
            const QString aside =
                leftautosaves::SetAside(found, QStringLiteral(".dat.beschaedigt"), QStringLiteral(".origin.beschaedigt"));
            LogWarn("Autosave damaged: %s: %s; %s", path.constData(), error.c_str(),
                    aside.isEmpty() ? "it could not be set aside" : ("set aside as " + aside.toStdString()).c_str());
            ShowError(QString::fromUtf8("Eine automatische Sicherung von %1 ist beschädigt und kann nicht "
                                        "wiederhergestellt werden: %2\n%3")
                          .arg(found.written.toString(QStringLiteral("HH:mm")),
                               GermanReason(error, FileTask::Load),
                               aside.isEmpty() ? QString::fromUtf8("Sie liegt weiter unter '%1'.").arg(found.DrawingPath())
                                               : QString::fromUtf8("Sie wurde als '%1' beiseitegelegt.").arg(aside)));
            continue;
        }
        if (outcome == RecoveryOutcome::Restored)
            return true;
        // Declined: kept aside as a drawing file "Laden" can open.
        const QString aside =
            leftautosaves::SetAside(found, QStringLiteral(".abgelehnt.dat"), QStringLiteral(".abgelehnt.origin"));
        LogInfo("Autosave declined: %s, kept as %s", path.constData(), aside.toUtf8().constData());
        return false;
    }
    return false;
}

CCadDlg::RecoveryOutcome CCadDlg::RestoreAutosave(CLeftAutosave& found, std::string& error)
{
    if (!AskToRecover(found, this))
        return RecoveryOutcome::Declined;
    CGO_Database* database = GetDatabase();
    if (database->Load(QFile::encodeName(found.DrawingPath()).constData()) < 0) {
        error = database->GetLastError();
        return RecoveryOutcome::Damaged;
    }
    // The drawing belongs to its own file again, with all its changes
    // unsaved: Ctrl+S writes there, after the usual questions.
    m_files.AdoptPath(found.origin);
    OnDrawingLoaded();
    m_savedDrawing = CDrawingSnapshot();
    m_history.MarkUnsaved();
    UpdateDocumentState();
    FitLoadedDrawing(true);
    Render();
    // The drawing's own autosave is on the disk before the old one goes.
    m_pAutosave->WriteNow();
    m_pAutosave->Wait();
    LogInfo("Autosave recovered: %s (file: '%s')", found.DrawingPath().toUtf8().constData(),
            found.origin.toUtf8().constData());
    leftautosaves::Remove(found);
    SetStatusText(QString::fromUtf8(TEXT_RESTORED));
    return RecoveryOutcome::Restored;
}
