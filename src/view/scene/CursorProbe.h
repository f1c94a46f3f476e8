// What the cursor is over, asked on every mouse move: the point a click there
// would give (snapped to the drawing or the grid, kept horizontal or
// vertical with Shift), the object a pick there would take, and the text the
// status bar shows of both. Only the spatial index is asked, never the GL.
#pragma once

#include "snap/HitTest.h"
#include "snap/SnapTypes.h"
#include "snap/Snapper.h"
#include "view/scene/PixelMapping.h"

#include <memory>
#include <string>

class CGraphics;

class CCursorProbe {
public:
    // Side of the square pick region around the cursor, in logical pixels:
    // the click picks with it, and the hover predicts that pick.
    static constexpr double kPickSize = 5.0;

    // The scene to probe; the view gives it once it exists.
    void Attach(CGraphics& graphics);
    bool IsAttached() const { return m_pGraphics != nullptr; }

    // The kinds of snap that are switched on (SNAP_ bits); none at first.
    void SetSnapKinds(unsigned kinds) { m_nKinds = kinds & SNAP_ALL; }
    unsigned GetSnapKinds() const { return m_nKinds; }

    // The point a click gives at the raw world point: the nearest snap point
    // within the tolerance, or the raw point. excludeId offers no snap points
    // (the object being dragged). used tells which snap it was.
    CGO_Point Snap(CGO_Point raw, const CPixelMapping& mapping, int excludeId, CSnapResult& used);

    // The object a pick at the logical pixel (x, y) would take.
    hittest::CHit Hover(int x, int y, const CPixelMapping& mapping);

    // "X: 10.00  Y: 20.00", then the snap's kind ("Endpunkt") and the object
    // under the cursor ("#7 Linie") where there are any. UTF-8.
    static std::string StatusText(CGO_Point point, const CSnapResult& snap, const hittest::CHit& hover);
    // The German names of the snap kinds and of the object types.
    static const char* SnapKindText(unsigned kind);
    static const char* ObjectTypeText(const CGO_GeoObject& object);

private:
    CGraphics* m_pGraphics = nullptr;
    std::unique_ptr<CSnapper> m_pSnapper;
    unsigned m_nKinds = SNAP_NONE;
};
