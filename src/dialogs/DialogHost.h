// What the operation dialogs read from and act on: the control center's
// current action, the drawing window's last click, pick and caption, its
// scene with the world range and the database, and the edit layer that makes
// every change. The control center is the host; tests stand in for it.
#pragma once

#include "geometry/GO_Point.h"

#include <QRect>
#include <QString>

#include <vector>

class CEditor;
class CGraphics;

class IDialogHost {
public:
    virtual ~IDialogHost() = default;

    virtual int GetAction() = 0;
    virtual CGO_Point GetPoint() = 0;
    // The first point of an operation that took several (an arc's centre,
    // once its start point is the last one given).
    virtual CGO_Point GetFirstPoint() { return GetPoint(); }
    virtual int GetPickedId() = 0;
    virtual CGraphics* GetGraphics() = 0;
    // Every change a dialog makes to the drawing goes through it.
    virtual CEditor& GetEditor() = 0;
    // The objects an operation on the id acts on: the id alone, or the whole
    // selection when the id is the one the host filled in for it.
    virtual std::vector<int> TargetsOf(int id) { return {id}; }
    virtual void SetCaption(const QString& caption) = 0;
    // The side in device pixels of the drawing window's square viewport, for
    // the limits a typed world range keeps; 0 when there is no such window.
    virtual int ViewSide() { return 0; }
    // Says in the status line why a dialog left the drawing as it was; the
    // text stays until the next action.
    virtual void ShowRefusal(const QString& reason) { (void)reason; }
    // The screen area the dialogs open over (the control center's window);
    // an invalid rectangle lets the toolkit place them.
    virtual QRect PlacementArea() { return QRect(); }
};
