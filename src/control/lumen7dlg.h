// The control center: the window with one button per operation and a status
// line, the owner of the drawing window, and the state machine of the current
// action that the mouse drives in the drawing window.
#pragma once

#include "control/DrawingFiles.h"
#include "dialogs/CadActions.h"
#include "database/DrawingSnapshot.h"
#include "control/UndoHistory.h"
#include "dialogs/DialogHost.h"
#include "edit/Editor.h"
#include "geometry/GO_Point.h"
#include "view/CadMessages.h"
#include "view/CadView.h"

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct CClipboardContent;
struct CLeftAutosave;
class CAutosave;
class CSharedFileGuard;
class CCurrentDocument;
class CRecentFiles;
class CHistoryControls;
class CSnapSwitches;
class CStatusLine;
class CGO_Database;
class CGO_GeoObject;


class CCadDlg : public QDialog, public ICadMessageReceiver, public IDialogHost {
    Q_OBJECT
public:
    // Ids of the buttons in template 102.
    enum {
        IDC_QUIT = 2,
        IDC_SAVE = 3,
        IDC_LOAD = 4,
        IDC_DRAW_LINE = 1011,
        IDC_DRAW_CIRCLE = 1012,
        IDC_DELETE_OBJECT = 1013,
        IDC_MOVE_OBJECT = 1014,
        IDC_ROTATE_OBJECT = 1015,
        IDC_SCALE_OBJECT = 1016,
        IDC_FLIP_OBJECT = 1017,
        IDC_DRAW_ARC = 1018,
        IDC_CHANGE_WC = 1029,
        IDC_DRAW_POLYLINE = 1030,
        IDC_MEASURE = 1031,
        IDC_TRIM = 1032,
        IDC_OFFSET = 1033,
        IDC_UNDO = 1040,
        IDC_REDO = 1041,
        IDC_SHOW_ALL = 1042,
        IDC_EXPORT = 1043,
        IDC_PRINT = 1044,
        IDC_NEW = 1045,
        IDC_SNAP_ENDPOINT = 1050,
        IDC_SNAP_MIDPOINT = 1051,
        IDC_SNAP_CENTER = 1052,
        IDC_SNAP_QUADRANT = 1053,
        IDC_SNAP_INTERSECTION = 1054,
        IDC_SNAP_GRID = 1055,
        IDC_ENTRY = 1060,
    };

    // Asks for the path of a file to open, save or export (the purposes of
    // CDrawingFiles); an empty result means the user cancelled.
    using FileChooser = CDrawingFiles::FileChooser;

    // The one control center, created on the first call and never destroyed.
    static CCadDlg* GetInstance();

    CCadView* GetView() { return &m_view; }
    CUndoHistory* GetHistory() { return &m_history; }
    // What the operation dialogs read and change, handed to each of them.
    int GetAction() override { return m_nAction; }
    CGO_Point GetPoint() override { return m_view.GetPoint(); }
    CGO_Point GetFirstPoint() override { return m_ptFirst; }
    // With a selection under way, the first of its objects stands for all.
    int GetPickedId() override { return m_groupIds.empty() ? m_view.GetPickedId() : m_groupIds.front(); }
    std::vector<int> TargetsOf(int id) override;
    CGraphics* GetGraphics() override { return m_view.GetGraphics(); }
    CEditor& GetEditor() override { return m_editor; }
    void SetCaption(const QString& caption) override { m_view.setTitle(caption); }
    int ViewSide() override;
    void ShowRefusal(const QString& reason) override { m_strRefusal = reason; }
    QRect PlacementArea() override { return isVisible() ? frameGeometry() : QRect(); }

    // Initialises the window on the first call (logger, status bar, drawing
    // window, first draw) and shows it.
    void Open();
    // Opens the control center and waits, without blocking the drawing window,
    // until "Beenden", Escape or the close box ends it. Returns RESULT_CANCEL
    // for these.
    int DoModal();

    QString GetStatusText() const;
    QString GetCoordinateText() const;
    void SetStatusText(const QString& text);
    QWidget* GetControl(int id) const { return m_controls.value(id); }
    // Replaces the file dialogs of "Speichern", "Laden" and "Exportieren…",
    // and the print dialog of "Drucken…".
    void SetFileChooser(FileChooser chooser) { m_files.SetFileChooser(std::move(chooser)); }
    void SetPrintDialog(CDrawingPrint::PrintDialog dialog) { m_files.SetPrintDialog(std::move(dialog)); }
    // Loads a drawing file as "Laden" does once the file is chosen; the
    // program's start uses it for the file named on the command line.
    // A drawing that would show nothing of itself in the world range is
    // fitted, and the status line says so.
    void LoadFile(const QString& path);
    // The file named at the start: loaded and always fitted, as "Alles
    // zeigen" does.
    void LoadStartFile(const QString& path);
    // The drawing's file and whether it has unsaved changes.
    const CCurrentDocument* GetDocument() const { return m_pDocument; }
    // At the start: offers the newest autosave an instance no longer running
    // left behind (RecoveryOffer.cpp). True when the drawing was restored.
    bool OfferRecovery();
    CAutosave* GetAutosave() { return m_pAutosave; }
    // False when the drawing window could not be created.
    bool HasDrawingWindow() const { return m_bViewCreated; }

    long SendCadMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

    // Buttons of the control center.
    void OnChangeWorldCoordinates();
    void OnDrawLine();
    void OnDrawCircle();
    void OnDeleteObject();
    void OnMoveObject();
    void OnRotateObject();
    void OnScaleObject();
    void OnFlipObject();
    void OnSave();
    void OnLoad();
    void OnExport();
    void OnPrint();
    void OnQuit();
    // Ctrl+S: saves to the current file without asking; asks when there is
    // none yet.
    void OnSaveToCurrentFile();
    // "Neu" and Ctrl+N: an empty drawing, after the unsaved-changes question.
    void OnNew();
    // "Alles zeigen": the whole drawing in view.
    void OnShowAll();

    // Results the drawing window reports.
    long OnObjectPicked(std::uintptr_t wParam, std::intptr_t lParam);
    long OnPointSet(std::uintptr_t wParam, std::intptr_t lParam);
    long OnDragDone(std::uintptr_t wParam, std::intptr_t lParam);
    long OnMenuClick(std::uintptr_t wParam, std::intptr_t lParam);
    // A coordinate or value typed into "Eingabe": taken by the step under way
    // (true), or refused with a status message and a warning (false).
    bool OnTypedEntry(const QString& text);

    // Escape and the close box end the control center like "Beenden". When
    // the drawing changed since it was last saved or loaded, the user is asked
    // first whether to save it, throw it away or go on (so is "Laden").
    void reject() override;
protected:
    void keyPressEvent(QKeyEvent* event) override;
public:
    // Ends the control center without asking (the program is being terminated).
    void Quit();

    CCadDlg(const CCadDlg&) = delete;
    CCadDlg& operator=(const CCadDlg&) = delete;

private:
    CCadDlg();

    bool OnInitDialog();
    void CreateStatusBar();
    void ConnectButtons();
    void ConnectHistory();
    void ConnectSnapSwitches();
    void ConnectTypedEntry();
    bool TakeTypedValue(double value, const QString& text);
    void RefuseTypedEntry(const QString& text, const char* germanReason);
    void ApplySnapKinds(unsigned kinds);
    long OnCommand(std::uintptr_t command);
    void StartOperation(int button);
    // Puts the action, the drawing window's mode (with a band from anchor
    // where the step has one) and the status text of the step in place.
    void EnterStep(int action, CGO_Point anchor = CGO_Point());
    void EndAction();
    // Selection and clipboard (SelectionActions.cpp, ClipboardActions.cpp).
    long OnSelectClick(std::uintptr_t name, std::intptr_t flags);
    long OnSelectRect(std::intptr_t flags);
    long OnContextMenu(std::uintptr_t name);
    long OnSelectionCommand(std::uintptr_t command);
    // Starts the button's operation on the selection; false when it has no
    // selection to act on.
    bool StartGroupOperation(int button);
    void DeleteSelection();
    // The objects the action under way acts on.
    std::vector<int> ActionTargets();
    void ShowGroupLists();
    // The status line's one message when a transform left the whole
    // selection as it was.
    void ReportGroupRefusal(const CEditOutcome& outcome);
    // The idle text, or how many objects are selected.
    QString IdleText();
    void CopySelection();
    void CutSelection();
    void BeginPaste();
    void PlacePaste(CGO_Point at);
    void DuplicateSelection();
    void ReportCreation(const CEditOutcome& outcome);
    void ArcPointSet(CGO_Point p);
    // "Linienzug", "Messen", and Enter repeating the last operation
    // (ChainActions.cpp).
    void ChainPointSet(CGO_Point p);
    void ContinueChain(CGO_Point last);
    void MeasurePointSet(CGO_Point p);
    void OnMouseDropped();
    void OnEnterKey();
    // Trim and offset (ModifyActions.cpp): false when the pick is not theirs.
    bool ModifyObjectPicked(int id);
    void OffsetPointSet(CGO_Point p);
    bool TakeOffsetDistance(double distance, const QString& text);
    void RunBaseDialog(int dialogAction);
    void ShowIllegalOperation();
    void ShowError(const QString& text);
    void Render();
    CGO_Database* GetDatabase();
    // Asks for a file and saves; false when cancelled or failed (then told).
    bool SaveDrawing();
    // What follows a load that replaced the drawing.
    void OnDrawingLoaded();
    // When the drawing changed since it was last saved or loaded, asks whether
    // to save it first; false when the user would rather go on with it.
    bool ConfirmDiscardChanges();
    // The file keys and the current file's pane (DocumentCommands.cpp).
    void ConnectDocument();
    void RunFileCommand(std::uintptr_t command);
    void UpdateDocumentState();
    // After a load: fits when asked to or when nothing would be visible;
    // returns the status text to show then, or an empty one.
    QString FitLoadedDrawing(bool always);
    enum class RecoveryOutcome { Restored, Declined, Damaged };
    RecoveryOutcome RestoreAutosave(CLeftAutosave& found, std::string& error);
    // The status line after a file flow: idle, or that the user stopped it.
    QString IdleOrCancelNote() const;

    CStatusLine* m_statusLine = nullptr;
    // Why the last dialog left the drawing as it was, for the status line.
    QString m_strRefusal;
    const QString m_szIdle;
    CCadView m_view;
    CUndoHistory m_history;
    CEditor m_editor;
    CGO_Point m_ptFirst;
    // The selection an operation acts on as a whole; empty for one picked object.
    std::vector<int> m_groupIds;
    // What a paste under way places.
    std::shared_ptr<CClipboardContent> m_pPaste;
    CGO_Point m_ptArcStart;
    // The chain of lines under way: its first point, the id of its first
    // line, and how many lines it has.
    CGO_Point m_ptChainStart;
    int m_nChainStartId = -1;
    int m_nChainLines = 0;
    // The button whose operation Enter repeats; 0 before the first.
    int m_nLastOperation = 0;
    // The distance typed for "Versetzen"; 0 until one is typed.
    double m_dOffsetDistance = 0;
    // A direction typed as "<a" for the band's next length, in degrees.
    bool m_bTypedAngle = false;
    double m_dTypedAngle = 0;
    int m_nAction = ACTION_IDLE;
    QIcon m_hIcon;
    // The drawing as last saved or loaded.
    CDrawingSnapshot m_savedDrawing;
    CDrawingFiles m_files;
    CSnapSwitches* m_pSnapSwitches = nullptr;
    // Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z in the control center; the drawing
    // window sends the same keys as commands.
    CHistoryControls* m_pHistoryControls = nullptr;

    CCurrentDocument* m_pDocument = nullptr;
    CRecentFiles* m_pRecentFiles = nullptr;
    CAutosave* m_pAutosave = nullptr;
    CSharedFileGuard* m_pSharedFiles = nullptr;
    bool m_bFitNextLoad = false;
    QString m_szLoadNote;

    QHash<int, QWidget*> m_controls;
    bool m_bInitialized = false;
    bool m_bViewCreated = false;
};
