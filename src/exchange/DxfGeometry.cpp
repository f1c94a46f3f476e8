// Polylines, block references and ellipses as lines, circles and arcs. Every
// insert is bounded: a block that inserts itself is not followed, nesting
// stops at kMaxDepth, and copies stop at kMaxObjects objects or
// kMaxPlacements placements, whatever the file asks for.
#include "exchange/DxfGeometry.h"

#include "exchange/DxfEntityTable.h"
#include "geometry/GO_Arc.h"
#include "log/CFormat.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>

namespace {

constexpr double kDegrees = 180.0 / M_PI;
constexpr double kPlaneTolerance = 1e-12;
constexpr double kSimilarTolerance = 1e-9;
constexpr double kFloatLimit = static_cast<double>(FLT_MAX) + 0x1p103;
constexpr std::size_t kMaxNumberLength = 255;

bool ParseWhole(std::string_view text, double& value)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

CDxfPlacement Rotation(double degrees, double sx, double sy)
{
    const double a = degrees / kDegrees;
    const double cs = std::cos(a), sn = std::sin(a);
    CDxfPlacement m;
    m.a = cs * sx;
    m.b = -sn * sy;
    m.c = sn * sx;
    m.d = cs * sy;
    return m;
}

} // namespace

bool CDxfGeometry::Fail(int line, const std::string& reason)
{
    if (m_strError.empty())
        m_strError = StringFormatC("line %d: ", line) + reason;
    return false;
}

bool CDxfGeometry::ParseNumber(const CDxfEntity& entity, const CDxfGroup& group, double& value)
{
    if (group.value.size() > kMaxNumberLength || !ParseWhole(group.value, value) || !std::isfinite(value)) {
        value = 0.0;
        return Fail(group.line, StringFormatC("'%.40s' is not a finite number (group code %d of the %s)",
                                              group.value.c_str(), group.code, entity.type.c_str()));
    }
    return true;
}

double CDxfGeometry::Number(const CDxfEntity& entity, int code, double fallback)
{
    for (const CDxfGroup& group : entity.groups) {
        if (group.code == code) {
            double value = 0.0;
            return ParseNumber(entity, group, value) ? value : fallback;
        }
    }
    return fallback;
}

bool CDxfGeometry::FlatPlacement(const CDxfEntity& entity, const Context& context, CDxfPlacement& placement)
{
    const double nx = Number(entity, 210, 0.0), ny = Number(entity, 220, 0.0), nz = Number(entity, 230, 1.0);
    if (!(std::fabs(nx) <= kPlaneTolerance * std::fabs(nz) && std::fabs(ny) <= kPlaneTolerance * std::fabs(nz) &&
          nz != 0.0))
        return false;
    placement = context.placement;
    // Seen from below, the entity's own x axis points along -x.
    if (nz < 0.0) {
        placement.a = -placement.a;
        placement.c = -placement.c;
    }
    return true;
}

bool CDxfGeometry::Convert(const std::vector<CDxfEntity>& entities, std::vector<CDxfRecord>& out)
{
    m_pOut = &out;
    std::size_t i = 0;
    while (i < entities.size() && m_strError.empty()) {
        Context context;
        context.ordinal = entities[i].ordinal;
        i = ConvertOne(entities, i, context, false);
    }
    return m_strError.empty();
}

std::size_t CDxfGeometry::ConvertOne(const std::vector<CDxfEntity>& entities, std::size_t i, Context& context,
                                     bool inBlock)
{
    const CDxfEntity& entity = entities[i];
    const std::string& type = entity.type;
    if (type == "POLYLINE")
        return Polyline(entities, i, context);
    if (type == "LWPOLYLINE")
        LwPolyline(entity, context);
    else if (type == "INSERT")
        Insert(entity, context);
    else if (type == "ELLIPSE")
        Ellipse(entity, context);
    else if (inBlock && type == "LINE")
        Line(entity, context);
    else if (inBlock && (type == "CIRCLE" || type == "ARC"))
        CircleOrArc(entity, context, type == "ARC");
    else if (inBlock && type != "VERTEX" && type != "SEQEND" && type != "ATTRIB")
        m_skipped.Add(type);
    return i + 1;
}

void CDxfGeometry::Emit(const CGO_RuntimeClass* runtimeClass, std::initializer_list<double> values,
                        const char* type, const Context& context)
{
    if (!m_strError.empty())
        return;
    if (context.depth > 0 && static_cast<long>(m_pOut->size()) >= kMaxObjects)
        return;
    CDxfRecord out{context.ordinal, {}};
    out.record.runtimeClass = runtimeClass;
    std::size_t n = 0;
    for (const double value : values) {
        if (!(std::fabs(value) < kFloatLimit)) {
            Fail(0, StringFormatC("a %s gives a coordinate beyond the range of this program (about 3.4e38)", type));
            return;
        }
        out.record.values[n++] = static_cast<float>(value);
    }
    m_pOut->push_back(out);
}

void CDxfGeometry::EmitLine(double x1, double y1, double x2, double y2, const char* type, const Context& context)
{
    double wx1, wy1, wx2, wy2;
    context.placement.Apply(x1, y1, wx1, wy1);
    context.placement.Apply(x2, y2, wx2, wy2);
    Emit(DxfKindOfEntity("LINE")->runtimeClass, {wx1, wy1, wx2, wy2}, type, context);
}

void CDxfGeometry::EmitArc(double cx, double cy, double r, double start, double end, bool full, const char* type,
                           const Context& context)
{
    const CDxfPlacement& m = context.placement;
    const double s1 = std::hypot(m.a, m.c), s2 = std::hypot(m.b, m.d);
    const double dot = m.a * m.b + m.c * m.d;
    if (std::fabs(s1 - s2) > kSimilarTolerance * std::max(s1, s2) || std::fabs(dot) > kSimilarTolerance * s1 * s2) {
        // Such a circle is an ellipse on the drawing.
        const std::string block = context.path.empty() ? std::string() : context.path.back();
        const std::string kind(type);
        const bool own = kind == "CIRCLE" || kind == "ARC" || kind == "ELLIPSE";
        m_skipped.Add((own ? kind : "ARC of " + kind) + " (scaled unevenly by INSERT of '" + block + "')");
        return;
    }
    double x, y;
    m.Apply(cx, cy, x, y);
    const double radius = std::fabs(r) * s1;
    if (full) {
        Emit(DxfKindOfEntity("CIRCLE")->runtimeClass, {x, y, radius}, type, context);
        return;
    }
    const double turn = std::atan2(m.c, m.a) * kDegrees;
    const bool mirrored = m.Determinant() < 0.0;
    const double newStart = mirrored ? turn - end : turn + start;
    const double newEnd = mirrored ? turn - start : turn + end;
    Emit(DxfKindOfEntity("ARC")->runtimeClass,
         {x, y, radius, CGO_Arc::NormalizeDegrees(newStart), CGO_Arc::NormalizeDegrees(newEnd)}, type, context);
}

void CDxfGeometry::Line(const CDxfEntity& entity, const Context& context)
{
    // A line's end points are world coordinates whatever its extrusion.
    EmitLine(Number(entity, 10, 0.0), Number(entity, 20, 0.0), Number(entity, 11, 0.0), Number(entity, 21, 0.0),
             "LINE", context);
}

void CDxfGeometry::CircleOrArc(const CDxfEntity& entity, const Context& context, bool arc)
{
    Context own = context;
    if (!FlatPlacement(entity, context, own.placement)) {
        m_skipped.Add(entity.type + " (3D)");
        return;
    }
    EmitArc(Number(entity, 10, 0.0), Number(entity, 20, 0.0), Number(entity, 40, 0.0), Number(entity, 50, 0.0),
            Number(entity, 51, 360.0), !arc, entity.type.c_str(), own);
}

void CDxfGeometry::EmitPolyline(const std::vector<Vertex>& vertices, bool closed, const char* type,
                                const Context& context)
{
    const std::size_t count = vertices.size();
    if (count < 2) {
        m_skipped.Add(std::string(type) + " (fewer than two vertices)");
        return;
    }
    const std::size_t segments = closed && count > 2 ? count : count - std::min<std::size_t>(count, 1);
    for (std::size_t i = 0; i < segments && m_strError.empty(); ++i) {
        const Vertex& from = vertices[i];
        const Vertex& to = vertices[(i + 1) % count];
        const double dx = to.x - from.x, dy = to.y - from.y;
        const double chord = std::hypot(dx, dy);
        if (from.bulge == 0.0 || chord == 0.0) {
            EmitLine(from.x, from.y, to.x, to.y, type, context);
            continue;
        }
        // The bulge is the tangent of a quarter of the included angle,
        // positive counter-clockwise; the centre lies off the chord's middle
        // along its left normal.
        const double b = from.bulge;
        const double offset = (1.0 - b * b) / (4.0 * b);
        const double cx = (from.x + to.x) / 2.0 - dy * offset;
        const double cy = (from.y + to.y) / 2.0 + dx * offset;
        const double radius = chord * (1.0 + b * b) / (4.0 * std::fabs(b));
        const double a1 = std::atan2(from.y - cy, from.x - cx) * kDegrees;
        const double a2 = std::atan2(to.y - cy, to.x - cx) * kDegrees;
        if (b > 0.0)
            EmitArc(cx, cy, radius, a1, a2, false, type, context);
        else
            EmitArc(cx, cy, radius, a2, a1, false, type, context);
    }
}

void CDxfGeometry::LwPolyline(const CDxfEntity& entity, const Context& context)
{
    Context own = context;
    if (!FlatPlacement(entity, context, own.placement)) {
        m_skipped.Add("LWPOLYLINE (3D)");
        return;
    }
    std::vector<Vertex> vertices;
    for (const CDxfGroup& group : entity.groups) {
        if (group.code != 10 && group.code != 20 && group.code != 42)
            continue;
        double value = 0.0;
        if (!ParseNumber(entity, group, value))
            return;
        if (group.code == 10)
            vertices.push_back({value, 0.0, 0.0});
        else if (!vertices.empty())
            (group.code == 20 ? vertices.back().y : vertices.back().bulge) = value;
    }
    const bool closed = (static_cast<long long>(Number(entity, 70, 0.0)) & 1) != 0;
    EmitPolyline(vertices, closed, "LWPOLYLINE", own);
}

std::size_t CDxfGeometry::Polyline(const std::vector<CDxfEntity>& entities, std::size_t i, const Context& context)
{
    const CDxfEntity& polyline = entities[i];
    const long long flags = static_cast<long long>(Number(polyline, 70, 0.0));
    std::vector<Vertex> vertices;
    std::size_t next = i + 1;
    for (; next < entities.size() && entities[next].type == "VERTEX"; ++next) {
        const CDxfEntity& vertex = entities[next];
        // Spline frame points are no part of the drawn outline.
        if ((static_cast<long long>(Number(vertex, 70, 0.0)) & 16) != 0)
            continue;
        vertices.push_back({Number(vertex, 10, 0.0), Number(vertex, 20, 0.0), Number(vertex, 42, 0.0)});
    }
    if (next < entities.size() && entities[next].type == "SEQEND")
        ++next;
    // 3D polylines, polygon meshes and polyface meshes.
    if ((flags & (8 | 16 | 64)) != 0) {
        m_skipped.Add("POLYLINE (3D)");
        return next;
    }
    Context own = context;
    if (!FlatPlacement(polyline, context, own.placement)) {
        m_skipped.Add("POLYLINE (3D)");
        return next;
    }
    EmitPolyline(vertices, (flags & 1) != 0, "POLYLINE", own);
    return next;
}

void CDxfGeometry::Ellipse(const CDxfEntity& entity, const Context& context)
{
    const double nx = Number(entity, 210, 0.0), ny = Number(entity, 220, 0.0), nz = Number(entity, 230, 1.0);
    const double ratio = Number(entity, 40, 1.0);
    if (std::fabs(ratio - 1.0) > kSimilarTolerance || std::fabs(nx) > kPlaneTolerance * std::fabs(nz) ||
        std::fabs(ny) > kPlaneTolerance * std::fabs(nz) || nz == 0.0) {
        m_skipped.Add("ELLIPSE");
        return;
    }
    // Centre and axis are world coordinates; seen from below, the
    // parameter runs clockwise.
    const double mx = Number(entity, 11, 0.0), my = Number(entity, 21, 0.0);
    const double p1 = Number(entity, 41, 0.0), p2 = Number(entity, 42, 2.0 * M_PI);
    const double turn = std::atan2(my, mx) * kDegrees;
    const double span = std::fmod(p2 - p1, 2.0 * M_PI);
    const bool full = std::fabs(span) < kSimilarTolerance || std::fabs(std::fabs(span) - 2.0 * M_PI) < kSimilarTolerance;
    const double start = nz > 0.0 ? turn + p1 * kDegrees : turn - p2 * kDegrees;
    const double end = nz > 0.0 ? turn + p2 * kDegrees : turn - p1 * kDegrees;
    EmitArc(Number(entity, 10, 0.0), Number(entity, 20, 0.0), std::hypot(mx, my), start, end, full, "ELLIPSE",
            context);
}

void CDxfGeometry::Insert(const CDxfEntity& entity, Context& context)
{
    std::string name;
    for (const CDxfGroup& group : entity.groups) {
        if (group.code == 2 && name.empty())
            name = group.value;
    }
    const auto block = m_blocks.find(name);
    if (block == m_blocks.end()) {
        m_skipped.Add("INSERT (no block '" + name + "')");
        return;
    }
    if (std::find(context.path.begin(), context.path.end(), name) != context.path.end()) {
        m_skipped.Add("INSERT (block '" + name + "' inserts itself)");
        return;
    }
    if (context.depth >= kMaxDepth) {
        m_skipped.Add(StringFormatC("INSERT (blocks nested deeper than %d)", kMaxDepth));
        return;
    }
    CDxfPlacement ocs;
    Context base = context;
    if (!FlatPlacement(entity, context, ocs)) {
        m_skipped.Add("INSERT (3D)");
        return;
    }
    CDxfEntity header{"BLOCK", entity.line, 0, block->second.header};
    const double bx = Number(header, 10, 0.0), by = Number(header, 20, 0.0);
    const double px = Number(entity, 10, 0.0), py = Number(entity, 20, 0.0);
    const double sx = Number(entity, 41, 1.0), sy = Number(entity, 42, 1.0);
    const double angle = Number(entity, 50, 0.0);
    const long long columns = std::max(1LL, static_cast<long long>(std::min(Number(entity, 70, 1.0), 1e9)));
    const long long rows = std::max(1LL, static_cast<long long>(std::min(Number(entity, 71, 1.0), 1e9)));
    const double columnStep = Number(entity, 44, 0.0), rowStep = Number(entity, 45, 0.0);
    if (!m_strError.empty())
        return;
    const CDxfPlacement turn = Rotation(angle, sx, sy);
    const CDxfPlacement unscaled = Rotation(angle, 1.0, 1.0);
    const std::vector<CDxfEntity>& entities = block->second.entities;
    for (long long row = 0; row < rows; ++row) {
        for (long long column = 0; column < columns; ++column) {
            if (++m_nPlacements > kMaxPlacements || static_cast<long>(m_pOut->size()) >= kMaxObjects) {
                m_skipped.Add(StringFormatC("INSERT (beyond %ld objects)", kMaxObjects));
                return;
            }
            CDxfPlacement local = turn;
            double ox, oy, tx, ty;
            unscaled.Apply(column * columnStep, row * rowStep, ox, oy);
            turn.Apply(-bx, -by, tx, ty);
            local.tx = px + ox + tx;
            local.ty = py + oy + ty;
            Context inner;
            inner.placement = ocs.After(local);
            inner.depth = base.depth + 1;
            inner.ordinal = base.ordinal;
            inner.path = base.path;
            inner.path.push_back(name);
            for (std::size_t i = 0; i < entities.size() && m_strError.empty();)
                i = ConvertOne(entities, i, inner, true);
            if (!m_strError.empty())
                return;
        }
    }
}
