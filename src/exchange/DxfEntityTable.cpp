// Lines and circles as DXF entities.
#include "exchange/DxfEntityTable.h"

#include "geometry/GO_Arc.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"

#include <dl_dxf.h>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

CGO_Box LineBounds(const CGO_ObjectRecord& record)
{
    const auto& v = record.values;
    return {std::min(v[0], v[2]), std::min(v[1], v[3]), std::max(v[0], v[2]), std::max(v[1], v[3])};
}

void WriteLine(DL_Dxf& dxf, DL_WriterA& writer, const CGO_ObjectRecord& record, const DL_Attributes& attributes)
{
    const auto& v = record.values;
    dxf.writeLine(writer, DL_LineData(v[0], v[1], 0.0, v[2], v[3], 0.0), attributes);
}

CGO_Box CircleBounds(const CGO_ObjectRecord& record)
{
    const auto& v = record.values;
    const double r = std::fabs(static_cast<double>(v[2]));
    return {v[0] - r, v[1] - r, v[0] + r, v[1] + r};
}

// A radius is a length: the sign some writers leave on it changes nothing.
void WriteCircle(DL_Dxf& dxf, DL_WriterA& writer, const CGO_ObjectRecord& record, const DL_Attributes& attributes)
{
    const auto& v = record.values;
    dxf.writeCircle(writer, DL_CircleData(v[0], v[1], 0.0, std::fabs(v[2])), attributes);
}

// The box of an arc is that of the object it loads into.
CGO_Box ArcBounds(const CGO_ObjectRecord& record)
{
    const auto& v = record.values;
    return CGO_Arc::BoundsOf(CGO_Arc::PrimitiveOf(CGO_Point(v[0], v[1]), v[2], v[3], v[4]));
}

void WriteArc(DL_Dxf& dxf, DL_WriterA& writer, const CGO_ObjectRecord& record, const DL_Attributes& attributes)
{
    const auto& v = record.values;
    dxf.writeArc(writer, DL_ArcData(v[0], v[1], 0.0, std::fabs(v[2]), v[3], v[4]), attributes);
}

const CDxfEntityKind kKinds[] = {
    {&CGO_Line::s_runtimeClass, "LINE", &LineBounds, &WriteLine},
    {&CGO_Circle::s_runtimeClass, "CIRCLE", &CircleBounds, &WriteCircle},
    {&CGO_Arc::s_runtimeClass, "ARC", &ArcBounds, &WriteArc},
};

} // namespace

const CDxfEntityKind* DxfKindOfClass(const CGO_RuntimeClass* runtimeClass)
{
    const auto row = std::find_if(std::begin(kKinds), std::end(kKinds),
                                  [runtimeClass](const CDxfEntityKind& kind) { return kind.runtimeClass == runtimeClass; });
    return row != std::end(kKinds) ? row : nullptr;
}

const CDxfEntityKind* DxfKindOfEntity(std::string_view entity)
{
    const auto row = std::find_if(std::begin(kKinds), std::end(kKinds),
                                  [entity](const CDxfEntityKind& kind) { return entity == kind.entity; });
    return row != std::end(kKinds) ? row : nullptr;
}
