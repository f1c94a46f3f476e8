// Constructing and running the dialog of a kind.
#include "dialogs/DialogRunner.h"

#include "dialogs/DialogChangeWC.h"
#include "dialogs/DialogDelObject.h"
#include "dialogs/DialogDrawArc.h"
#include "dialogs/DialogDrawCircle.h"
#include "dialogs/DialogDrawLine.h"
#include "dialogs/DialogFlipObject.h"
#include "dialogs/DialogMoveObject.h"
#include "dialogs/DialogRotateObject.h"
#include "dialogs/DialogScaleObject.h"

namespace {

template <class Dialog>
int Run(IDialogHost& host)
{
    Dialog dialog(host);
    return dialog.DoModal();
}

} // namespace

int RunDialog(DialogKind kind, IDialogHost& host)
{
    switch (kind) {
    case DIALOG_CHANGE_WC: return Run<CDialogChangeWC>(host);
    case DIALOG_DELETE: return Run<CDialogDelObject>(host);
    case DIALOG_LINE: return Run<CDialogDrawLine>(host);
    case DIALOG_CIRCLE: return Run<CDialogDrawCircle>(host);
    case DIALOG_MOVE: return Run<CDialogMoveObject>(host);
    case DIALOG_ROTATE: return Run<CDialogRotateObject>(host);
    case DIALOG_SCALE: return Run<CDialogScaleObject>(host);
    case DIALOG_FLIP: return Run<CDialogFlipObject>(host);
    case DIALOG_ARC: return Run<CDialogDrawArc>(host);
    case DIALOG_NONE: break;
    }
    return 0;
}
