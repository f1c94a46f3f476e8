// Helpers for the database tests: building drawing files byte by byte,
// reading and writing files, and making objects with given geometry.
#pragma once

#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace dbtest {

using Bytes = std::vector<unsigned char>;

// Appends little-endian values, so expected files read like the layout tables.
class FileBuilder {
public:
    FileBuilder& U16(std::uint32_t value)
    {
        m_bytes.push_back(static_cast<unsigned char>(value & 0xFF));
        m_bytes.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
        return *this;
    }
    FileBuilder& U32(std::uint32_t value) { return U16(value & 0xFFFF).U16(value >> 16); }
    FileBuilder& F32(float value)
    {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return U32(bits);
    }
    FileBuilder& Text(const std::string& text)
    {
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        return *this;
    }
    // Tag 0xFFFF with schema 0 and the class name.
    FileBuilder& NewClass(const std::string& name, std::uint32_t schema = 0)
    {
        return U16(0xFFFF).U16(schema).U16(static_cast<std::uint32_t>(name.size())).Text(name);
    }
    FileBuilder& Line(float x1, float y1, float x2, float y2) { return F32(x1).F32(y1).F32(x2).F32(y2); }
    FileBuilder& Circle(float x, float y, float r) { return F32(x).F32(y).F32(r); }
    const Bytes& Get() const { return m_bytes; }

private:
    Bytes m_bytes;
};

inline Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline CGO_Line* MakeLine(float x1, float y1, float x2, float y2)
{
    auto* line = new CGO_Line;
    line->SetPoints(CGO_Point(x1, y1), CGO_Point(x2, y2));
    return line;
}

inline CGO_Circle* MakeCircle(float x, float y, float r)
{
    auto* circle = new CGO_Circle;
    circle->SetCenterAndRadius(CGO_Point(x, y), r);
    return circle;
}

} // namespace dbtest
