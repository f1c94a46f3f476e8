// The control center: builds its window from template 102, owns the drawing
// window, and wires its parts. Saving, loading, export and print are in
// DocumentCommands.cpp.
// Its actions, which the drawing window advances, are in
// ControlCenterActions.cpp.
#include "control/lumen7dlg.h"

#include "control/Autosave.h"
#include "control/HistoryControls.h"
#include "control/OperationTable.h"
#include "control/StatusLine.h"
#include "control/UnsavedChangesQuestion.h"
#include "control/WindowPlacement.h"
#include "database/GO_Database.h"
#include "dialogs/DialogResult.h"
#include "dialogs/DialogTemplate.h"
#include "log/Logger.h"
#include "control/SnapSwitches.h"
#include "snap/SnapTypes.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QMessageBox>

namespace {

// The status texts of saving before a discard and of the world range.
const char* const TEXT_SAVING = "Speichere Grafik...";
const char* const TEXT_CHANGE_WC = "Weltkoordinaten ändern...";

const char* const DRAWING_WINDOW_TITLE = "CAD-Programm (-500, 500 | -500, 500)";
const char* const MESSAGE_BOX_TITLE = "lumen7";

} // namespace

CCadDlg* CCadDlg::GetInstance()
{
    // Deliberately never deleted: the drawing window, its scene and the
    // database live until the process ends.
    static CCadDlg* instance = new CCadDlg();
    return instance;
}

CCadDlg::CCadDlg()
    : QDialog(nullptr), m_szIdle(QStringLiteral("CAD Control Center")),
      m_history(*m_view.GetGraphics()->GetDatabase()), m_editor(*m_view.GetGraphics()->GetDatabase(), &m_history),
      m_files(*m_view.GetGraphics(), this)
{
    // The templates and the icon are compiled into a static library; nothing
    // would pull them into the program without this reference.
    Q_INIT_RESOURCE(resources);
    m_hIcon = QIcon(QStringLiteral(":/icons/lumen7.png"));
    m_controls = BuildFromTemplate(this, DialogTemplate::Load(102));
    m_view.SetReceiver(this);
    m_history.SetSelection(m_view.GetSelection());
    m_view.SetCloseHandler([this] { reject(); });
    ConnectButtons();
    ConnectHistory();
    ConnectSnapSwitches();
    ConnectTypedEntry();
    connect(&m_view, &COpenGLMouse::MouseDropped, this, &CCadDlg::OnMouseDropped);
}

void CCadDlg::ConnectSnapSwitches()
{
    const auto button = [this](int id) { return qobject_cast<QAbstractButton*>(m_controls.value(id)); };
    m_pSnapSwitches = new CSnapSwitches({button(IDC_SNAP_ENDPOINT), button(IDC_SNAP_MIDPOINT),
                                         button(IDC_SNAP_CENTER), button(IDC_SNAP_QUADRANT),
                                         button(IDC_SNAP_INTERSECTION), button(IDC_SNAP_GRID)},
                                        this);
    connect(m_pSnapSwitches, &CSnapSwitches::KindsChanged, this, &CCadDlg::ApplySnapKinds);
    ApplySnapKinds(m_pSnapSwitches->GetKinds());
}

void CCadDlg::ApplySnapKinds(unsigned kinds)
{
    m_view.SetSnapKinds(kinds);
    CGraphics* graphics = m_view.GetGraphics();
    if (graphics->IsGridShown() != ((kinds & SNAP_GRID) != 0)) {
        graphics->SetGridShown((kinds & SNAP_GRID) != 0);
        Render();
    }
}

void CCadDlg::ConnectButtons()
{
    const struct {
        int id;
        void (CCadDlg::*handler)();
    } buttons[] = {
        {IDC_QUIT, &CCadDlg::OnQuit},
        {IDC_SAVE, &CCadDlg::OnSave},
        {IDC_LOAD, &CCadDlg::OnLoad},
        {IDC_EXPORT, &CCadDlg::OnExport},
        {IDC_PRINT, &CCadDlg::OnPrint},
        {IDC_CHANGE_WC, &CCadDlg::OnChangeWorldCoordinates},
        {IDC_SHOW_ALL, &CCadDlg::OnShowAll},
    };
    for (const auto& button : buttons) {
        auto* control = qobject_cast<QAbstractButton*>(m_controls.value(button.id));
        if (control != nullptr)
            connect(control, &QAbstractButton::clicked, this, button.handler);
    }
    for (const COperation* operation = OperationsBegin(); operation != OperationsEnd(); ++operation) {
        auto* control = qobject_cast<QAbstractButton*>(m_controls.value(operation->button));
        const int id = operation->button;
        if (control != nullptr)
            connect(control, &QAbstractButton::clicked, this, [this, id] { StartOperation(id); });
    }
}

void CCadDlg::Open()
{
    if (!m_bInitialized) {
        m_bInitialized = true;
        OnInitDialog();
    }
    show();
}

int CCadDlg::DoModal()
{
    // Not QDialog::exec(): that makes the window application-modal, and the
    // drawing window would then receive no clicks.
    setResult(0);
    Open();
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    if (isVisible())
        loop.exec();
    return result();
}

bool CCadDlg::OnInitDialog()
{
    setWindowIcon(m_hIcon);

    // The first use of the logger: it creates "stdout.txt" here.
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
    LogInfo("Logger initialized.");

    CreateStatusBar();

    m_bViewCreated = m_view.Create(DRAWING_WINDOW_TITLE, 0, 0, 500, 540);
    if (!m_bViewCreated) {
        LogWarn("The drawing window could not be created: no usable OpenGL context.");
        ShowError(QString::fromUtf8("Das Zeichenfenster konnte nicht erstellt werden: "
                                    "es steht kein nutzbares OpenGL zur Verfügung. "
                                    "Zeichnungen können weiterhin geladen, gespeichert und "
                                    "über die Dialoge bearbeitet werden."));
    }

    if (m_bViewCreated)
        PlaceBeside(*this, m_view);

    CGraphics* graphics = m_view.GetGraphics();
    graphics->Init();
    if (m_bViewCreated) {
        m_view.MakeCurrent();
        graphics->Draw();
    }
    return true;
}

void CCadDlg::CreateStatusBar()
{
    m_statusLine = new CStatusLine(this, m_szIdle);
    connect(&m_view, &COpenGLMouse::CursorTextChanged, m_statusLine, &CStatusLine::SetCoordinateText);
    ConnectDocument();
}

QString CCadDlg::GetStatusText() const
{
    return m_statusLine != nullptr ? m_statusLine->Text() : QString();
}

QString CCadDlg::GetCoordinateText() const
{
    return m_statusLine != nullptr ? m_statusLine->CoordinateText() : QString();
}

void CCadDlg::SetStatusText(const QString& text)
{
    if (m_statusLine != nullptr)
        m_statusLine->SetText(text);
}

long CCadDlg::SendCadMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    if (message == WM_CAD_COMMAND)
        return OnCommand(wParam);
    // Undo and redo wait until the result is handled, its dialog closed.
    CUndoHistory::Busy busy(m_history);
    switch (message) {
    case WM_CAD_OBJECT_PICKED:
        return OnObjectPicked(wParam, lParam);
    case WM_CAD_POINT_SET:
        return OnPointSet(wParam, lParam);
    case WM_CAD_DRAG_DONE:
        return OnDragDone(wParam, lParam);
    case WM_CAD_MENU_CLICK:
        return OnMenuClick(wParam, lParam);
    case WM_CAD_SELECT_CLICK:
        return OnSelectClick(wParam, lParam);
    case WM_CAD_SELECT_RECT:
        return OnSelectRect(lParam);
    case WM_CAD_CONTEXT_MENU:
        return OnContextMenu(wParam);
    default:
        return 0;
    }
}

void CCadDlg::reject()
{
    if (ConfirmDiscardChanges()) {
        // Whatever was not saved was given up: the autosave goes too.
        if (m_pAutosave != nullptr)
            m_pAutosave->Release();
        done(RESULT_CANCEL);
    }
}

bool CCadDlg::ConfirmDiscardChanges()
{
    const CDrawingSnapshot current = CDrawingSnapshot::Take(*GetDatabase());
    if (current.HasNoObjects() || current == m_savedDrawing)
        return true;
    // Escape, or a load, is one step away from losing the whole drawing: ask first.
    switch (AskAboutUnsavedChanges(this)) {
    case UnsavedChangesAnswer::Discard:
        if (m_pAutosave != nullptr)
            m_pAutosave->Remove();
        return true;
    case UnsavedChangesAnswer::Save: {
        const QString status = GetStatusText();
        SetStatusText(QString::fromUtf8(TEXT_SAVING));
        const bool saved = SaveDrawing();
        SetStatusText(status);
        return saved;
    }
    case UnsavedChangesAnswer::Cancel:
        break;
    }
    return false;
}

void CCadDlg::Quit()
{
    // Nobody was asked: the changes stay in the autosave for the next start.
    if (m_pAutosave != nullptr) {
        m_pAutosave->WriteNow();
        m_pAutosave->Wait();
    }
    done(RESULT_CANCEL);
}

void CCadDlg::OnQuit()
{
    reject();
}

void CCadDlg::Render()
{
    if (m_bViewCreated)
        m_view.Render();
}

CGO_Database* CCadDlg::GetDatabase()
{
    return m_view.GetGraphics()->GetDatabase();
}

void CCadDlg::ShowError(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(MESSAGE_BOX_TITLE), text, QMessageBox::Ok, this);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

// ---------------------------------------------------------------------------
// Undo and redo

void CCadDlg::ConnectHistory()
{
    const auto button = [this](int id) { return qobject_cast<QAbstractButton*>(m_controls.value(id)); };
    // A step ends the operation under way first, as another operation
    // button would.
    m_pHistoryControls = new CHistoryControls(m_history, this, button(IDC_UNDO), button(IDC_REDO),
                                              [this] { EndAction(); },
                                              [this] {
                                                  SetStatusText(IdleText());
                                                  Render();
                                              });
}

void CCadDlg::OnShowAll()
{
    if (m_bViewCreated)
        m_view.FitToDrawing();
}

long CCadDlg::OnCommand(std::uintptr_t command)
{
    switch (command) {
    case CAD_COMMAND_UNDO:
        m_pHistoryControls->Undo();
        break;
    case CAD_COMMAND_REDO:
        m_pHistoryControls->Redo();
        break;
    case CAD_COMMAND_CANCEL:
        // With nothing under way, Escape lets go of the selection.
        if (m_nAction == ACTION_IDLE)
            m_view.GetSelection()->Clear();
        EndAction();
        Render();
        break;
    case CAD_COMMAND_ENTER:
        OnEnterKey();
        break;
    default:
        if (command >= CAD_COMMAND_OPEN && command <= CAD_COMMAND_NEW) {
            RunFileCommand(command);
            break;
        }
        return OnSelectionCommand(command);
    }
    return 0;
}

// ---------------------------------------------------------------------------
// World range

void CCadDlg::OnChangeWorldCoordinates()
{
    SetStatusText(QString::fromUtf8(TEXT_CHANGE_WC));
    m_strRefusal.clear();
    if (RunDialog(DIALOG_CHANGE_WC, *this) != RESULT_CANCEL)
        Render();
    SetStatusText(m_strRefusal.isEmpty() ? m_szIdle : m_strRefusal);
    m_strRefusal.clear();
}

int CCadDlg::ViewSide()
{
    return m_bViewCreated ? m_view.PixelMapping().Side() : 0;
}
