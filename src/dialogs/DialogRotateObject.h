// The rotate dialog: rotates the object whose id is typed by a typed angle,
// about the origin or about an optional base point.
#pragma once

#include "dialogs/BaseTransformDialog.h"

class CDialogRotateObject : public CBaseTransformDialog {
    Q_OBJECT
public:
    explicit CDialogRotateObject(IDialogHost& host);
};
