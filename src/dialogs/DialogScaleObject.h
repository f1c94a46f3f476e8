// The scale dialog: scales the object whose id is typed by a typed factor,
// about the origin or about an optional base point.
#pragma once

#include "dialogs/BaseTransformDialog.h"

class CDialogScaleObject : public CBaseTransformDialog {
    Q_OBJECT
public:
    explicit CDialogScaleObject(IDialogHost& host);
};
