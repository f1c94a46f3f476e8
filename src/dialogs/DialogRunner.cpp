// Until the operation dialogs exist, no action has one.
#include "dialogs/DialogRunner.h"

#include "dialogs/DialogResult.h"

int RunActionDialog(int)
{
    return 0;
}

int RunWorldCoordinatesDialog()
{
    return RESULT_CANCEL;
}
