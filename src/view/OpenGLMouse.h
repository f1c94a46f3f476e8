// The mouse layer of the drawing window: interaction modes, picking, rubber
// band and drag feedback, and the messages to the control center.
#pragma once

#include "geometry/GO_Box.h"
#include "geometry/GO_Outline.h"
#include "geometry/GO_Point.h"
#include "geometry/GO_Vector.h"
#include "view/scene/CursorProbe.h"
#include "view/OpenGL.h"
#include "view/ViewNavigator.h"

#include <QPoint>
#include <QString>

#include <cstdint>
#include <vector>

class CGraphics;
class CSelection;
class ICadMessageReceiver;

enum {
    MODE_IDLE = 0,
    MODE_PICK = 1,
    MODE_POINT = 2,
    MODE_DRAG = 3,
};

enum {
    BAND_NONE = 0,
    BAND_LINE = 1,
};

// What the feedback shows besides the band, once a point mode has an anchor:
// the circle the next click would draw, or the picked object mirrored at the
// line from the anchor to the cursor. A drag always shows the picked object
// at its new place.
enum {
    PREVIEW_NONE = 0,
    PREVIEW_CIRCLE = 1,
    PREVIEW_MIRROR = 2,
    PREVIEW_PASTE = 3, // the objects being pasted, following the cursor
    // The arc from the start point set by SetArcStart, about the anchor, to
    // the cursor's direction.
    PREVIEW_ARC = 4,
};

class COpenGLMouse : public COpenGL {
    Q_OBJECT
public:
    COpenGLMouse();

    bool Create(const char* title, int left, int top, int right, int bottom);

    // Where the results go; the control center sets itself.
    void SetReceiver(ICadMessageReceiver* receiver) { m_pReceiver = receiver; }

    void SetMode(int mode);
    void SetMode(int mode, CGO_Point anchor, int band);
    int GetMode() const { return m_nMode; }
    int GetBand() const { return m_nBand; }
    // After SetMode, which resets it.
    void SetPreview(int preview) { m_nPreview = preview; }
    int GetPreview() const { return m_nPreview; }
    void SetArcStart(CGO_Point start) { m_ptArcStart = start; }
    // A direction typed as "<a" (degrees): the band and the next click keep
    // to it, a click giving only the distance along it. After SetMode.
    void FixBandAngle(double degrees);
    // A point that a click within the snap distance lands on exactly, whatever
    // the snap switches say, shown as the end point of object id: where a
    // chain of lines closes. After SetMode, which forgets it.
    void SetClosingPoint(CGO_Point point, int id);

    CGO_Point GetPoint() const { return m_ptPoint; }
    // The start of the band, and the world point under the cursor.
    CGO_Point GetAnchor() const { return m_ptAnchor; }
    CGO_Point GetCursorPoint() const { return m_ptCurrent; }
    // A point typed while one is wanted: taken as a click there would be,
    // but snapped to nothing. False, and nothing happens, in other modes.
    bool TakeTypedPoint(CGO_Point point);
    CGO_Vector GetVector() const { return m_vDrag; }
    int GetPickedId() const { return m_nPicked - 100; }
    // The world point under the press of the last pick, unsnapped: where on
    // the object it was picked.
    CGO_Point GetPickPoint() const { return m_ptPickPoint; }
    // While a pick is wanted, digits typed in the window go to the input line
    // as they do while a point is wanted; SetMode forgets it.
    void SetValueWanted(bool wanted) { m_bValueWanted = wanted; }

    // Converts a position in the window (logical pixels, y downwards) into a
    // world point: the lower left corner of that pixel, at any device pixel
    // ratio.
    void WindowToWorld(int x, int y, CGO_Point* out);
    // How the window's pixels map to the world now.
    CPixelMapping PixelMapping();

    // The scene the mouse picks in; the concrete view owns it.
    virtual CGraphics* GetGraphics() = 0;
    virtual CSelection* GetSelection() { return nullptr; }

    // The display lists a drag or a mirror line shows moved or mirrored
    // instead of the picked object's (a selection); SetMode forgets them.
    void SetGroupLists(std::vector<int> lists) { m_groupLists = std::move(lists); }
    // What a paste shows at the cursor: the outlines, placed so that
    // reference lies under the cursor.
    void SetPastePreview(std::vector<CGO_Primitive> outline, CGO_Point reference);
    // The world rectangle of the last selection gesture.
    CGO_Box GetSelectionBox() const { return m_selectBox; }
    // Where the last right click was, in window pixels.
    QPoint GetContextPixel() const { return m_ptContextPixel; }

    // Takes a new visible range (zoom, pan, fit): the scene's range, the
    // caption, the projection the next click is converted with, and one
    // redraw at the next frame, after which the feedback follows the cursor.
    // False, and nothing changes, when the scene refuses the range.
    bool TakeWorldCoordinates(const WorldCoordinates& range);
    // Shows the whole drawing ("Alles zeigen", the Home key).
    void FitToDrawing() { m_navigator.FitToDrawing(); }
    CViewNavigator& Navigator() { return m_navigator; }

    // The kinds of snap point (SNAP_ bits) that points from the mouse snap
    // to in point and drag modes; none at first, and then every point is
    // the pixel's, as without snapping.
    void SetSnapKinds(unsigned kinds);
    unsigned GetSnapKinds() const { return m_probe.GetSnapKinds(); }
    // The object under the cursor as a pick would take it, -1 for none.
    int GetHoveredId() const { return m_hover.m_nId; }

signals:
    // What the status bar shows of the cursor: "X: 12.50  Y: -3.00" (the
    // point a click would give), the snap's kind and the object under it;
    // empty when the cursor is not over the window.
    void CursorTextChanged(const QString& text);
    // A character of a typed coordinate, pressed while a point is wanted;
    // it belongs in the control center's input line.
    void EntryTyped(const QString& text);
    // The right button dropped what the mouse was doing in a mode; no
    // message says so, as the operation under way usually stays chosen.
    void MouseDropped();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;
    void AfterPaintRender() override;

    void OnLButtonDown(bool leftDown, int x, int y);
    void OnLButtonUp(bool leftDown, int x, int y);
    void OnMouseMove(bool leftDown, int x, int y);
    void OnRButtonDown(bool leftDown, int x, int y);
    void OnMButtonDown(bool leftDown, int x, int y);
    void OnMButtonUp(bool leftDown, int x, int y);

private:
    // A press, drag and release with no mode under way: a click selects, a
    // drag draws a selection rectangle (OpenGLMouseSelect.cpp).
    void BeginSelectGesture(int x, int y);
    bool MoveSelectGesture(bool leftDown, int x, int y);
    void EndSelectGesture(int x, int y);
    void DrawSelectionRectangle();
    void SendContextMenu(int x, int y);
    void DrawGroupPreview(CGO_Point cursor);

    void Pick(int x, int y);
    void DrawBand(int shape);
    void DrawPreview(CGO_Point cursor);
    void EraseFeedback();
    void UpdateCursor();
    void Send(unsigned message, std::uintptr_t wParam);

    // The point a press or release at (x, y) gives: snapped where a snap is
    // near, and with Shift kept horizontal or vertical from the anchor when
    // it is the second point of a line or of a mirror line. The snap that
    // gave it is logged.
    CGO_Point ClickPoint(int x, int y, bool dragEnd);
    CGO_Point ProbePoint(int x, int y, bool dragEnd, CSnapResult& snap);
    // True when the closing point is nearer than any snap the probe found.
    bool SnapToClosingPoint(CGO_Point raw, const CPixelMapping& mapping, CSnapResult& snap);
    // Everything drawn over the scene for a cursor at (x, y): the hover
    // highlight, the band or drag line with its preview, the snap marker.
    void ShowFeedbackAt(bool leftDown, int x, int y);
    void ShowFeedbackAgain();
    void DrawSnapMarker(const CSnapResult& snap);
    void ReportCursor(CGO_Point point, const CSnapResult& snap);

    ICadMessageReceiver* m_pReceiver = nullptr;

    CGO_Point m_ptDown;
    CGO_Point m_ptCurrent;
    CGO_Point m_ptAnchor;
    int m_nCandidate = 0;
    int m_nMode = MODE_IDLE;
    int m_nBand = BAND_NONE;
    int m_nPreview = PREVIEW_NONE;
    CGO_Point m_ptArcStart;
    bool m_bFixedAngle = false;
    double m_dFixedAngle = 0;
    bool m_bClosingPoint = false;
    CGO_Point m_ptClosing;
    int m_nClosingId = -1;
    bool m_bBandShown = false;
    CGO_Point m_ptBandFrom;
    CGO_Point m_ptBandTo;
    int m_nPicked = 0;
    CGO_Point m_ptPickPoint;
    bool m_bValueWanted = false;
    CGO_Point m_ptPoint;
    CGO_Vector m_vDrag;
    // The hover highlight or a snap marker is on screen.
    bool m_bMarksShown = false;

    CViewNavigator m_navigator{*this};
    // Where the cursor was last seen, so feedback can follow it after the
    // view changed under a cursor that stood still.
    QPoint m_ptLastPixel;
    bool m_bLastLeftDown = false;
    bool m_bCursorInside = false;
    bool m_bShiftDown = false;
    bool m_bFeedbackAfterPaint = false;
    CCursorProbe m_probe;
    hittest::CHit m_hover;

    std::vector<int> m_groupLists;
    std::vector<CGO_Primitive> m_pasteOutline;
    CGO_Point m_ptPasteReference;
    bool m_bSelectPressed = false;
    bool m_bSelectBand = false;
    QPoint m_ptSelectFrom;
    QPoint m_ptSelectTo;
    CGO_Box m_selectBox;
    QPoint m_ptContextPixel;
};
