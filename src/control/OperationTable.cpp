// The tables of operations and of their steps.
#include "control/OperationTable.h"

#include "control/lumen7dlg.h"

#include <iterator>

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
const char* const TEXT_ARC_START = "Aktion: Startpunkt wählen | Menü: mittlere Maustaste";
const char* const TEXT_ARC_END = "Aktion: Endwinkel wählen | Menü: mittlere Maustaste";
const char* const TEXT_ENTER_DATA = "Bitte geben Sie die gewünschten Daten ein.";
const char* const TEXT_PASTE_PLACE = "Aktion: Einfügepunkt wählen | Abbrechen: Esc";
const char* const TEXT_POLYLINE_START = "Linienzug: Startpunkt wählen | Ende: rechte Maustaste oder Esc";
const char* const TEXT_POLYLINE_NEXT =
    "Linienzug: nächsten Punkt wählen | Schließen: Startpunkt | Ende: rechte Maustaste, Esc oder Enter";
const char* const TEXT_MEASURE_START = "Messen: 1. Punkt wählen | Abbrechen: Esc";
const char* const TEXT_MEASURE_END = "Messen: 2. Punkt wählen | Abbrechen: Esc";
const char* const TEXT_TRIM_PICK = "Aktion: Zu entfernendes Stück anklicken | Ende: Esc";
const char* const TEXT_TRIM_NEXT = "Aktion: Nächstes zu entfernendes Stück anklicken | Ende: Esc";
const char* const TEXT_OFFSET_PICK_THROUGH =
    "Aktion: Objekt wählen (Kopie durch einen Punkt) oder Abstand eingeben | Ende: Esc";
const char* const TEXT_OFFSET_THROUGH = "Aktion: Punkt wählen, durch den die Kopie geht | Ende: Esc";
const char* const TEXT_OFFSET_PICK = "Aktion: Objekt wählen | Ende: Esc";
const char* const TEXT_OFFSET_SIDE = "Aktion: Seite wählen | Ende: Esc";

const COperation kOperations[] = {
    {CCadDlg::IDC_DRAW_LINE, ACTION_LINE_START, ACTION_LINE_END, DIALOG_LINE, ACTION_LINE_END, false},
    {CCadDlg::IDC_DRAW_CIRCLE, ACTION_CIRCLE_CENTER, ACTION_CIRCLE_POINT, DIALOG_CIRCLE, ACTION_CIRCLE_POINT, false},
    {CCadDlg::IDC_DELETE_OBJECT, ACTION_DELETE_PICK, ACTION_DELETE_PICK, DIALOG_DELETE, ACTION_DELETE_PICK, true},
    {CCadDlg::IDC_MOVE_OBJECT, ACTION_MOVE_PICK, ACTION_MOVE_DRAG, DIALOG_MOVE, ACTION_MOVE_DRAG, true},
    {CCadDlg::IDC_ROTATE_OBJECT, ACTION_ROTATE_PICK, ACTION_ROTATE_DIALOG, DIALOG_ROTATE, ACTION_ROTATE_DIALOG, true},
    {CCadDlg::IDC_SCALE_OBJECT, ACTION_SCALE_PICK, ACTION_SCALE_DIALOG, DIALOG_SCALE, ACTION_SCALE_DIALOG, true},
    // After the first point of the mirror line the middle button ends the
    // operation without a dialog.
    {CCadDlg::IDC_FLIP_OBJECT, ACTION_FLIP_PICK, ACTION_FLIP_END, DIALOG_FLIP, ACTION_FLIP_START, true},
    {CCadDlg::IDC_DRAW_ARC, ACTION_ARC_CENTER, ACTION_ARC_END, DIALOG_ARC, ACTION_ARC_END, false},
    // Neither has a dialog: the middle button just ends them.
    {CCadDlg::IDC_DRAW_POLYLINE, ACTION_POLYLINE_START, ACTION_POLYLINE_NEXT, DIALOG_NONE, ACTION_IDLE, false},
    {CCadDlg::IDC_MEASURE, ACTION_MEASURE_START, ACTION_MEASURE_END, DIALOG_NONE, ACTION_IDLE, false},
    // Trim and offset stay chosen for the next object until Escape; they
    // have no dialog, so the middle button just ends them.
    {CCadDlg::IDC_TRIM, ACTION_TRIM_PICK, ACTION_TRIM_NEXT, DIALOG_NONE, ACTION_TRIM_NEXT, false, false},
    {CCadDlg::IDC_OFFSET, ACTION_OFFSET_PICK_THROUGH, ACTION_OFFSET_SIDE, DIALOG_NONE, ACTION_OFFSET_SIDE, true,
     false},
};

const COperationStep kSteps[] = {
    {ACTION_LINE_START, MODE_POINT, false, PREVIEW_NONE, TEXT_LINE_STARTED},
    {ACTION_LINE_END, MODE_POINT, true, PREVIEW_NONE, TEXT_SECOND_POINT},
    {ACTION_CIRCLE_CENTER, MODE_POINT, false, PREVIEW_NONE, TEXT_CIRCLE_STARTED},
    {ACTION_CIRCLE_POINT, MODE_POINT, true, PREVIEW_CIRCLE, TEXT_CIRCLE_RADIUS},
    {ACTION_DELETE_PICK, MODE_PICK, false, PREVIEW_NONE, TEXT_SELECT_OBJECT},
    {ACTION_MOVE_PICK, MODE_PICK, false, PREVIEW_NONE, TEXT_SELECT_OBJECT},
    {ACTION_MOVE_DRAG, MODE_DRAG, false, PREVIEW_NONE, TEXT_DRAG},
    {ACTION_ROTATE_PICK, MODE_PICK, false, PREVIEW_NONE, TEXT_SELECT_OBJECT},
    {ACTION_ROTATE_BASE, MODE_POINT, false, PREVIEW_NONE, TEXT_BASE_POINT},
    {ACTION_ROTATE_DIALOG, MODE_IDLE, false, PREVIEW_NONE, TEXT_ENTER_DATA},
    {ACTION_SCALE_PICK, MODE_PICK, false, PREVIEW_NONE, TEXT_SELECT_OBJECT},
    {ACTION_SCALE_BASE, MODE_POINT, false, PREVIEW_NONE, TEXT_BASE_POINT},
    {ACTION_SCALE_DIALOG, MODE_IDLE, false, PREVIEW_NONE, TEXT_ENTER_DATA},
    {ACTION_FLIP_PICK, MODE_PICK, false, PREVIEW_NONE, TEXT_SELECT_OBJECT},
    {ACTION_FLIP_START, MODE_POINT, false, PREVIEW_NONE, TEXT_FLIP_LINE},
    {ACTION_FLIP_END, MODE_POINT, true, PREVIEW_MIRROR, TEXT_SECOND_POINT},
    {ACTION_PASTE_PLACE, MODE_POINT, false, PREVIEW_NONE, TEXT_PASTE_PLACE},
    {ACTION_ARC_CENTER, MODE_POINT, false, PREVIEW_NONE, TEXT_CIRCLE_STARTED},
    {ACTION_ARC_START, MODE_POINT, true, PREVIEW_CIRCLE, TEXT_ARC_START},
    {ACTION_ARC_END, MODE_POINT, true, PREVIEW_ARC, TEXT_ARC_END},
    {ACTION_POLYLINE_START, MODE_POINT, false, PREVIEW_NONE, TEXT_POLYLINE_START},
    {ACTION_POLYLINE_NEXT, MODE_POINT, true, PREVIEW_NONE, TEXT_POLYLINE_NEXT},
    {ACTION_MEASURE_START, MODE_POINT, false, PREVIEW_NONE, TEXT_MEASURE_START},
    {ACTION_MEASURE_END, MODE_POINT, true, PREVIEW_NONE, TEXT_MEASURE_END},
    {ACTION_TRIM_PICK, MODE_PICK, false, PREVIEW_NONE, TEXT_TRIM_PICK},
    {ACTION_TRIM_NEXT, MODE_PICK, false, PREVIEW_NONE, TEXT_TRIM_NEXT},
    {ACTION_OFFSET_PICK_THROUGH, MODE_PICK, false, PREVIEW_NONE, TEXT_OFFSET_PICK_THROUGH, true},
    {ACTION_OFFSET_THROUGH, MODE_POINT, false, PREVIEW_NONE, TEXT_OFFSET_THROUGH, true},
    {ACTION_OFFSET_PICK, MODE_PICK, false, PREVIEW_NONE, TEXT_OFFSET_PICK, true},
    {ACTION_OFFSET_SIDE, MODE_POINT, false, PREVIEW_NONE, TEXT_OFFSET_SIDE, true},
};

} // namespace

const COperation* OperationOfAction(int action)
{
    for (const COperation& operation : kOperations) {
        if (action >= operation.firstAction && action <= operation.lastAction)
            return &operation;
    }
    return nullptr;
}

const COperation* OperationOfButton(int button)
{
    for (const COperation& operation : kOperations) {
        if (operation.button == button)
            return &operation;
    }
    return nullptr;
}

const COperation* OperationsBegin() { return std::begin(kOperations); }
const COperation* OperationsEnd() { return std::end(kOperations); }

const COperationStep* StepOfAction(int action)
{
    for (const COperationStep& step : kSteps) {
        if (step.action == action)
            return &step;
    }
    return nullptr;
}

bool StepTakesValue(int action)
{
    const COperationStep* step = StepOfAction(action);
    return step != nullptr && step->takesValue;
}

bool ActionHoldsPick(int action)
{
    // A step that waits for a pick holds none yet.
    const COperation* operation = OperationOfAction(action);
    const COperationStep* step = StepOfAction(action);
    return operation != nullptr && operation->needsPick && action > operation->firstAction &&
           (step == nullptr || step->mode != MODE_PICK);
}

int RunActionDialog(int action, IDialogHost& host)
{
    const COperation* operation = OperationOfAction(action);
    if (operation == nullptr || action > operation->lastDialogAction)
        return 0;
    return RunDialog(operation->dialog, host);
}
