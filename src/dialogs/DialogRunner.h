// Opens the operation dialogs for the control center. Each runs modally and
// does its whole work on OK; the caller redraws unless it was cancelled.
#pragma once

// Runs the dialog that belongs to the control center's action (the middle
// mouse button, or the rotate and scale actions after the base point).
// Returns RESULT_OK or RESULT_CANCEL, or 0 when the action has no dialog.
int RunActionDialog(int action);

// Runs the world-range dialog; returns RESULT_OK or RESULT_CANCEL.
int RunWorldCoordinatesDialog();
