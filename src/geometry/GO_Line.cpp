// Lines: every transform applies the point operation of the same name to
// both end points, then reports the result once.
#include "geometry/GO_Line.h"

#include "geometry/GO_Archive.h"
#include "geometry/GO_DisplayList.h"
#include "geometry/GO_RuntimeClass.h"
#include "geometry/GO_VisibleBox.h"
#include "log/Logger.h"

#include <GL/gl.h>

#include <algorithm>

CGO_Line::CGO_Line()
{
    AssignNextId();
    LogInfo("New line created: object id #%i", m_nId);
    AdvanceIdFactory();
}

CGO_Line* CGO_Line::Restore(int id)
{
    return new CGO_Line(RestoredId{id});
}

void CGO_Line::SetPoints(CGO_Point p1, CGO_Point p2)
{
    m_p1 = p1;
    m_p2 = p2;
    LogInfo("Line #%i: P1(%4.1f, %4.1f), P2(%4.1f, %4.1f)", m_nId, m_p1.x, m_p1.y, m_p2.x, m_p2.y);
}

const CGO_RuntimeClass* CGO_Line::GetRuntimeClass() const { return &s_runtimeClass; }

void CGO_Line::Serialize(CGO_Archive& archive)
{
    if (archive.IsStoring()) {
        LogDebug("Serializing line #%i (x1: %4.1f, y1: %4.1f, x2: %4.1f, y2: %4.1f)...",
                 m_nId, m_p1.x, m_p1.y, m_p2.x, m_p2.y);
        StoreRecord(archive);
    } else {
        LoadRecord(archive);
        LogDebug("Line unserialized. (id: %i, x1: %4.1f, y1: %4.1f, x2: %4.1f, y2: %4.1f)",
                 m_nId, m_p1.x, m_p1.y, m_p2.x, m_p2.y);
    }
}

void CGO_Line::StoreRecord(CGO_Archive& archive) const
{
    archive.WriteFloat(m_p1.x);
    archive.WriteFloat(m_p1.y);
    archive.WriteFloat(m_p2.x);
    archive.WriteFloat(m_p2.y);
}

void CGO_Line::LoadRecord(CGO_Archive& archive)
{
    const float x1 = archive.ReadFloat();
    const float y1 = archive.ReadFloat();
    const float x2 = archive.ReadFloat();
    const float y2 = archive.ReadFloat();
    m_p1.Set(x1, y1);
    m_p2.Set(x2, y2);
}

void CGO_Line::DeleteDisplayList()
{
    glDeleteLists(static_cast<GLuint>(m_nDisplayList), 1);
    LogInfo("Display list for line #%i deleted.", m_nId);
}

void CGO_Line::GenerateDisplayList()
{
    CGO_Box bounds;
    GetBounds(bounds);
    CGO_DisplayList::Begin(m_nDisplayList);
    glBegin(GL_LINES);
    if (CGO_VisibleBox::NeedsClipping(bounds)) {
        // Far longer than the view is wide: only the part near the view.
        double x1 = m_p1.x, y1 = m_p1.y, x2 = m_p2.x, y2 = m_p2.y;
        if (CGO_VisibleBox::ClipSegment(x1, y1, x2, y2, CGO_VisibleBox::ClipBoxOf(CGO_VisibleBox::Get()))) {
            glVertex2f(static_cast<float>(x1), static_cast<float>(y1));
            glVertex2f(static_cast<float>(x2), static_cast<float>(y2));
        }
    } else {
        glVertex2f(m_p1.x, m_p1.y);
        glVertex2f(m_p2.x, m_p2.y);
    }
    glEnd();
    CGO_DisplayList::End();
    LogInfo("Display list #%i for line #%i generated.", m_nDisplayList, m_nId);
}

// Every transform computes the new end points on copies and keeps them only
// when both are finite, so a refused transform leaves the line bit for bit.
template <class PointOperation>
bool CGO_Line::TransformPoints(PointOperation operation, const char* done)
{
    CGO_Point p1 = m_p1;
    CGO_Point p2 = m_p2;
    operation(p1);
    operation(p2);
    if (!AcceptTransform(p1.IsFinite() && p2.IsFinite(), "Line", done))
        return false;
    m_p1 = p1;
    m_p2 = p2;
    return true;
}

void CGO_Line::Move(const CGO_Vector& v)
{
    if (TransformPoints([&v](CGO_Point& p) { p.Move(v); }, "moved"))
        LogInfo("Line #%i moved to P1(%4.1f, %4.1f), P2(%4.1f, %4.1f).", m_nId, m_p1.x, m_p1.y, m_p2.x, m_p2.y);
}

void CGO_Line::Rotate(float angle)
{
    if (TransformPoints([angle](CGO_Point& p) { p.Rotate(angle); }, "rotated"))
        LogInfo("Line #%i rotated by %4.1f degree.", m_nId, angle);
}

void CGO_Line::RotateAbout(CGO_Point base, float angle)
{
    if (TransformPoints([base, angle](CGO_Point& p) { p.RotateAbout(base, angle); }, "rotated"))
        LogInfo("Line #%i rotated by %4.1f degree.", m_nId, angle);
}

void CGO_Line::Scale(float factor)
{
    if (TransformPoints([factor](CGO_Point& p) { p.Scale(factor); }, "scaled"))
        LogInfo("Line #%i scaled by %4.1f.", m_nId, factor);
}

void CGO_Line::ScaleAbout(CGO_Point base, float factor)
{
    if (TransformPoints([base, factor](CGO_Point& p) { p.ScaleAbout(base, factor); }, "scaled"))
        LogInfo("Line #%i scaled by %4.1f.", m_nId, factor);
}

void CGO_Line::FlipHorizontal()
{
    if (TransformPoints([](CGO_Point& p) { p.FlipHorizontal(); }, "flipped horizontal"))
        LogInfo("Line #%i flipped horizontal.", m_nId);
}

void CGO_Line::FlipVertical()
{
    if (TransformPoints([](CGO_Point& p) { p.FlipVertical(); }, "flipped vertical"))
        LogInfo("Line #%i flipped vertical.", m_nId);
}

void CGO_Line::FlipOnOrigin()
{
    if (TransformPoints([](CGO_Point& p) { p.FlipOnOrigin(); }, "flipped on origin of ordinates"))
        LogInfo("Line #%i flipped on origin of ordinates.", m_nId);
}

void CGO_Line::FlipOnStraight(CGO_Point p1, CGO_Point p2)
{
    if (TransformPoints([p1, p2](CGO_Point& p) { p.FlipOnStraight(p1, p2); }, "flipped on straight"))
        LogInfo("Line #%i flipped on straight through P1(%4.1f, %4.1f), P2(%4.1f, %4.1f).", m_nId, p1.x, p1.y,
                p2.x, p2.y);
}

bool CGO_Line::GetBounds(CGO_Box& box) const
{
    box.xMin = std::min(m_p1.x, m_p2.x);
    box.xMax = std::max(m_p1.x, m_p2.x);
    box.yMin = std::min(m_p1.y, m_p2.y);
    box.yMax = std::max(m_p1.y, m_p2.y);
    return true;
}

void CGO_Line::GetOutline(CGO_Outline& outline) const
{
    outline.Add(CGO_Primitive::Segment(m_p1, m_p2));
}
