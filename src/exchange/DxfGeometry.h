// The drawing's own decoding of what the DXF library is not given: LWPOLYLINE
// and 2D POLYLINE (straight segments become lines, bulged ones arcs), INSERT
// with its block's entities placed through insertion point, scale, rotation
// and column/row array, blocks nested in blocks, and ELLIPSE with equal axes.
// What cannot become lines, circles and arcs is counted and named.
#pragma once

#include "database/GO_ObjectRecord.h"
#include "exchange/DxfEntity.h"
#include "exchange/DxfPlacement.h"
#include "exchange/SkippedEntities.h"

#include <string>
#include <vector>

struct CDxfRecord {
    int ordinal;
    CGO_ObjectRecord record;
};

class CDxfGeometry {
public:
    // Blocks nested deeper than this are not followed.
    static constexpr int kMaxDepth = 32;
    // Inserted copies and objects made, all told: beyond, inserts stop.
    static constexpr long kMaxObjects = 200000;
    static constexpr long kMaxPlacements = 1000000;

    CDxfGeometry(const CDxfBlocks& blocks, CSkippedEntities& skipped) : m_blocks(blocks), m_skipped(skipped) {}

    // Appends the records of the model space's kept entities. False, with
    // the reason in GetError(), for a value that is no finite number or a
    // result beyond the float range.
    bool Convert(const std::vector<CDxfEntity>& entities, std::vector<CDxfRecord>& out);
    const std::string& GetError() const { return m_strError; }

private:
    struct Context {
        CDxfPlacement placement;
        int depth = 0;
        int ordinal = 0;
        // The blocks inserted on the way here, outermost first.
        std::vector<std::string> path;
    };
    // Entities from index i on; consumes a POLYLINE's vertices. Returns the
    // index after what it used.
    std::size_t ConvertOne(const std::vector<CDxfEntity>& entities, std::size_t i, Context& context,
                           bool inBlock);
    void Line(const CDxfEntity& entity, const Context& context);
    void CircleOrArc(const CDxfEntity& entity, const Context& context, bool arc);
    void LwPolyline(const CDxfEntity& entity, const Context& context);
    std::size_t Polyline(const std::vector<CDxfEntity>& entities, std::size_t i, const Context& context);
    void Insert(const CDxfEntity& entity, Context& context);
    void Ellipse(const CDxfEntity& entity, const Context& context);

    struct Vertex {
        double x, y, bulge;
    };
    void EmitPolyline(const std::vector<Vertex>& vertices, bool closed, const char* type, const Context& context);
    void EmitLine(double x1, double y1, double x2, double y2, const char* type, const Context& context);
    // An arc of the entity's own coordinates (a full circle when full),
    // angles in degrees counter-clockwise.
    void EmitArc(double cx, double cy, double r, double start, double end, bool full, const char* type,
                 const Context& context);
    void Emit(const CGO_RuntimeClass* runtimeClass, std::initializer_list<double> values, const char* type,
              const Context& context);

    // The value of the first group with this code, or fallback.
    double Number(const CDxfEntity& entity, int code, double fallback);
    bool ParseNumber(const CDxfEntity& entity, const CDxfGroup& group, double& value);
    // The placement of the entity's own coordinate system (its extrusion),
    // false when it is tilted out of the drawing's plane.
    bool FlatPlacement(const CDxfEntity& entity, const Context& context, CDxfPlacement& placement);
    bool Fail(int line, const std::string& reason);

    const CDxfBlocks& m_blocks;
    CSkippedEntities& m_skipped;
    std::vector<CDxfRecord>* m_pOut = nullptr;
    long m_nPlacements = 0;
    std::string m_strError;
};
