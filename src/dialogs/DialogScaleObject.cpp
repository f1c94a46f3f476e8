// Scaling by a typed factor; an empty factor leaves the size.
#include "dialogs/DialogScaleObject.h"

#include "dialogs/CadActions.h"
#include "log/Logger.h"

namespace {

void Announce(int id, float factor)
{
    LogDebug("Dialog 'CDialogScaleObject' is trying to scale object #%i by %4.1f...", id, factor);
}

const CBaseTransformDialog::CKind kScale{134, 1027, 1.0f, ACTION_SCALE_BASE, ACTION_SCALE_DIALOG,
                                         &Announce, &CTransform::Scale, &CTransform::ScaleAbout};

} // namespace

CDialogScaleObject::CDialogScaleObject(IDialogHost& host) : CBaseTransformDialog(kScale, host) {}
