// The probe works in the same numbers as the selection pick and the drawn
// grid, so that what it predicts is what the click and the picture do.
#include "view/scene/CursorProbe.h"

#include "geometry/GO_RuntimeClass.h"
#include "log/CFormat.h"
#include "view/scene/Graphics.h"

void CCursorProbe::Attach(CGraphics& graphics)
{
    m_pGraphics = &graphics;
    m_pSnapper = std::make_unique<CSnapper>(graphics.GetIndex());
}

CGO_Point CCursorProbe::Snap(CGO_Point raw, const CPixelMapping& mapping, int excludeId, CSnapResult& used)
{
    used = CSnapResult();
    if (m_nKinds == SNAP_NONE || !IsAttached())
        return raw;
    CSnapQuery query;
    query.m_dX = raw.x;
    query.m_dY = raw.y;
    query.m_dWorldPerPixelX = mapping.WorldPerPixelX();
    query.m_dWorldPerPixelY = mapping.WorldPerPixelY();
    query.m_nKinds = m_nKinds;
    query.m_nExcludeId = excludeId;
    used = m_pSnapper->FindSnap(query);
    return used.IsSnapped() ? used.m_pt : raw;
}

hittest::CHit CCursorProbe::Hover(int x, int y, const CPixelMapping& mapping)
{
    if (!IsAttached())
        return {};
    // The very numbers COpenGLMouse::Pick hands to the selection pass.
    int viewport[4];
    mapping.Viewport(viewport);
    const CGO_Box region = hittest::PickRegion(mapping.Range(), viewport, mapping.DeviceX(x), mapping.DeviceY(y),
                                               kPickSize * mapping.Ratio());
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
    return object.GetRuntimeClass()->m_lpszDisplayName;
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
