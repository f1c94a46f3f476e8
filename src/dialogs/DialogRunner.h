// Opens the operation dialogs. Each runs modally over its host and does its
// whole work on OK; the caller redraws unless it was cancelled.
#pragma once

class IDialogHost;

enum DialogKind {
    DIALOG_NONE,
    DIALOG_CHANGE_WC,
    DIALOG_DELETE,
    DIALOG_LINE,
    DIALOG_CIRCLE,
    DIALOG_MOVE,
    DIALOG_ROTATE,
    DIALOG_SCALE,
    DIALOG_FLIP,
    DIALOG_ARC,
};

// Returns RESULT_OK or RESULT_CANCEL, or 0 for DIALOG_NONE.
int RunDialog(DialogKind kind, IDialogHost& host);
