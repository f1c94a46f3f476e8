// The probe works in the same numbers as the selection pick and the drawn
// grid, so that what it predicts is what the click and the picture do.
#include "view/scene/CursorProbe.h"

#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "geometry/GO_RuntimeClass.h"
#include "log/CFormat.h"
#include "view/scene/Graphics.h"

double CCursorProbe::CViewGeometry::WorldPerPixelX(const WorldCoordinates& range) const
{
    return (range.xMax - range.xMin) / viewport[2] * ratio;
}

double CCursorProbe::CViewGeometry::WorldPerPixelY(const WorldCoordinates& range) const
{
    return (range.yMax - range.yMin) / viewport[3] * ratio;
}

void CCursorProbe::Attach(CGraphics& graphics)
{
    m_pGraphics = &graphics;
    m_pSnapper = std::make_unique<CSnapper>(graphics.GetIndex());
}

CGO_Point CCursorProbe::Snap(CGO_Point raw, const CViewGeometry& view, int excludeId, CSnapResult& used)
{
    used = CSnapResult();
    if (m_nKinds == SNAP_NONE || !IsAttached())
        return raw;
    const WorldCoordinates range = m_pGraphics->GetWorldCoordinates();
    CSnapQuery query;
    query.m_dX = raw.x;
    query.m_dY = raw.y;
    query.m_dWorldPerPixelX = view.WorldPerPixelX(range);
    query.m_dWorldPerPixelY = view.WorldPerPixelY(range);
    query.m_nKinds = m_nKinds;
    query.m_nExcludeId = excludeId;
    used = m_pSnapper->FindSnap(query);
    return used.IsSnapped() ? used.m_pt : raw;
}

hittest::CHit CCursorProbe::Hover(int x, int y, const CViewGeometry& view)
{
    if (!IsAttached())
        return {};
    // The very numbers COpenGLMouse::Pick hands to the selection pass.
    const CGO_Box region = hittest::PickRegion(m_pGraphics->GetWorldCoordinates(), view.viewport, x * view.ratio,
                                               (view.height - y) * view.ratio, kPickSize * view.ratio);
    return hittest::HitTest(m_pGraphics->GetIndex(), region);
}

const char* CCursorProbe::SnapKindText(unsigned kind)
{
    switch (kind) {
    case SNAP_ENDPOINT: return "Endpunkt";
    case SNAP_MIDPOINT: return "Mittelpunkt";
    case SNAP_CENTER: return "Zentrum";
    case SNAP_QUADRANT: return "Quadrant";
    case SNAP_INTERSECTION: return "Schnittpunkt";
    case SNAP_GRID: return "Raster";
    default: return "";
    }
}

const char* CCursorProbe::ObjectTypeText(const CGO_GeoObject& object)
{
    if (object.GetRuntimeClass() == &CGO_Line::s_runtimeClass)
        return "Linie";
    if (object.GetRuntimeClass() == &CGO_Circle::s_runtimeClass)
        return "Kreis";
    return "Objekt";
}

std::string CCursorProbe::StatusText(CGO_Point point, const CSnapResult& snap, const hittest::CHit& hover)
{
    std::string text = StringFormatC("X: %.2f  Y: %.2f", point.x, point.y);
    if (snap.IsSnapped())
        text += std::string("  ") + SnapKindText(snap.m_nKind);
    if (hover.IsHit())
        text += StringFormatC("  #%i ", hover.m_nId) + ObjectTypeText(*hover.m_pObject);
    return text;
}
