// What the operation dialogs read from and act on: the control center's
// current action, the drawing window's last click, pick and caption, and its
// scene with the world range and the database.
#pragma once

#include "edit/EditKind.h"
#include "geometry/GO_Point.h"

#include <QRect>
#include <QString>

class CGraphics;

class IDialogHost {
public:
    virtual ~IDialogHost() = default;

    virtual int GetAction() = 0;
    virtual CGO_Point GetPoint() = 0;
    virtual int GetPickedId() = 0;
    virtual CGraphics* GetGraphics() = 0;
    virtual void SetCaption(const QString& caption) = 0;
    // Tells the history what the operation under way is, once the dialog
    // knows it better than the action did (which of the four mirrors).
    virtual void NameStep(EditKind) {}
    // The screen area the dialogs open over (the control center's window);
    // an invalid rectangle lets the toolkit place them.
    virtual QRect PlacementArea() { return QRect(); }
};

// The host the dialogs use: the control center and its drawing window, unless
// another one was installed.
IDialogHost* GetDialogHost();

// Installs a host in place of the control center (tests drive the dialogs
// without the program's windows this way); null goes back to the control center.
void SetDialogHost(IDialogHost* host);
