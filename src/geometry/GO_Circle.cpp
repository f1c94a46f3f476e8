// Circles: transforms move the centre and the peripheral point alike; scaling
// measures the radius anew as the distance between the two.
#include "geometry/GO_Circle.h"

#include "geometry/GO_Archive.h"
#include "geometry/GO_DisplayList.h"
#include "geometry/GO_Math.h"
#include "geometry/GO_OutlineAngles.h"
#include "geometry/GO_RuntimeClass.h"
#include "geometry/GO_SharedOutline.h"
#include "geometry/GO_VisibleBox.h"
#include "log/Logger.h"

#include <GL/gl.h>
#include <cmath>

namespace {

// The peripheral point a centre and a radius give: straight above the
// centre, or straight below where above lies beyond the float range (a
// centre at 3e38 with radius 2e38), so that the point stays finite and at
// the radius's distance.
CGO_Point PointAbove(CGO_Point center, float radius)
{
    const float above = center.y + radius;
    if (std::isfinite(above) || !std::isfinite(radius))
        return CGO_Point(center.x, above);
    return CGO_Point(center.x, center.y - radius);
}

} // namespace

CGO_Circle::CGO_Circle()
{
    AssignNextId();
    LogInfo("New circle created: object id #%i", m_nId);
    AdvanceIdFactory();
}

CGO_Circle* CGO_Circle::Restore(int id)
{
    return new CGO_Circle(RestoredId{id});
}

void CGO_Circle::SetCenterAndPoint(CGO_Point center, CGO_Point point)
{
    m_ptCenter = center;
    m_ptPeripheral = point;
    LogInfo("Circle #%i: C(%4.1f, %4.1f), P(%4.1f, %4.1f)", m_nId, m_ptCenter.x, m_ptCenter.y,
            m_ptPeripheral.x, m_ptPeripheral.y);
    UpdateRadius();
}

void CGO_Circle::SetCenterAndRadius(CGO_Point center, float radius)
{
    m_fRadius = radius;
    m_ptCenter = center;
    m_ptPeripheral = PointAbove(center, radius);
    LogInfo("Circle #%i: C(%4.1f, %4.1f), P(%4.1f, %4.1f), radius: %4.1f", m_nId, m_ptCenter.x, m_ptCenter.y,
            m_ptPeripheral.x, m_ptPeripheral.y, m_fRadius);
}

void CGO_Circle::UpdateRadius()
{
    // Squared in single precision, as long as the squares fit a float.
    m_fRadius = CGO_Vector::Distance(m_ptCenter, m_ptPeripheral);
    LogInfo("Radius of circle #%i updated: %4.1f", m_nId, m_fRadius);
}

const CGO_RuntimeClass* CGO_Circle::GetRuntimeClass() const { return &s_runtimeClass; }

void CGO_Circle::Serialize(CGO_Archive& archive)
{
    if (archive.IsStoring()) {
        LogDebug("Serializing circle #%i (x: %4.1f, y: %4.1f, r: %4.1f)...", m_nId, m_ptCenter.x, m_ptCenter.y,
                 m_fRadius);
        StoreRecord(archive);
    } else {
        LoadRecord(archive);
        LogDebug("Circle unserialized. (id: %i, x: %4.1f, y: %4.1f, r: %4.1f)", m_nId, m_ptCenter.x, m_ptCenter.y,
                 m_fRadius);
    }
}

void CGO_Circle::StoreRecord(CGO_Archive& archive) const
{
    archive.WriteFloat(m_ptCenter.x);
    archive.WriteFloat(m_ptCenter.y);
    archive.WriteFloat(m_fRadius);
}

void CGO_Circle::LoadRecord(CGO_Archive& archive)
{
    const float x = archive.ReadFloat();
    const float y = archive.ReadFloat();
    const float r = archive.ReadFloat();
    m_ptCenter.Set(x, y);
    m_fRadius = r;
    m_ptPeripheral = PointAbove(m_ptCenter, r);
}

void CGO_Circle::StoreExtraState(CGO_Archive& archive) const
{
    archive.WriteFloat(m_ptPeripheral.x);
    archive.WriteFloat(m_ptPeripheral.y);
}

void CGO_Circle::LoadExtraState(CGO_Archive& archive)
{
    const float x = archive.ReadFloat();
    const float y = archive.ReadFloat();
    m_ptPeripheral.Set(x, y);
}

void CGO_Circle::DeleteDisplayList()
{
    glDeleteLists(static_cast<GLuint>(m_nDisplayList), 1);
    LogInfo("Display list for circle #%i deleted.", m_nId);
}

namespace {

using COutlineAngles = CGO_OutlineAngles;

CGO_Point OutlineVertexAt(const COutlineAngles& angles, CGO_Point center, float radius, int i)
{
    const float sinProduct = static_cast<float>(radius * angles.sine[i]);
    const float cosProduct = static_cast<float>(angles.cosine[i] * radius);
    const float y = center.y + sinProduct;
    const float x = center.x + cosProduct;
    return CGO_Point(x, y);
}

// Vertex i of the outline as the plain list holds it, or, where that float
// would overflow, in double.
void OutlineVertexOrExact(const COutlineAngles& angles, CGO_Point center, float radius, int i, double& x,
                          double& y)
{
    const CGO_Point vertex = OutlineVertexAt(angles, center, radius, i);
    x = std::isfinite(vertex.x) ? vertex.x : center.x + angles.cosine[i] * radius;
    y = std::isfinite(vertex.y) ? vertex.y : center.y + radius * angles.sine[i];
}

// A circle far larger than the view: the pieces of its outline's segments
// that lie in the clip box, as separate segments.
void EmitClippedOutline(const COutlineAngles& angles, CGO_Point center, float radius, const CGO_Box& clip)
{
    glBegin(GL_LINES);
    for (int i = 0; i + 1 < CGO_Circle::OUTLINE_VERTICES; ++i) {
        double x0, y0, x1, y1;
        OutlineVertexOrExact(angles, center, radius, i, x0, y0);
        OutlineVertexOrExact(angles, center, radius, i + 1, x1, y1);
        if (CGO_VisibleBox::ClipSegment(x0, y0, x1, y1, clip)) {
            glVertex2f(static_cast<float>(x0), static_cast<float>(y0));
            glVertex2f(static_cast<float>(x1), static_cast<float>(y1));
        }
    }
    glEnd();
}

} // namespace

CGO_Point CGO_Circle::OutlineVertex(CGO_Point center, float radius, int i)
{
    return OutlineVertexAt(COutlineAngles::Get(), center, radius, i);
}

void CGO_Circle::GenerateDisplayList()
{
    const COutlineAngles& angles = COutlineAngles::Get();
    CGO_Box bounds;
    GetBounds(bounds);
    const bool clipped = CGO_VisibleBox::NeedsClipping(bounds);
    // The shared outline is made before the first list that calls it, in
    // whichever context is current.
    if (!clipped && CGO_SharedOutline::CanPlace(m_ptCenter, m_fRadius) &&
        CGO_SharedOutline::EnsureInCurrentContext()) {
        CGO_DisplayList::Begin(m_nDisplayList);
        CGO_SharedOutline::EmitPlacement(m_ptCenter, m_fRadius);
        CGO_DisplayList::End(CGO_DisplayList::EContent::Placement);
        LogInfo("Display list #%i for circle #%i generated.", m_nDisplayList, m_nId);
        return;
    }
    CGO_DisplayList::Begin(m_nDisplayList);
    if (clipped) {
        EmitClippedOutline(angles, m_ptCenter, m_fRadius, CGO_VisibleBox::ClipBoxOf(CGO_VisibleBox::Get()));
    } else {
        glBegin(GL_LINE_STRIP);
        for (int i = 0; i < OUTLINE_VERTICES; ++i) {
            const CGO_Point vertex = OutlineVertexAt(angles, m_ptCenter, m_fRadius, i);
            glVertex2f(vertex.x, vertex.y);
        }
        glEnd();
    }
    CGO_DisplayList::End();
    LogInfo("Display list #%i for circle #%i generated.", m_nDisplayList, m_nId);
}

// Every transform computes the new centre and peripheral point on copies
// and keeps them only when both, and a radius measured anew, are finite; a
// refused transform leaves the circle bit for bit.
template <class PointOperation>
bool CGO_Circle::TransformPoints(PointOperation operation, bool remeasure, const char* done)
{
    CGO_Point center = m_ptCenter;
    CGO_Point peripheral = m_ptPeripheral;
    operation(center);
    operation(peripheral);
    const bool finite = center.IsFinite() && peripheral.IsFinite() &&
                        (!remeasure || std::isfinite(CGO_Vector::Distance(center, peripheral)));
    if (!AcceptTransform(finite, "Circle", done))
        return false;
    m_ptCenter = center;
    m_ptPeripheral = peripheral;
    if (remeasure)
        UpdateRadius();
    return true;
}

void CGO_Circle::Move(const CGO_Vector& v)
{
    if (TransformPoints([&v](CGO_Point& p) { p.Move(v); }, false, "moved"))
        LogInfo("Circle #%i moved to C(%4.1f, %4.1f), P(%4.1f, %4.1f).", m_nId, m_ptCenter.x, m_ptCenter.y,
                m_ptPeripheral.x, m_ptPeripheral.y);
}

void CGO_Circle::Rotate(float angle)
{
    if (TransformPoints([angle](CGO_Point& p) { p.Rotate(angle); }, false, "rotated"))
        LogInfo("Circle #%i rotated by %4.1f degree.", m_nId, angle);
}

void CGO_Circle::RotateAbout(CGO_Point base, float angle)
{
    if (TransformPoints([base, angle](CGO_Point& p) { p.RotateAbout(base, angle); }, false, "rotated"))
        LogInfo("Circle #%i rotated by %4.1f degree.", m_nId, angle);
}

void CGO_Circle::Scale(float factor)
{
    if (TransformPoints([factor](CGO_Point& p) { p.Scale(factor); }, true, "scaled"))
        LogInfo("Circle #%i scaled by %4.1f (new radius: %4.1f).", m_nId, factor, m_fRadius);
}

void CGO_Circle::ScaleAbout(CGO_Point base, float factor)
{
    if (TransformPoints([base, factor](CGO_Point& p) { p.ScaleAbout(base, factor); }, true, "scaled"))
        LogInfo("Circle #%i scaled by %4.1f (new radius: %4.1f).", m_nId, factor, m_fRadius);
}

void CGO_Circle::FlipHorizontal()
{
    if (TransformPoints([](CGO_Point& p) { p.FlipHorizontal(); }, false, "flipped horizontal"))
        LogInfo("Circle #%i flipped horizontal.", m_nId);
}

void CGO_Circle::FlipVertical()
{
    if (TransformPoints([](CGO_Point& p) { p.FlipVertical(); }, false, "flipped vertical"))
        LogInfo("Circle #%i flipped vertical.", m_nId);
}

void CGO_Circle::FlipOnOrigin()
{
    if (TransformPoints([](CGO_Point& p) { p.FlipOnOrigin(); }, false, "flipped on origin of ordinates"))
        LogInfo("Circle #%i flipped on origin of ordinates.", m_nId);
}

void CGO_Circle::FlipOnStraight(CGO_Point p1, CGO_Point p2)
{
    if (TransformPoints([p1, p2](CGO_Point& p) { p.FlipOnStraight(p1, p2); }, false, "flipped on straight"))
        LogInfo("Circle #%i flipped on straight through P1(%4.1f, %4.1f), P2(%4.1f, %4.1f).", m_nId, p1.x, p1.y,
                p2.x, p2.y);
}

bool CGO_Circle::GetBounds(CGO_Box& box) const
{
    // The outline's vertices never lie further out than centre +- radius, and
    // a negative radius draws the same outline.
    const double r = std::fabs(static_cast<double>(m_fRadius));
    box.xMin = m_ptCenter.x - r;
    box.xMax = m_ptCenter.x + r;
    box.yMin = m_ptCenter.y - r;
    box.yMax = m_ptCenter.y + r;
    return true;
}

void CGO_Circle::GetOutline(CGO_Outline& outline) const
{
    outline.Add(CGO_Primitive::Circle(m_ptCenter, m_fRadius));
}
