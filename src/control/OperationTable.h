// The operations of the control center, one row each, and the steps they go
// through: what the buttons start, what the status line says at each step,
// which mode the drawing window is in, which dialog the middle button opens
// and whether a step holds a picked object. The buttons, the dialog runner
// and the check for picks made stale by a load all read these tables.
#pragma once

#include "dialogs/DialogRunner.h"

class IDialogHost;

struct COperation {
    int button;           // the control center's button (IDC_)
    int firstAction;      // the action the button starts
    int lastAction;       // the last action of its steps
    DialogKind dialog;    // what the middle button opens
    int lastDialogAction; // the middle button opens the dialog up to this action
    bool needsPick;       // the steps after the first hold a picked object
    // Whether a selection stands for the pick; an operation that makes new
    // objects from one object at a time ignores it.
    bool takesSelection = true;
};

// One step of an operation: the drawing window's mode and the status text.
struct COperationStep {
    int action;
    int mode;
    // Where the step has a first point, a band runs from it to the cursor,
    // and the preview shows what the next click would make (PREVIEW_).
    bool band;
    int preview;
    const char* statusText;
    // A number typed while the step waits for a pick is its value (a
    // distance); digits typed in the drawing window go to "Eingabe" then too.
    bool takesValue = false;
};

// The row of the operation the action belongs to, or null (idle).
const COperation* OperationOfAction(int action);
const COperation* OperationOfButton(int button);
// Every operation, in the order of their buttons.
const COperation* OperationsBegin();
const COperation* OperationsEnd();

// The step of an action; null for idle and unknown actions.
const COperationStep* StepOfAction(int action);

// Whether a plain number typed at the action is its value (COperationStep).
bool StepTakesValue(int action);

// Whether a pick held by the action would name another object after a load.
bool ActionHoldsPick(int action);

// Runs the dialog that belongs to the action (the middle mouse button, or
// the rotate and scale actions after the base point). Returns RESULT_OK or
// RESULT_CANCEL, or 0 when the action has no dialog.
int RunActionDialog(int action, IDialogHost& host);
