// Rotating by a typed angle, in degrees counter-clockwise.
#include "dialogs/DialogRotateObject.h"

#include "dialogs/CadActions.h"
#include "log/Logger.h"

namespace {

void Announce(int id, float angle)
{
    LogDebug("Dialog 'CDialogRotateObject' is trying to rotate object #%i by %4.1f degree...", id, angle);
}

const CBaseTransformDialog::CKind kRotate{133, 1024, 0.0f, ACTION_ROTATE_BASE, ACTION_ROTATE_DIALOG,
                                          &Announce, &CTransform::Rotate, &CTransform::RotateAbout};

} // namespace

CDialogRotateObject::CDialogRotateObject(IDialogHost& host) : CBaseTransformDialog(kRotate, host) {}
