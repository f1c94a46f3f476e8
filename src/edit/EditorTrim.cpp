// Trim and offset, the two modify operations that make arcs. Trim removes
// the piece of a line, circle or arc between the nearest crossings with the
// other objects on either side of the click; offset adds a parallel line or
// a concentric circle or arc on the side clicked. Each is one undo step.
#include "edit/Editor.h"

#include "database/GO_Database.h"
#include "edit/EditJournal.h"
#include "geometry/GO_Arc.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "log/Logger.h"
#include "snap/SnapGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

const char* const OFFSET_RADIUS_NOT_POSITIVE = "the radius would be 0 or less";
const char* const OFFSET_THROUGH_THE_OBJECT = "the point lies on the object";

namespace {

constexpr double kDegrees = 180.0 / M_PI;
// Crossings this close to an end (in the piece's own measure) are the end.
constexpr double kEndSlack = 1e-9;

double AngleOf(CGO_Point center, double x, double y)
{
    return std::atan2(y - center.y, x - center.x) * kDegrees;
}

// Where a point lies along the primitive: 0 to 1 along a segment, degrees
// counter-clockwise from the start along an arc (0 to 360 for a circle).
double ParameterOf(const CGO_Primitive& p, double x, double y)
{
    if (p.IsSegment()) {
        const double dx = static_cast<double>(p.b.x) - p.a.x, dy = static_cast<double>(p.b.y) - p.a.y;
        const double length2 = dx * dx + dy * dy;
        return length2 > 0.0 ? ((x - p.a.x) * dx + (y - p.a.y) * dy) / length2 : 0.0;
    }
    double offset = std::fmod(AngleOf(p.center, x, y) - p.startDegrees, 360.0);
    return offset < 0.0 ? offset + 360.0 : offset;
}

CGO_Point PointAt(const CGO_Primitive& p, double t)
{
    if (p.IsSegment())
        return CGO_Point(static_cast<float>(p.a.x + (static_cast<double>(p.b.x) - p.a.x) * t),
                         static_cast<float>(p.a.y + (static_cast<double>(p.b.y) - p.a.y) * t));
    const double a = (p.startDegrees + t) / kDegrees;
    return CGO_Point(static_cast<float>(p.center.x + p.radius * std::cos(a)),
                     static_cast<float>(p.center.y + p.radius * std::sin(a)));
}

// How far the point lies from the primitive's straight or circle.
double DistanceToCarrier(const CGO_Primitive& p, CGO_Point point)
{
    if (p.IsSegment()) {
        const double dx = static_cast<double>(p.b.x) - p.a.x, dy = static_cast<double>(p.b.y) - p.a.y;
        const double length = std::hypot(dx, dy);
        if (!(length > 0.0))
            return 0.0;
        return std::fabs(dx * (static_cast<double>(point.y) - p.a.y) - dy * (static_cast<double>(point.x) - p.a.x)) /
               length;
    }
    return std::fabs(std::hypot(static_cast<double>(point.x) - p.center.x, static_cast<double>(point.y) - p.center.y) -
                     std::fabs(p.radius));
}

} // namespace

CEditOutcome CEditor::Trim(int id, CGO_Point click)
{
    CEditOutcome outcome;
    const CGO_GeoObject* object = m_database.Find(id);
    if (object == nullptr) {
        ++outcome.missing;
        return outcome;
    }
    ++outcome.found;
    CGO_Outline outline;
    object->GetOutline(outline);
    if (outline.Count() != 1) {
        outcome.held = true;
        return outcome;
    }
    const CGO_Primitive piece = outline[0];
    const bool circle = piece.IsFullCircle();
    const double span = piece.IsSegment() ? 1.0 : circle ? 360.0 : piece.sweepDegrees;
    std::vector<double> cuts;
    for (int slot = 0; slot < m_database.GetSize(); ++slot) {
        const CGO_GeoObject* other = m_database.GetAt(slot);
        if (other == nullptr || other == object)
            continue;
        CGO_Outline otherOutline;
        other->GetOutline(otherOutline);
        for (const CGO_Primitive& q : otherOutline) {
            const snapgeo::CCrossing crossing = snapgeo::IntersectPrimitives(piece, q);
            for (int i = 0; i < crossing.m_nCount; ++i) {
                const double t = ParameterOf(piece, crossing.m_pt[i].x, crossing.m_pt[i].y);
                const double slack = kEndSlack * span;
                if (circle || (t > slack && t < span - slack))
                    cuts.push_back(t);
            }
        }
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    if (cuts.empty() || (circle && cuts.size() < 2)) {
        LogInfo("Object #%i not trimmed: it crosses no other object.", id);
        outcome.held = true;
        return outcome;
    }
    const double at = ParameterOf(piece, click.x, click.y);
    const auto after = std::upper_bound(cuts.begin(), cuts.end(), at);
    // The pieces that stay, each as its range of the parameter.
    std::vector<std::pair<double, double>> kept;
    if (circle) {
        const double to = after == cuts.end() ? cuts.front() : *after;
        const double from = after == cuts.begin() ? cuts.back() : *(after - 1);
        kept.push_back({to, from < to ? from + 360.0 : from});
    } else {
        if (after != cuts.begin())
            kept.push_back({0.0, *(after - 1)});
        if (after != cuts.end())
            kept.push_back({*after, span});
    }
    CEditJournal journal(m_database);
    journal.Begin(EDIT_TRIM);
    const CGO_Primitive original = piece;
    m_database.RemoveById(id);
    for (const auto& range : kept) {
        CGO_GeoObject* made = nullptr;
        if (original.IsSegment()) {
            auto* line = new CGO_Line();
            line->SetPoints(range.first == 0.0 ? original.a : PointAt(original, range.first),
                            range.second == span ? original.b : PointAt(original, range.second));
            made = line;
        } else {
            auto* arc = new CGO_Arc();
            arc->SetArc(original.center, original.radius, static_cast<float>(original.startDegrees + range.first),
                        static_cast<float>(original.startDegrees + range.second));
            made = arc;
        }
        m_database.Add(made);
        outcome.created.push_back(made->GetId());
    }
    LogInfo("Object #%i trimmed into %i piece(s).", id, static_cast<int>(kept.size()));
    Push(journal.End());
    return outcome;
}

CEditOutcome CEditor::Offset(int id, float distance, CGO_Point side)
{
    CEditOutcome outcome;
    const CGO_GeoObject* object = m_database.Find(id);
    if (object == nullptr) {
        ++outcome.missing;
        return outcome;
    }
    ++outcome.found;
    CGO_Outline outline;
    object->GetOutline(outline);
    if (outline.Count() != 1 || !std::isfinite(distance)) {
        outcome.held = true;
        return outcome;
    }
    const CGO_Primitive p = outline[0];
    const auto logOffset = [id, distance](CGO_GeoObject&) { LogInfo("Object #%i offset by %.2f.", id, distance); };
    if (p.IsSegment()) {
        const double dx = static_cast<double>(p.b.x) - p.a.x, dy = static_cast<double>(p.b.y) - p.a.y;
        const double length = std::hypot(dx, dy);
        if (!(length > 0.0))
            return Refused("Offset", "the line has no length");
        const double cross = dx * (static_cast<double>(side.y) - p.a.y) - dy * (static_cast<double>(side.x) - p.a.x);
        const double sign = cross >= 0.0 ? 1.0 : -1.0;
        const double nx = -dy / length * distance * sign, ny = dx / length * distance * sign;
        const CGO_Point from(static_cast<float>(p.a.x + nx), static_cast<float>(p.a.y + ny));
        const CGO_Point to(static_cast<float>(p.b.x + nx), static_cast<float>(p.b.y + ny));
        if (!from.IsFinite() || !to.IsFinite())
            return Refused("Offset", "the new line would not be finite");
        auto* line = new CGO_Line();
        line->SetPoints(from, to);
        return Add(line, EDIT_OFFSET, logOffset);
    }
    const double away = std::hypot(static_cast<double>(side.x) - p.center.x, static_cast<double>(side.y) - p.center.y);
    const double radius = std::fabs(p.radius) + (away > std::fabs(p.radius) ? distance : -distance);
    if (!(radius > 0.0))
        return Refused("Offset", OFFSET_RADIUS_NOT_POSITIVE);
    if (!std::isfinite(static_cast<float>(std::min(radius, 1e300))))
        return Refused("Offset", "the radius would not be finite");
    if (p.IsFullCircle()) {
        auto* circle = new CGO_Circle();
        circle->SetCenterAndRadius(p.center, static_cast<float>(radius));
        return Add(circle, EDIT_OFFSET, logOffset);
    }
    auto* arc = new CGO_Arc();
    arc->SetArc(p.center, static_cast<float>(radius), p.startDegrees, p.startDegrees + p.sweepDegrees);
    return Add(arc, EDIT_OFFSET, logOffset);
}

CEditOutcome CEditor::OffsetThrough(int id, CGO_Point through)
{
    const CGO_GeoObject* object = m_database.Find(id);
    CGO_Outline outline;
    if (object != nullptr)
        object->GetOutline(outline);
    if (outline.Count() != 1 || !through.IsFinite())
        return Offset(id, std::numeric_limits<float>::quiet_NaN(), through);
    const float distance = static_cast<float>(DistanceToCarrier(outline[0], through));
    if (!(distance > 0.0f))
        return Refused("Offset", OFFSET_THROUGH_THE_OBJECT);
    return Offset(id, distance, through);
}
