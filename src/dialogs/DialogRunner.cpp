// Which dialog belongs to which action, and running it modally.
#include "dialogs/DialogRunner.h"

#include "control/lumen7dlg.h"
#include "dialogs/DialogChangeWC.h"
#include "dialogs/DialogDelObject.h"
#include "dialogs/DialogDrawCircle.h"
#include "dialogs/DialogDrawLine.h"
#include "dialogs/DialogFlipObject.h"
#include "dialogs/DialogMoveObject.h"
#include "dialogs/DialogRotateObject.h"
#include "dialogs/DialogScaleObject.h"

namespace {

template <class Dialog>
int Run()
{
    Dialog dialog;
    return dialog.DoModal();
}

} // namespace

int RunActionDialog(int action)
{
    switch (action) {
    case ACTION_DELETE_PICK:
        return Run<CDialogDelObject>();
    case ACTION_LINE_START:
    case ACTION_LINE_END:
        return Run<CDialogDrawLine>();
    case ACTION_CIRCLE_CENTER:
    case ACTION_CIRCLE_POINT:
        return Run<CDialogDrawCircle>();
    case ACTION_MOVE_PICK:
    case ACTION_MOVE_DRAG:
        return Run<CDialogMoveObject>();
    case ACTION_ROTATE_PICK:
    case ACTION_ROTATE_BASE:
    case ACTION_ROTATE_DIALOG:
        return Run<CDialogRotateObject>();
    case ACTION_SCALE_PICK:
    case ACTION_SCALE_BASE:
    case ACTION_SCALE_DIALOG:
        return Run<CDialogScaleObject>();
    case ACTION_FLIP_PICK:
    case ACTION_FLIP_START:
        return Run<CDialogFlipObject>();
    default:
        // Idle, the second mirror point, and anything unknown have no dialog.
        return 0;
    }
}

int RunWorldCoordinatesDialog()
{
    return Run<CDialogChangeWC>();
}
