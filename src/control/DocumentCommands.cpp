// The control center's work on the drawing as a document: the file keys of
// both windows, saving to the current file, a new drawing, the view after a
// load, the status line's pane with the file's name, and the save, load,
// export and print flows of the buttons.
#include "control/Autosave.h"
#include "control/CurrentDocument.h"
#include "control/FileDrop.h"
#include "control/OperationTable.h"
#include "control/RecentFiles.h"
#include "control/SharedFileGuard.h"
#include "control/StatusLine.h"
#include "control/lumen7dlg.h"
#include "database/GO_Database.h"
#include "log/Logger.h"
#include "view/FileKeys.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QKeySequence>
#include <QShortcut>

#include <vector>

namespace {

const char* const TEXT_FITTED = "Von der geladenen Zeichnung wäre nichts zu sehen gewesen: "
                                "die Ansicht zeigt jetzt alles.";
const char* const TEXT_SAVING = "Speichere Grafik...";
const char* const TEXT_LOADING = "Lade Grafik...";
const char* const TEXT_EXPORTING = "Exportiere Grafik...";
const char* const TEXT_PRINTING = "Drucke Grafik...";
const char* const TEXT_READ_ONLY = "Schreibgeschützt geöffnet: Strg+S fragt nach einem neuen Namen.";

} // namespace

void CCadDlg::ConnectDocument()
{
    m_pDocument = new CCurrentDocument(m_statusLine);
    m_pAutosave = new CAutosave(*GetDatabase(), this);
    m_pSharedFiles = new CSharedFileGuard();
    connect(&m_history, &CUndoHistory::Changed, this, [this] { UpdateDocumentState(); });
    connect(&m_history, &CUndoHistory::StepTaken, m_pAutosave, &CAutosave::NoteStep);
    for (const CFileKey& key : FileKeys()) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(key.keys)), this);
        const unsigned command = key.command;
        connect(shortcut, &QShortcut::activated, this, [this, command] { RunFileCommand(command); });
    }
    m_pRecentFiles = new CRecentFiles(qobject_cast<QAbstractButton*>(m_controls.value(IDC_LOAD)),
                                      [this](const QString& path) {
                                          if (ConfirmDiscardChanges())
                                              LoadFile(path);
                                      });
    auto* drop = new CFileDrop(
        this,
        [this](const QString& path) {
            // A drop while a question or dialog is open waits like the buttons do.
            if (!m_history.IsBusy() && ConfirmDiscardChanges())
                LoadFile(path);
        },
        [this](const QString& path) {
            ShowError(QString::fromUtf8("Die Datei '%1' kann nicht geöffnet werden: lumen7 öffnet nur .dat- und "
                                        ".dxf-Dateien.")
                          .arg(QFileInfo(path).fileName()));
        });
    drop->Watch(this);
    drop->Watch(&m_view);
    if (auto* button = qobject_cast<QAbstractButton*>(m_controls.value(IDC_NEW)))
        connect(button, &QAbstractButton::clicked, this, &CCadDlg::OnNew);
}

void CCadDlg::UpdateDocumentState()
{
    if (m_pDocument == nullptr)
        return;
    // A file newly the drawing's goes to the top of the recent files.
    const QString path = m_files.LastPath();
    if (!path.isEmpty() && QFileInfo(path).absoluteFilePath() != m_pDocument->Path())
        m_pRecentFiles->Add(path);
    m_pDocument->SetPath(m_files.LastPath());
    m_pDocument->SetModified(!m_history.IsClean());
    m_pSharedFiles->Follow(m_files.LastPath(), m_pSharedFiles->IsReadOnly(m_files.LastPath()));
    m_pAutosave->Follow(m_pDocument->IsModified(), m_pDocument->Path());
}

void CCadDlg::RunFileCommand(std::uintptr_t command)
{
    // A key during a modal question or dialog waits like the buttons do.
    if (m_history.IsBusy())
        return;
    switch (command) {
    case CAD_COMMAND_OPEN: OnLoad(); break;
    case CAD_COMMAND_SAVE: OnSaveToCurrentFile(); break;
    case CAD_COMMAND_SAVE_AS: OnSave(); break;
    case CAD_COMMAND_PRINT: OnPrint(); break;
    case CAD_COMMAND_NEW: OnNew(); break;
    default: break;
    }
}

void CCadDlg::OnSaveToCurrentFile()
{
    // A drawing opened read-only is saved under a new name.
    if (m_pDocument == nullptr || !m_pDocument->HasPath() || m_pSharedFiles->IsReadOnly(m_pDocument->Path())) {
        OnSave();
        return;
    }
    SetStatusText(QString::fromUtf8(TEXT_SAVING));
    if (m_files.SaveToCurrent(m_pDocument->Path())) {
        m_savedDrawing = CDrawingSnapshot::Take(*GetDatabase());
        m_history.MarkSaved();
        UpdateDocumentState();
    }
    SetStatusText(IdleOrCancelNote());
}

void CCadDlg::OnNew()
{
    if (!ConfirmDiscardChanges())
        return;
    EndAction();
    GetDatabase()->Clear();
    m_files.ForgetPath();
    OnDrawingLoaded();
    LogInfo("New drawing.");
    Render();
    SetStatusText(m_szIdle);
}

void CCadDlg::LoadStartFile(const QString& path)
{
    m_bFitNextLoad = true;
    LoadFile(path);
}

QString CCadDlg::FitLoadedDrawing(bool always)
{
    if (!m_bViewCreated)
        return QString();
    CGraphics* graphics = m_view.GetGraphics();
    if (!always) {
        const WorldCoordinates range = graphics->GetWorldCoordinates();
        std::vector<int> seen;
        graphics->GetIndex().Query(CGO_Box{range.xMin, range.yMin, range.xMax, range.yMax}, seen);
        if (!seen.empty() || graphics->GetDatabase()->GetCount() == 0)
            return QString();
    }
    m_view.FitToDrawing();
    return always ? QString() : QString::fromUtf8(TEXT_FITTED);
}

// ---------------------------------------------------------------------------
// Save, load, export, print

void CCadDlg::OnSave()
{
    SetStatusText(QString::fromUtf8(TEXT_SAVING));
    SaveDrawing();
    SetStatusText(IdleOrCancelNote());
}

bool CCadDlg::SaveDrawing()
{
    if (!m_files.Save())
        return false;
    m_savedDrawing = CDrawingSnapshot::Take(*GetDatabase());
    m_history.MarkSaved();
    UpdateDocumentState();
    return true;
}

void CCadDlg::OnLoad()
{
    SetStatusText(QString::fromUtf8(TEXT_LOADING));
    if (ConfirmDiscardChanges()) {
        const QString path = m_files.ChooseFileToOpen();
        if (!path.isEmpty()) {
            LoadFile(path);
            return;
        }
    }
    SetStatusText(m_szIdle);
}

void CCadDlg::LoadFile(const QString& path)
{
    SetStatusText(QString::fromUtf8(TEXT_LOADING));
    // The new drawing is on the screen before any message about the file.
    m_szLoadNote.clear();
    const bool fitAlways = m_bFitNextLoad;
    m_bFitNextLoad = false;
    const CSharedFileGuard::Choice choice =
        m_pSharedFiles != nullptr ? m_pSharedFiles->AskBeforeOpening(path, this) : CSharedFileGuard::Choice::Open;
    if (choice == CSharedFileGuard::Choice::Cancel) {
        SetStatusText(m_szIdle);
        return;
    }
    const bool readOnly = choice == CSharedFileGuard::Choice::OpenReadOnly;
    const auto loaded = [this, fitAlways, readOnly, path] {
        if (m_pSharedFiles != nullptr)
            m_pSharedFiles->Follow(path, readOnly);
        OnDrawingLoaded();
        m_szLoadNote = FitLoadedDrawing(fitAlways);
        if (readOnly && m_szLoadNote.isEmpty())
            m_szLoadNote = QString::fromUtf8(TEXT_READ_ONLY);
        Render();
    };
    if (!m_files.Load(path, loaded))
        Render();
    SetStatusText(m_szLoadNote.isEmpty() ? IdleOrCancelNote() : m_szLoadNote);
}

QString CCadDlg::IdleOrCancelNote() const
{
    return m_files.CancelNote().isEmpty() ? m_szIdle : m_files.CancelNote();
}

void CCadDlg::OnDrawingLoaded()
{
    m_savedDrawing = CDrawingSnapshot::Take(*GetDatabase());
    // The ids start at 0 again: no step of the history fits.
    m_history.Clear();
    UpdateDocumentState();
    // The ids start at 0 again, so a pick made before would name another
    // object, or none.
    if (ActionHoldsPick(m_nAction))
        EndAction();
}

void CCadDlg::OnExport()
{
    SetStatusText(QString::fromUtf8(TEXT_EXPORTING));
    m_files.Export();
    SetStatusText(IdleOrCancelNote());
}

void CCadDlg::OnPrint()
{
    SetStatusText(QString::fromUtf8(TEXT_PRINTING));
    m_files.Print();
    SetStatusText(IdleOrCancelNote());
}
