// DXF entities decoded by dxflib. The library gets only what the scanner has
// checked and wants imported: it reports no errors (a truncated file or a
// coordinate "abc" loads silently, as 0), allocates vertex, knot and leader
// buffers of whatever size a file names (an LWPOLYLINE counting 600 million
// vertices ends the process with an uncaught bad_alloc, a SPLINE of a billion
// knots takes 8 GB and minutes), reads uninitialised state for some HATCH
// data, and reading from a stream never ends once a line exceeds its
// 1024-byte buffer.
#include "exchange/DxfReader.h"

#include "exchange/DxfScanner.h"
#include "exchange/DxfEntityTable.h"
#include "exchange/DxfGeometry.h"
#include "log/CFormat.h"

#include <dl_creationadapter.h>
#include <dl_dxf.h>

#include <cfloat>
#include <cmath>
#include <algorithm>
#include <exception>
#include <sstream>

namespace {

// A circle lies in the drawing's plane when its extrusion points along z;
// a tiny tilt is what a writer's rounding leaves.
constexpr double kPlaneTolerance = 1e-12;

// Below half a step above the largest float, a value rounds to a finite
// float; from there on it would be infinite.
constexpr double kFloatLimit = static_cast<double>(FLT_MAX) + 0x1p103;

bool FitsFloat(double value)
{
    return std::fabs(value) < kFloatLimit;
}

// The z component of an extrusion that lies along z (seen from above when
// positive, from below when negative), or 0 for one tilted out of the plane.
double PlaneSide(const double* direction)
{
    const double dz = direction[2];
    const bool flat = std::fabs(direction[0]) <= kPlaneTolerance * std::fabs(dz) &&
                      std::fabs(direction[1]) <= kPlaneTolerance * std::fabs(dz) && dz != 0.0;
    return flat ? dz : 0.0;
}

// Receives the library's entities, in the order the scanner passed them.
class CImportAdapter : public DL_CreationAdapter {
public:
    CImportAdapter(const std::vector<int>& lines, const std::vector<int>& ordinals, std::vector<CDxfRecord>& records,
                   CSkippedEntities& skipped, IProgress* progress)
        : m_lines(lines), m_ordinals(ordinals), m_records(records), m_skipped(skipped), m_ticker(progress, lines.size())
    {
    }

    // The stream the library reads: once the reporter says stop, it ends.
    void Watch(std::istream& stream) { m_pStream = &stream; }

    void addLine(const DL_LineData& data) override
    {
        const int line = NextLine();
        if (!FitsFloat(data.x1) || !FitsFloat(data.y1) || !FitsFloat(data.x2) || !FitsFloat(data.y2))
            return Fail(line, "LINE");
        CGO_ObjectRecord record;
        record.runtimeClass = DxfKindOfEntity("LINE")->runtimeClass;
        record.values = {static_cast<float>(data.x1), static_cast<float>(data.y1), static_cast<float>(data.x2),
                         static_cast<float>(data.y2)};
        Keep(record);
    }

    void addCircle(const DL_CircleData& data) override
    {
        const int line = NextLine();
        // The centre is given in the circle's own coordinate system. Seen
        // from below (extrusion -z) its x axis points along -x; any other
        // direction tilts the circle out of the drawing's plane.
        const double dz = PlaneSide(getExtrusion()->getDirection());
        if (dz == 0.0) {
            m_skipped.Add("CIRCLE (3D)");
            ++m_nTilted;
            return;
        }
        const double x = dz > 0.0 ? data.cx : -data.cx;
        if (!FitsFloat(x) || !FitsFloat(data.cy) || !FitsFloat(data.radius))
            return Fail(line, "CIRCLE");
        CGO_ObjectRecord record;
        record.runtimeClass = DxfKindOfEntity("CIRCLE")->runtimeClass;
        // A radius is a length; the sign some writers leave on it changes
        // nothing of the circle.
        record.values = {static_cast<float>(x), static_cast<float>(data.cy),
                         static_cast<float>(std::fabs(data.radius))};
        Keep(record);
    }

    void addArc(const DL_ArcData& data) override
    {
        const int line = NextLine();
        const double dz = PlaneSide(getExtrusion()->getDirection());
        if (dz == 0.0) {
            m_skipped.Add("ARC (3D)");
            ++m_nTilted;
            return;
        }
        // Seen from below, x runs the other way: the angles mirror at the y
        // axis and the arc runs from the mirrored end to the mirrored start.
        const bool below = dz < 0.0;
        const double x = below ? -data.cx : data.cx;
        const double start = below ? 180.0 - data.angle2 : data.angle1;
        const double end = below ? 180.0 - data.angle1 : data.angle2;
        if (!FitsFloat(x) || !FitsFloat(data.cy) || !FitsFloat(data.radius) || !FitsFloat(start) || !FitsFloat(end))
            return Fail(line, "ARC");
        CGO_ObjectRecord record;
        record.runtimeClass = DxfKindOfEntity("ARC")->runtimeClass;
        record.values = {static_cast<float>(x), static_cast<float>(data.cy), static_cast<float>(std::fabs(data.radius)),
                         static_cast<float>(start), static_cast<float>(end)};
        Keep(record);
    }

    const std::string& GetError() const { return m_strError; }
    // Every entity passed came back, as a record or as a tilted circle.
    bool SawAll() const { return m_nKept + m_nTilted == m_lines.size(); }

private:
    void Keep(const CGO_ObjectRecord& record)
    {
        const int ordinal = m_nNext > 0 && m_nNext <= m_ordinals.size() ? m_ordinals[m_nNext - 1] : 0;
        m_records.push_back({ordinal, record});
        ++m_nKept;
    }

    int NextLine()
    {
        // The library reads lines while the stream is not at its end.
        if (m_pStream != nullptr && m_strError.empty() && !m_ticker.Step()) {
            m_strError = progress::kCancelled;
            m_pStream->setstate(std::ios::eofbit | std::ios::failbit);
        }
        const int line = m_nNext < m_lines.size() ? m_lines[m_nNext] : 0;
        ++m_nNext;
        return line;
    }

    void Fail(int line, const char* type)
    {
        if (m_strError.empty()) {
            m_strError = StringFormatC("line %d: the %s has a coordinate beyond the range of this program "
                                       "(about 3.4e38)",
                                       line, type);
        }
    }

    const std::vector<int>& m_lines;
    const std::vector<int>& m_ordinals;
    std::vector<CDxfRecord>& m_records;
    std::size_t m_nKept = 0;
    CSkippedEntities& m_skipped;
    std::size_t m_nNext = 0;
    std::size_t m_nTilted = 0;
    progress::CTicker m_ticker;
    std::istream* m_pStream = nullptr;
    std::string m_strError;
};

} // namespace

bool CDxfReader::Read(const std::vector<unsigned char>& bytes, IProgress* progress)
{
    m_records.clear();
    m_skipped = CSkippedEntities();
    m_strError.clear();
    CDxfScanner scanner;
    progress::CPart scanning(progress, 0, 100);
    progress::CPart parsing(progress, 100, 100);
    if (!scanner.Scan(bytes.data(), bytes.size(), progress != nullptr ? &scanning : nullptr)) {
        m_strError = scanner.GetError();
        return false;
    }
    m_skipped = scanner.GetSkipped();
    try {
        std::vector<CDxfRecord> records;
        records.reserve(scanner.GetImportLines().size());
        CImportAdapter adapter(scanner.GetImportLines(), scanner.GetImportOrdinals(), records, m_skipped,
                               progress != nullptr ? &parsing : nullptr);
        std::istringstream stream(scanner.GetImportText());
        adapter.Watch(stream);
        DL_Dxf dxf;
        dxf.in(stream, &adapter);
        m_strError = adapter.GetError();
        if (m_strError.empty() && !adapter.SawAll())
            m_strError = "the DXF library did not return every line and circle";
        CDxfGeometry geometry(scanner.GetBlocks(), m_skipped);
        if (m_strError.empty() && !geometry.Convert(scanner.GetKeptEntities(), records))
            m_strError = geometry.GetError();
        // In file order: the library's entities and the kept ones interleave.
        std::stable_sort(records.begin(), records.end(),
                         [](const CDxfRecord& a, const CDxfRecord& b) { return a.ordinal < b.ordinal; });
        m_records.reserve(records.size());
        for (const CDxfRecord& record : records)
            m_records.push_back(record.record);
    } catch (const std::bad_alloc&) {
        m_strError = "not enough memory for the file's entities";
    } catch (const std::exception& failure) {
        m_strError = std::string("the DXF library failed: ") + failure.what();
    }
    if (!m_strError.empty()) {
        std::vector<CGO_ObjectRecord>().swap(m_records);
        return false;
    }
    return true;
}
