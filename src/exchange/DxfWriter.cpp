// DXF output through dxflib's writer, with numbers formatted here: the
// library prints a fixed 16 decimals (so 1e-20 would become 0) in the
// process's locale.
#include "exchange/DxfWriter.h"

#include "exchange/DxfEntityTable.h"
#include "geometry/GO_RuntimeClass.h"
#include "log/CFormat.h"

#include <dl_dxf.h>
#include <dl_writer_ascii.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace {

// What AutoCAD writes for the extents of a drawing that holds nothing.
constexpr double kNoExtent = 1e20;
constexpr std::size_t kBytesPerEntityEstimate = 120;

std::string FormatDouble(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// dxflib's writer with its output into memory: every group goes through
// these five functions. The file stream of the base class is never opened.
class CMemoryWriter : public DL_WriterA {
public:
    explicit CMemoryWriter(std::string& out) : DL_WriterA("", DL_Codes::AC1009), m_out(out) {}

    void dxfReal(int gc, double value) const override
    {
        // Coordinates are floats; the extents and the library's own values
        // are doubles.
        const float single = static_cast<float>(value);
        Put(gc, static_cast<double>(single) == value ? CDxfWriter::FormatFloat(single) : FormatDouble(value));
    }
    void dxfInt(int gc, int value) const override { Put(gc, std::to_string(value)); }
    void dxfHex(int gc, int value) const override { Put(gc, StringFormatC("%X", value)); }
    void dxfString(int gc, const char* value) const override { Put(gc, value); }
    void dxfString(int gc, const std::string& value) const override { Put(gc, value); }

private:
    void Put(int gc, const std::string& value) const
    {
        m_out += StringFormatC("%3d\n", gc);
        m_out += value;
        m_out += '\n';
    }

    std::string& m_out;
};

struct CExtents {
    double xMin = kNoExtent, yMin = kNoExtent, xMax = -kNoExtent, yMax = -kNoExtent;
    bool IsEmpty() const { return xMin > xMax; }
    void Include(double xLow, double yLow, double xHigh, double yHigh)
    {
        xMin = std::min(xMin, xLow);
        yMin = std::min(yMin, yLow);
        xMax = std::max(xMax, xHigh);
        yMax = std::max(yMax, yHigh);
    }
};

bool ExtentsOf(const std::vector<CGO_ObjectRecord>& records, CExtents& extents, std::string& error)
{
    int object = 0;
    for (const CGO_ObjectRecord& record : records) {
        if (record.runtimeClass == nullptr)
            continue;
        ++object;
        const int floats = record.runtimeClass->m_nRecordFloats;
        for (int i = 0; i < floats; ++i) {
            if (!std::isfinite(record.values[static_cast<std::size_t>(i)])) {
                error = StringFormatC("object %d of the drawing has a coordinate that is not a finite number, "
                                      "which DXF cannot hold",
                                      object);
                return false;
            }
        }
        const CDxfEntityKind* kind = DxfKindOfClass(record.runtimeClass);
        if (kind == nullptr) {
            error = StringFormatC("object %d of the drawing is of a kind DXF cannot hold", object);
            return false;
        }
        const CGO_Box box = kind->bounds(record);
        extents.Include(box.xMin, box.yMin, box.xMax, box.yMax);
    }
    return true;
}

void WriteHeader(const CMemoryWriter& dw, const CExtents& extents)
{
    dw.sectionHeader();
    dw.dxfString(9, "$ACADVER");
    dw.dxfString(1, "AC1009");
    const struct {
        const char* name;
        double x, y;
    } corners[] = {{"$EXTMIN", extents.xMin, extents.yMin}, {"$EXTMAX", extents.xMax, extents.yMax}};
    for (const auto& corner : corners) {
        dw.dxfString(9, corner.name);
        dw.dxfReal(10, corner.x);
        dw.dxfReal(20, corner.y);
        dw.dxfReal(30, extents.IsEmpty() ? corner.x : 0.0);
    }
    dw.sectionEnd();
}

void WriteTables(DL_Dxf& dxf, CMemoryWriter& dw)
{
    dw.sectionTables();
    dw.tableLinetypes(1);
    dxf.writeLinetype(dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
    dw.tableEnd();
    dw.tableLayers(1);
    // Colour 7 is black on a white background and white on a black one.
    dxf.writeLayer(dw, DL_LayerData("0", 0), DL_Attributes("", 7, 0, "CONTINUOUS", 1.0));
    dw.tableEnd();
    dw.sectionEnd();
}

bool WriteEntities(DL_Dxf& dxf, CMemoryWriter& dw, const std::vector<CGO_ObjectRecord>& records,
                   IProgress* progress)
{
    const DL_Attributes onLayer0("0", 256, -1, "BYLAYER", 1.0);
    dw.sectionEntities();
    progress::CTicker ticker(progress, records.size());
    for (const CGO_ObjectRecord& record : records) {
        if (!ticker.Step())
            return false;
        if (const CDxfEntityKind* kind = DxfKindOfClass(record.runtimeClass))
            kind->write(dxf, dw, record, onLayer0);
    }
    dw.sectionEnd();
    return true;
}

} // namespace

std::string CDxfWriter::FormatFloat(float value)
{
    // Plain decimals where people read them ("200000", not "2e+05"), powers
    // of ten only for the very large and very small.
    const float magnitude = std::fabs(value);
    const bool scientific = magnitude != 0.0f && (magnitude < 1e-5f || magnitude >= 1e16f);
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                scientific ? std::chars_format::scientific : std::chars_format::fixed);
    // The shortest text for the float may lie so near the middle between two
    // floats that a reader rounding to double first lands on the other one;
    // nine digits never do.
    double asDouble = 0;
    std::from_chars(buffer, result.ptr, asDouble);
    const float back = static_cast<float>(asDouble);
    if (std::memcmp(&back, &value, sizeof value) != 0)
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 9);
    return std::string(buffer, result.ptr);
}

bool CDxfWriter::Write(const std::vector<CGO_ObjectRecord>& records, std::vector<unsigned char>& bytes,
                       IProgress* progress)
{
    m_strError.clear();
    CExtents extents;
    if (!ExtentsOf(records, extents, m_strError))
        return false;
    try {
        std::string text;
        text.reserve(1024 + records.size() * kBytesPerEntityEstimate);
        CMemoryWriter dw(text);
        DL_Dxf dxf;
        // The library takes the version of what it writes only here; an
        // empty name opens no file.
        dxf.out("", DL_Codes::AC1009);
        WriteHeader(dw, extents);
        WriteTables(dxf, dw);
        if (!WriteEntities(dxf, dw, records, progress)) {
            m_strError = progress::kCancelled;
            return false;
        }
        dw.dxfEOF();
        bytes.assign(text.begin(), text.end());
    } catch (const std::bad_alloc&) {
        m_strError = "not enough memory for the file's contents";
        return false;
    }
    return true;
}
