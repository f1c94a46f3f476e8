// Arcs: the centre follows the point operation of each transform, the angles
// turn with it, and a mirror swaps the start and the end.
#include "geometry/GO_Arc.h"

#include "geometry/GO_Archive.h"
#include "geometry/GO_DisplayList.h"
#include "geometry/GO_RuntimeClass.h"
#include "geometry/GO_VisibleBox.h"
#include "log/Logger.h"

#include <GL/gl.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

constexpr double kDegreesPerRadian = 180.0 / M_PI;

bool FitsFloat(double value)
{
    return std::fabs(value) <= static_cast<double>(FLT_MAX);
}

} // namespace

CGO_Arc::CGO_Arc()
{
    AssignNextId();
    LogInfo("New arc created: object id #%i", m_nId);
    AdvanceIdFactory();
}

CGO_Arc* CGO_Arc::Restore(int id)
{
    return new CGO_Arc(RestoredId{id});
}

float CGO_Arc::NormalizeDegrees(double degrees)
{
    if (!std::isfinite(degrees))
        return static_cast<float>(degrees);
    double turned = std::fmod(degrees, 360.0);
    if (turned < 0.0)
        turned += 360.0;
    // A value a rounding step below 360 rounds up to it as a float.
    const float result = static_cast<float>(turned);
    return result >= 360.0f ? 0.0f : result;
}

void CGO_Arc::SetArc(CGO_Point center, float radius, float startDegrees, float endDegrees)
{
    m_ptCenter = center;
    m_fRadius = radius;
    m_fStart = NormalizeDegrees(startDegrees);
    m_fEnd = NormalizeDegrees(endDegrees);
    LogInfo("Arc #%i: C(%4.1f, %4.1f), radius: %4.1f, start: %4.1f, end: %4.1f", m_nId, m_ptCenter.x,
            m_ptCenter.y, m_fRadius, m_fStart, m_fEnd);
}

float CGO_Arc::GetSweep() const
{
    return SweepOf(m_fStart, m_fEnd);
}

float CGO_Arc::SweepOf(float startDegrees, float endDegrees)
{
    // Angles loaded from a file are kept as stored, even outside [0, 360).
    double sweep = std::fmod(static_cast<double>(endDegrees) - startDegrees, 360.0);
    if (!(sweep > 0.0))
        sweep += 360.0;
    return static_cast<float>(sweep);
}

const CGO_RuntimeClass* CGO_Arc::GetRuntimeClass() const { return &s_runtimeClass; }

void CGO_Arc::Serialize(CGO_Archive& archive)
{
    if (archive.IsStoring()) {
        LogDebug("Serializing arc #%i (x: %4.1f, y: %4.1f, r: %4.1f, start: %4.1f, end: %4.1f)...", m_nId,
                 m_ptCenter.x, m_ptCenter.y, m_fRadius, m_fStart, m_fEnd);
        StoreRecord(archive);
    } else {
        LoadRecord(archive);
        LogDebug("Arc unserialized. (id: %i, x: %4.1f, y: %4.1f, r: %4.1f, start: %4.1f, end: %4.1f)", m_nId,
                 m_ptCenter.x, m_ptCenter.y, m_fRadius, m_fStart, m_fEnd);
    }
}

void CGO_Arc::StoreRecord(CGO_Archive& archive) const
{
    archive.WriteFloat(m_ptCenter.x);
    archive.WriteFloat(m_ptCenter.y);
    archive.WriteFloat(m_fRadius);
    archive.WriteFloat(m_fStart);
    archive.WriteFloat(m_fEnd);
}

void CGO_Arc::LoadRecord(CGO_Archive& archive)
{
    const float x = archive.ReadFloat();
    const float y = archive.ReadFloat();
    const float r = archive.ReadFloat();
    const float start = archive.ReadFloat();
    const float end = archive.ReadFloat();
    // Kept exactly as stored, so that a file survives a load and a save bit
    // for bit even where another writer left angles outside [0, 360).
    m_ptCenter.Set(x, y);
    m_fRadius = r;
    m_fStart = start;
    m_fEnd = end;
}

void CGO_Arc::DeleteDisplayList()
{
    glDeleteLists(static_cast<GLuint>(m_nDisplayList), 1);
    LogInfo("Display list for arc #%i deleted.", m_nId);
}

void CGO_Arc::GenerateDisplayList()
{
    CGO_Outline outline;
    GetOutline(outline);
    const CGO_Primitive& arc = outline[0];
    CGO_Box bounds;
    GetBounds(bounds);
    CGO_DisplayList::Begin(m_nDisplayList);
    const int vertices = arc.DrawnVertexCount();
    if (CGO_VisibleBox::NeedsClipping(bounds)) {
        // Far larger than the view: only the pieces near it, as segments.
        const CGO_Box clip = CGO_VisibleBox::ClipBoxOf(CGO_VisibleBox::Get());
        glBegin(GL_LINES);
        for (int i = 0; i + 1 < vertices; ++i) {
            const CGO_Point from = arc.DrawnVertex(i);
            const CGO_Point to = arc.DrawnVertex(i + 1);
            double x0 = from.x, y0 = from.y, x1 = to.x, y1 = to.y;
            if (CGO_VisibleBox::ClipSegment(x0, y0, x1, y1, clip)) {
                glVertex2f(static_cast<float>(x0), static_cast<float>(y0));
                glVertex2f(static_cast<float>(x1), static_cast<float>(y1));
            }
        }
        glEnd();
    } else {
        glBegin(GL_LINE_STRIP);
        for (int i = 0; i < vertices; ++i) {
            const CGO_Point vertex = arc.DrawnVertex(i);
            glVertex2f(vertex.x, vertex.y);
        }
        glEnd();
    }
    CGO_DisplayList::End();
    LogInfo("Display list #%i for arc #%i generated.", m_nDisplayList, m_nId);
}

// Every transform computes the new shape on copies and keeps it only when
// all of it is finite; a refused transform leaves the arc bit for bit.
bool CGO_Arc::Accept(const Shape& shape, const char* done)
{
    const bool finite = shape.center.IsFinite() && FitsFloat(shape.radius) && std::isfinite(shape.start) &&
                        std::isfinite(shape.end);
    if (!AcceptTransform(finite, "Arc", done))
        return false;
    m_ptCenter = shape.center;
    m_fRadius = static_cast<float>(shape.radius);
    m_fStart = NormalizeDegrees(shape.start);
    m_fEnd = NormalizeDegrees(shape.end);
    return true;
}

void CGO_Arc::Mirror(Shape& shape, double twiceAxisDegrees)
{
    const double start = shape.start;
    shape.start = twiceAxisDegrees - shape.end;
    shape.end = twiceAxisDegrees - start;
}

void CGO_Arc::Move(const CGO_Vector& v)
{
    Shape shape = Current();
    shape.center.Move(v);
    if (Accept(shape, "moved"))
        LogInfo("Arc #%i moved to C(%4.1f, %4.1f).", m_nId, m_ptCenter.x, m_ptCenter.y);
}

void CGO_Arc::Rotate(float angle)
{
    Shape shape = Current();
    shape.center.Rotate(angle);
    shape.start += angle;
    shape.end += angle;
    if (Accept(shape, "rotated"))
        LogInfo("Arc #%i rotated by %4.1f degree.", m_nId, angle);
}

void CGO_Arc::RotateAbout(CGO_Point base, float angle)
{
    Shape shape = Current();
    shape.center.RotateAbout(base, angle);
    shape.start += angle;
    shape.end += angle;
    if (Accept(shape, "rotated"))
        LogInfo("Arc #%i rotated by %4.1f degree.", m_nId, angle);
}

namespace {

// A negative factor turns the arc half round about its centre as well.
void ScaleShapeAngles(double& start, double& end, float factor)
{
    if (factor < 0.0f) {
        start += 180.0;
        end += 180.0;
    }
}

} // namespace

void CGO_Arc::Scale(float factor)
{
    Shape shape = Current();
    shape.center.Scale(factor);
    shape.radius = std::fabs(shape.radius * factor);
    ScaleShapeAngles(shape.start, shape.end, factor);
    if (Accept(shape, "scaled"))
        LogInfo("Arc #%i scaled by %4.1f (new radius: %4.1f).", m_nId, factor, m_fRadius);
}

void CGO_Arc::ScaleAbout(CGO_Point base, float factor)
{
    Shape shape = Current();
    shape.center.ScaleAbout(base, factor);
    shape.radius = std::fabs(shape.radius * factor);
    ScaleShapeAngles(shape.start, shape.end, factor);
    if (Accept(shape, "scaled"))
        LogInfo("Arc #%i scaled by %4.1f (new radius: %4.1f).", m_nId, factor, m_fRadius);
}

void CGO_Arc::FlipHorizontal()
{
    Shape shape = Current();
    shape.center.FlipHorizontal();
    Mirror(shape, 0.0);
    if (Accept(shape, "flipped horizontal"))
        LogInfo("Arc #%i flipped horizontal.", m_nId);
}

void CGO_Arc::FlipVertical()
{
    Shape shape = Current();
    shape.center.FlipVertical();
    Mirror(shape, 180.0);
    if (Accept(shape, "flipped vertical"))
        LogInfo("Arc #%i flipped vertical.", m_nId);
}

void CGO_Arc::FlipOnOrigin()
{
    Shape shape = Current();
    shape.center.FlipOnOrigin();
    shape.start += 180.0;
    shape.end += 180.0;
    if (Accept(shape, "flipped on origin of ordinates"))
        LogInfo("Arc #%i flipped on origin of ordinates.", m_nId);
}

void CGO_Arc::FlipOnStraight(CGO_Point p1, CGO_Point p2)
{
    Shape shape = Current();
    shape.center.FlipOnStraight(p1, p2);
    const double dx = static_cast<double>(p2.x) - p1.x;
    const double dy = static_cast<double>(p2.y) - p1.y;
    // Two equal points give no line: the arc stays, as its centre does.
    if (dx != 0.0 || dy != 0.0)
        Mirror(shape, 2.0 * std::atan2(dy, dx) * kDegreesPerRadian);
    if (Accept(shape, "flipped on straight"))
        LogInfo("Arc #%i flipped on straight through P1(%4.1f, %4.1f), P2(%4.1f, %4.1f).", m_nId, p1.x, p1.y,
                p2.x, p2.y);
}

CGO_Primitive CGO_Arc::PrimitiveOf(CGO_Point center, float radius, float startDegrees, float endDegrees)
{
    return CGO_Primitive::Arc(center, radius, startDegrees, SweepOf(startDegrees, endDegrees));
}

CGO_Box CGO_Arc::BoundsOf(const CGO_Primitive& arc)
{
    const CGO_Point start = arc.StartPoint();
    const CGO_Point end = arc.EndPoint();
    CGO_Box box{std::min(start.x, end.x), std::min(start.y, end.y), std::max(start.x, end.x),
                std::max(start.y, end.y)};
    // The drawn strip stays within the true arc's box; the quadrants the
    // sweep passes widen it.
    const double r = std::fabs(static_cast<double>(arc.radius));
    const double cx = arc.center.x;
    const double cy = arc.center.y;
    if (arc.SweepContains(0.0))
        box.xMax = std::max(box.xMax, cx + r);
    if (arc.SweepContains(90.0))
        box.yMax = std::max(box.yMax, cy + r);
    if (arc.SweepContains(180.0))
        box.xMin = std::min(box.xMin, cx - r);
    if (arc.SweepContains(270.0))
        box.yMin = std::min(box.yMin, cy - r);
    return box;
}

bool CGO_Arc::GetBounds(CGO_Box& box) const
{
    box = BoundsOf(PrimitiveOf(m_ptCenter, m_fRadius, m_fStart, m_fEnd));
    return true;
}

void CGO_Arc::GetOutline(CGO_Outline& outline) const
{
    outline.Add(PrimitiveOf(m_ptCenter, m_fRadius, m_fStart, m_fEnd));
}
