// The control center: builds its window from template 102, owns the drawing
// window, runs saving, loading, export and print through CDrawingFiles, and
// advances the current action with every result the drawing window reports.
#include "control/lumen7dlg.h"

#include "control/ActionEditKind.h"
#include "control/HistoryControls.h"
#include "control/StatusLine.h"
#include "control/UnsavedChangesQuestion.h"
#include "control/WindowPlacement.h"
#include "database/GO_Database.h"
#include "dialogs/DialogResult.h"
#include "dialogs/DialogRunner.h"
#include "dialogs/DialogTemplate.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "log/Logger.h"
#include "snap/SnapSwitches.h"
#include "snap/SnapTypes.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QMessageBox>
#include <QScreen>

namespace {

// The status texts; each hint ends in how to open the action's dialog instead.
const char* const TEXT_LINE_STARTED = "Aktion: 1. Punkt wählen | Menü: mittlere Maustaste";
const char* const TEXT_SECOND_POINT = "Aktion: 2. Punkt wählen | Menü: mittlere Maustaste";
const char* const TEXT_CIRCLE_STARTED = "Aktion: Mittelpunkt wählen | Menü: mittlere Maustaste";
const char* const TEXT_CIRCLE_RADIUS = "Aktion: Radius wählen | Menü: mittlere Maustaste";
const char* const TEXT_SELECT_OBJECT = "Aktion: Objekt auswählen | Menü: mittlere Maustaste";
const char* const TEXT_DRAG = "Aktion: Verschieben bei gedrückter Maustaste | Menü: mittlere Maustaste";
const char* const TEXT_BASE_POINT = "Aktion: Basispunkt lokalisieren | Menü: mittlere Maustaste";
const char* const TEXT_FLIP_LINE = "Aktion: Spiegelgerade zeichnen | Menü: mittlere Maustaste";
const char* const TEXT_ENTER_DATA = "Bitte geben Sie die gewünschten Daten ein.";
const char* const TEXT_SAVING = "Speichere Grafik...";
const char* const TEXT_LOADING = "Lade Grafik...";
const char* const TEXT_EXPORTING = "Exportiere Grafik...";
const char* const TEXT_PRINTING = "Drucke Grafik...";
const char* const TEXT_CHANGE_WC = "Weltkoordinaten ändern...";

const char* const DRAWING_WINDOW_TITLE = "CAD-Programm (-500, 500 | -500, 500)";
const char* const MESSAGE_BOX_TITLE = "lumen7";

// The runner answers 0 when the action has no dialog; only a dialog that was
// not cancelled may have changed the drawing.
bool DialogChangedDrawing(int result)
{
    return result != 0 && result != RESULT_CANCEL;
}

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
      m_history(*m_view.GetGraphics()->GetDatabase()), m_files(*m_view.GetGraphics(), this)
{
    // The templates and the icon are compiled into a static library; nothing
    // would pull them into the program without this reference.
    Q_INIT_RESOURCE(resources);
    m_hIcon = QIcon(QStringLiteral(":/icons/lumen7.png"));
    m_controls = BuildFromTemplate(this, DialogTemplate::Load(102));
    m_view.SetReceiver(this);
    m_view.SetCloseHandler([this] { reject(); });
    ConnectButtons();
    ConnectHistory();
    ConnectSnapSwitches();
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
        {IDC_DRAW_LINE, &CCadDlg::OnDrawLine},
        {IDC_DRAW_CIRCLE, &CCadDlg::OnDrawCircle},
        {IDC_DELETE_OBJECT, &CCadDlg::OnDeleteObject},
        {IDC_MOVE_OBJECT, &CCadDlg::OnMoveObject},
        {IDC_ROTATE_OBJECT, &CCadDlg::OnRotateObject},
        {IDC_SCALE_OBJECT, &CCadDlg::OnScaleObject},
        {IDC_FLIP_OBJECT, &CCadDlg::OnFlipObject},
        {IDC_CHANGE_WC, &CCadDlg::OnChangeWorldCoordinates},
        {IDC_SHOW_ALL, &CCadDlg::OnShowAll},
    };
    for (const auto& button : buttons) {
        auto* control = qobject_cast<QAbstractButton*>(m_controls.value(button.id));
        if (control != nullptr)
            connect(control, &QAbstractButton::clicked, this, button.handler);
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
        PlaceBesideDrawingWindow();

    CGraphics* graphics = m_view.GetGraphics();
    graphics->Init();
    if (m_bViewCreated) {
        m_view.MakeCurrent();
        graphics->Draw();
    }
    return true;
}

void CCadDlg::PlaceBesideDrawingWindow()
{
    const QScreen* screen = m_view.screen();
    if (screen == nullptr)
        return;
    // The control center is not framed yet; its decorations are taken to be
    // those of the drawing window.
    const QMargins frame = m_view.frameMargins();
    const QSize controlFrame = size().grownBy(frame);
    const CWindowLayout layout = PlaceWindows(screen->availableGeometry(), m_view.frameGeometry(), controlFrame);
    if (layout.drawingFrame != m_view.frameGeometry())
        m_view.resize(layout.drawingFrame.size().shrunkBy(frame));
    move(layout.controlFrame);
}

void CCadDlg::CreateStatusBar()
{
    m_statusLine = new CStatusLine(this, m_szIdle);
    connect(&m_view, &COpenGLMouse::CursorTextChanged, m_statusLine, &CStatusLine::SetCoordinateText);
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
    // Whatever the drawing window's result leads to, mouse step or dialog, is
    // one step of the history if it changes the drawing.
    CUndoHistory::Scope step(m_history, EditKindOfAction(m_nAction));
    switch (message) {
    case WM_CAD_OBJECT_PICKED:
        return OnObjectPicked(wParam, lParam);
    case WM_CAD_POINT_SET:
        return OnPointSet(wParam, lParam);
    case WM_CAD_DRAG_DONE:
        return OnDragDone(wParam, lParam);
    case WM_CAD_MENU_CLICK:
        return OnMenuClick(wParam, lParam);
    default:
        return 0;
    }
}

void CCadDlg::reject()
{
    if (ConfirmDiscardChanges())
        done(RESULT_CANCEL);
}

bool CCadDlg::ConfirmDiscardChanges()
{
    const CDrawingSnapshot current = CDrawingSnapshot::Take(*GetDatabase());
    if (current.HasNoObjects() || current == m_savedDrawing)
        return true;
    // Escape, or a load, is one step away from losing the whole drawing: ask first.
    switch (AskAboutUnsavedChanges(this)) {
    case UnsavedChangesAnswer::Discard:
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
                                              [this] { EndAction(); }, [this] { Render(); });
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
        EndAction();
        Render();
        break;
    default:
        break;
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Save, load, world range

void CCadDlg::OnSave()
{
    SetStatusText(QString::fromUtf8(TEXT_SAVING));
    SaveDrawing();
    SetStatusText(m_szIdle);
}

bool CCadDlg::SaveDrawing()
{
    if (!m_files.Save())
        return false;
    m_savedDrawing = CDrawingSnapshot::Take(*GetDatabase());
    m_history.MarkSaved();
    return true;
}

// After a load the ids start at 0 again, so a pick made before it would name
// another object (or none); these actions hold such a pick.
bool CCadDlg::PickedObjectIsStale() const
{
    switch (m_nAction) {
    case ACTION_MOVE_DRAG:
    case ACTION_ROTATE_BASE:
    case ACTION_ROTATE_DIALOG:
    case ACTION_SCALE_BASE:
    case ACTION_SCALE_DIALOG:
    case ACTION_FLIP_START:
    case ACTION_FLIP_END:
        return true;
    default:
        return false;
    }
}

void CCadDlg::OnLoad()
{
    SetStatusText(QString::fromUtf8(TEXT_LOADING));
    if (ConfirmDiscardChanges()) {
        const QString path = m_files.ChooseFileToOpen();
        if (!path.isEmpty())
            LoadFile(path);
    }
    SetStatusText(m_szIdle);
}

void CCadDlg::LoadFile(const QString& path)
{
    SetStatusText(QString::fromUtf8(TEXT_LOADING));
    // The new drawing is on the screen before any message about the file.
    const auto loaded = [this] {
        OnDrawingLoaded();
        Render();
    };
    if (!m_files.Load(path, loaded))
        Render();
    SetStatusText(m_szIdle);
}

void CCadDlg::OnDrawingLoaded()
{
    m_savedDrawing = CDrawingSnapshot::Take(*GetDatabase());
    // The ids start at 0 again: no step of the history fits.
    m_history.Clear();
    if (PickedObjectIsStale())
        EndAction();
}

void CCadDlg::OnExport()
{
    SetStatusText(QString::fromUtf8(TEXT_EXPORTING));
    m_files.Export();
    SetStatusText(m_szIdle);
}

void CCadDlg::OnPrint()
{
    SetStatusText(QString::fromUtf8(TEXT_PRINTING));
    m_files.Print();
    SetStatusText(m_szIdle);
}

void CCadDlg::OnChangeWorldCoordinates()
{
    SetStatusText(QString::fromUtf8(TEXT_CHANGE_WC));
    if (RunWorldCoordinatesDialog() != RESULT_CANCEL)
        Render();
    SetStatusText(m_szIdle);
}

// ---------------------------------------------------------------------------
// The seven operation buttons start an action; whatever was under way is
// dropped as it stands.

void CCadDlg::StartAction(int action, int mode, const char* text)
{
    m_nAction = action;
    m_view.SetMode(mode);
    SetStatusText(QString::fromUtf8(text));
}

void CCadDlg::OnDrawLine()
{
    StartAction(ACTION_LINE_START, MODE_POINT, TEXT_LINE_STARTED);
}

void CCadDlg::OnDrawCircle()
{
    StartAction(ACTION_CIRCLE_CENTER, MODE_POINT, TEXT_CIRCLE_STARTED);
}

void CCadDlg::OnDeleteObject()
{
    StartAction(ACTION_DELETE_PICK, MODE_PICK, TEXT_SELECT_OBJECT);
}

void CCadDlg::OnMoveObject()
{
    StartAction(ACTION_MOVE_PICK, MODE_PICK, TEXT_SELECT_OBJECT);
}

void CCadDlg::OnRotateObject()
{
    StartAction(ACTION_ROTATE_PICK, MODE_PICK, TEXT_SELECT_OBJECT);
}

void CCadDlg::OnScaleObject()
{
    StartAction(ACTION_SCALE_PICK, MODE_PICK, TEXT_SELECT_OBJECT);
}

void CCadDlg::OnFlipObject()
{
    StartAction(ACTION_FLIP_PICK, MODE_PICK, TEXT_SELECT_OBJECT);
}

void CCadDlg::EndAction()
{
    m_nAction = ACTION_IDLE;
    m_view.SetMode(MODE_IDLE);
    SetStatusText(m_szIdle);
}

// ---------------------------------------------------------------------------
// Results from the drawing window

long CCadDlg::OnObjectPicked(std::uintptr_t, std::intptr_t)
{
    const int id = m_view.GetPickedId();
    LogDebug("Object #%i picked!", id);
    switch (m_nAction) {
    case ACTION_DELETE_PICK:
        GetDatabase()->RemoveById(id);
        EndAction();
        break;
    case ACTION_MOVE_PICK:
        SetStatusText(QString::fromUtf8(TEXT_DRAG));
        m_view.SetMode(MODE_DRAG);
        m_nAction = ACTION_MOVE_DRAG;
        break;
    case ACTION_ROTATE_PICK:
        SetStatusText(QString::fromUtf8(TEXT_BASE_POINT));
        m_view.SetMode(MODE_POINT);
        m_nAction = ACTION_ROTATE_BASE;
        break;
    case ACTION_SCALE_PICK:
        SetStatusText(QString::fromUtf8(TEXT_BASE_POINT));
        m_view.SetMode(MODE_POINT);
        m_nAction = ACTION_SCALE_BASE;
        break;
    case ACTION_FLIP_PICK:
        SetStatusText(QString::fromUtf8(TEXT_FLIP_LINE));
        m_view.SetMode(MODE_POINT);
        m_nAction = ACTION_FLIP_START;
        break;
    default:
        break;
    }
    Render();
    return 0;
}

long CCadDlg::OnPointSet(std::uintptr_t, std::intptr_t)
{
    const CGO_Point p = m_view.GetPoint();
    const double x = p.GetX();
    const double y = p.GetY();
    switch (m_nAction) {
    case ACTION_LINE_START:
        LogDebug("Mouse Event: Line start point located at (%4.1f, %4.1f).", x, y);
        m_ptFirst = p;
        m_nAction = ACTION_LINE_END;
        m_view.SetMode(MODE_POINT, p, BAND_LINE);
        SetStatusText(QString::fromUtf8(TEXT_SECOND_POINT));
        break;
    case ACTION_LINE_END: {
        LogDebug("Mouse Event: Line end point located at (%4.1f, %4.1f). Drawing line...", x, y);
        EndAction();
        auto* line = new CGO_Line();
        line->SetPoints(m_ptFirst, p);
        line->GenerateDisplayList();
        GetDatabase()->Add(line);
        Render();
        break;
    }
    case ACTION_CIRCLE_CENTER:
        LogDebug("Mouse Event: Circle center located at (%4.1f, %4.1f).", x, y);
        m_ptFirst = p;
        m_nAction = ACTION_CIRCLE_POINT;
        m_view.SetMode(MODE_POINT, p, BAND_LINE);
        m_view.SetPreview(PREVIEW_CIRCLE);
        SetStatusText(QString::fromUtf8(TEXT_CIRCLE_RADIUS));
        break;
    case ACTION_CIRCLE_POINT: {
        LogDebug("Mouse Event: Circle peripheral point located at (%4.1f, %4.1f). Drawing circle...", x, y);
        EndAction();
        auto* circle = new CGO_Circle();
        circle->SetCenterAndPoint(m_ptFirst, p);
        circle->GenerateDisplayList();
        GetDatabase()->Add(circle);
        Render();
        break;
    }
    case ACTION_ROTATE_BASE:
        LogDebug("Mouse Event: Base point for rotation located at (%4.1f, %4.1f).", x, y);
        RunBaseDialog(ACTION_ROTATE_DIALOG);
        break;
    case ACTION_SCALE_BASE:
        LogDebug("Mouse Event: Base point for scaling located at (%4.1f, %4.1f).", x, y);
        RunBaseDialog(ACTION_SCALE_DIALOG);
        break;
    case ACTION_FLIP_START:
        LogDebug("Mouse Event: Start point for flip straight located at (%4.1f, %4.1f).", x, y);
        m_ptFirst = p;
        m_view.SetMode(MODE_POINT, p, BAND_LINE);
        m_view.SetPreview(PREVIEW_MIRROR);
        m_nAction = ACTION_FLIP_END;
        SetStatusText(QString::fromUtf8(TEXT_SECOND_POINT));
        break;
    case ACTION_FLIP_END: {
        LogDebug("Mouse Event: End point for flip straight set: (%4.1f, %4.1f). Flipping...", x, y);
        // A missing object (its id was logged by the look-up) leaves the
        // drawing as it is; the action ends all the same.
        CGO_GeoObject* object = GetDatabase()->Find(m_view.GetPickedId());
        if (object != nullptr) {
            object->FlipOnStraight(m_ptFirst, p);
            // A refused mirror (it was logged) leaves the object as it was.
            if (!object->LastTransformRefused())
                object->GenerateDisplayList();
        }
        EndAction();
        Render();
        break;
    }
    default:
        ShowIllegalOperation();
        break;
    }
    return 0;
}

// The base point of a rotation or scaling is in; the dialog reads it and the
// picked object from the drawing window and asks for the angle or factor.
void CCadDlg::RunBaseDialog(int dialogAction)
{
    m_nAction = dialogAction;
    SetStatusText(QString::fromUtf8(TEXT_ENTER_DATA));
    if (DialogChangedDrawing(RunActionDialog(dialogAction)))
        Render();
    m_nAction = ACTION_IDLE;
    SetStatusText(m_szIdle);
}

void CCadDlg::ShowIllegalOperation()
{
    ShowError(QStringLiteral("Illegal operation!"));
    EndAction();
}

long CCadDlg::OnDragDone(std::uintptr_t, std::intptr_t)
{
    const int id = m_view.GetPickedId();
    CGO_GeoObject* object = GetDatabase()->Find(id);
    const CGO_Vector v = m_view.GetVector();

    if (object == nullptr) {
        // Nothing left to move; the look-up has logged the missing id.
        EndAction();
        Render();
        return 0;
    }
    if (v.Length() == 0.0f) {
        // A click without movement: the move is still wanted, so the drawing
        // window must wait for a drag again rather than stay idle.
        m_view.SetMode(MODE_DRAG);
        return 0;
    }
    if (m_nAction == ACTION_MOVE_DRAG) {
        LogDebug("Mouse Event: Moving picked object #%i by vector (%4.1f, %4.1f).", id,
                 static_cast<double>(v.GetX()), static_cast<double>(v.GetY()));
        object->Move(v);
    }
    EndAction();
    if (!object->LastTransformRefused())
        object->GenerateDisplayList();
    Render();
    return 0;
}

long CCadDlg::OnMenuClick(std::uintptr_t, std::intptr_t)
{
    SetStatusText(QString::fromUtf8(TEXT_ENTER_DATA));
    if (DialogChangedDrawing(RunActionDialog(m_nAction)))
        Render();
    m_nAction = ACTION_IDLE;
    SetStatusText(m_szIdle);
    return 0;
}
