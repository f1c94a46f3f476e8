// DXF group structure: every pair of lines is a group code and its value;
// the file is a run of sections and ends with the EOF marker. Anything else
// is refused with the line it happens on.
#include "exchange/DxfScanner.h"

#include "log/CFormat.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

constexpr int kMaxGroupCode = 1071;
// Longer numbers are no coordinates anybody wrote; the library reads lines
// into a buffer of 1024 bytes and must never see a longer one.
constexpr std::size_t kMaxNumberLength = 255;
constexpr char kBinarySentinel[] = "AutoCAD Binary DXF";
constexpr std::size_t kMaxShownValue = 40;

// The groups of a line or circle that are checked, each with its bit and
// the code line it is passed on with. The z coordinates are checked but not
// passed on: the drawing is 2D, and the library reads every value it is
// given through a string stream of its own.
const struct {
    int code;
    unsigned bit;
    const char* codeLine; // null: checked only
} kImportCodes[] = {
    {10, 1u << 0, " 10\n"}, {20, 1u << 1, " 20\n"}, {30, 1u << 2, nullptr},      {11, 1u << 3, " 11\n"},
    {21, 1u << 4, " 21\n"}, {31, 1u << 5, nullptr},  {40, 1u << 6, " 40\n"},     {210, 1u << 7, "210\n"},
    {220, 1u << 8, "220\n"}, {230, 1u << 9, "230\n"}, {50, 1u << 10, " 50\n"},     {51, 1u << 11, " 51\n"},
};
constexpr unsigned kLineCodes = 0x3F;          // 10 to 31
constexpr unsigned kCircleCodes = 0x3C7;       // 10, 20, 30, 40 and the extrusion
constexpr unsigned kLineRequired = 0x1B;       // 10, 20, 11, 21
constexpr unsigned kCircleRequired = 0x43;     // 10, 20, 40
constexpr unsigned kArcCodes = 0xFC7;          // the circle's and the angles 50, 51
constexpr unsigned kArcRequired = 0xC43;       // 10, 20, 40, 50, 51

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// A value made safe and short for an error message.
std::string Shown(std::string_view value)
{
    std::string shown;
    for (std::size_t i = 0; i < value.size() && i < kMaxShownValue; ++i) {
        const unsigned char c = static_cast<unsigned char>(value[i]);
        shown += c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c)) : StringFormatC("\\x%02X", c);
    }
    return value.size() > kMaxShownValue ? shown + "..." : shown;
}

template <typename T> bool ParseWhole(std::string_view text, T& value)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

// A coordinate: from_chars refuses a value too small for a double as out of
// range, as it does one too large; the small one underflows to zero (as a
// writer rounding would), the large one stays refused.
bool ParseCoordinate(std::string_view text, double& value)
{
    if (ParseWhole(text, value))
        return true;
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    const std::size_t e = text.find_first_of("eE");
    double mantissa = 0;
    long exponent = 0;
    if (e == std::string_view::npos || !ParseWhole(text.substr(0, e), mantissa) ||
        !ParseWhole(text.substr(e + 1), exponent))
        return false;
    if (mantissa == 0.0 || std::log10(std::fabs(mantissa)) + static_cast<double>(exponent) < 0.0) {
        value = std::copysign(0.0, mantissa);
        return true;
    }
    return false;
}

bool IsSubEntity(const std::string& type)
{
    // The vertices and end marker of a polyline, the attributes of a block
    // reference: parts of the entity before them, not entities of their own.
    return type == "VERTEX" || type == "SEQEND" || type == "ATTRIB";
}

// Decoded from their groups by the drawing itself, not by the library.
bool IsKept(std::string_view type)
{
    return type == "LWPOLYLINE" || type == "POLYLINE" || type == "VERTEX" || type == "SEQEND" || type == "INSERT" ||
           type == "ELLIPSE";
}

} // namespace

bool CDxfScanner::Fail(int line, const std::string& reason)
{
    if (m_strError.empty())
        m_strError = line > 0 ? StringFormatC("line %d: ", line) + reason : reason;
    return false;
}

bool CDxfScanner::NextLine(std::string_view& line)
{
    if (m_pos >= m_size)
        return false;
    const unsigned char* start = m_data + m_pos;
    const void* newline = std::memchr(start, '\n', m_size - m_pos);
    const std::size_t length = newline != nullptr ? static_cast<const unsigned char*>(newline) - start : m_size - m_pos;
    m_pos += newline != nullptr ? length + 1 : length;
    ++m_nLine;
    std::size_t end = length;
    if (end > 0 && start[end - 1] == '\r')
        --end;
    for (std::size_t i = 0; i < end; ++i) {
        if (start[i] < 0x20 && start[i] != '\t')
            return Fail(m_nLine, StringFormatC("the byte 0x%02X does not belong in a DXF text file", start[i]));
    }
    line = std::string_view(reinterpret_cast<const char*>(start), end);
    return true;
}

bool CDxfScanner::NextGroup(Group& group)
{
    if (!m_ticker.StepTo(m_pos)) {
        m_strError = progress::kCancelled;
        return false;
    }
    std::string_view codeLine;
    if (!NextLine(codeLine))
        return false;
    group.line = m_nLine;
    const std::string_view code = Trim(codeLine);
    if (!ParseWhole(code, group.code) || group.code < 0 || group.code > kMaxGroupCode)
        return Fail(group.line, "'" + Shown(code) + "' is not a group code");
    if (!NextLine(group.value))
        return Fail(group.line, StringFormatC("the file ends after group code %d, before its value", group.code));
    return true;
}

bool CDxfScanner::Scan(const unsigned char* data, std::size_t size, IProgress* progress)
{
    m_data = data;
    m_size = size;
    m_ticker = progress::CTicker(progress, size);
    if (size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0)
        m_pos = 3;
    if (size - m_pos >= std::strlen(kBinarySentinel) &&
        std::memcmp(data + m_pos, kBinarySentinel, std::strlen(kBinarySentinel)) == 0)
        return Fail(0, "this is a binary DXF file; only ASCII DXF files can be read");
    bool blank = true;
    for (std::size_t i = m_pos; i < size && blank; ++i)
        blank = data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n';
    if (blank)
        return Fail(0, "the file is empty");

    // What is passed on is about as long as the file at the most.
    m_strImport.reserve(size + 64);
    m_strImport = "  0\nSECTION\n  2\nENTITIES\n";
    Group group{};
    for (;;) {
        if (!NextGroup(group))
            return m_strError.empty() ? Fail(m_nLine, "the file ends before its EOF marker") : false;
        if (group.code == 999)
            continue;
        const std::string_view value = Trim(group.value);
        if (group.code == 0 && value == "EOF")
            break;
        if (group.code != 0 || value != "SECTION")
            return Fail(group.line, "'" + Shown(value) + "' stands outside a section");
        std::string_view name;
        if (!ReadSectionName(name) || !ScanSection(name))
            return false;
    }
    // Whatever follows the EOF marker is not part of the drawing.
    m_strImport += "  0\nENDSEC\n  0\nEOF\n";
    return true;
}

bool CDxfScanner::ReadSectionName(std::string_view& name)
{
    Group group{};
    do {
        if (!NextGroup(group))
            return m_strError.empty() ? Fail(m_nLine, "the file ends before the section's name") : false;
    } while (group.code == 999);
    name = Trim(group.value);
    if (group.code != 2 || name.empty())
        return Fail(group.line, "a section must begin with its name (group code 2)");
    return true;
}

bool CDxfScanner::ScanSection(std::string_view name)
{
    // Only the ENTITIES section holds the model space; a block's entities
    // are shown only where an INSERT places them, and that is counted.
    const bool entities = name == "ENTITIES";
    const bool blocks = name == "BLOCKS";
    Group group{};
    for (;;) {
        if (!NextGroup(group)) {
            return m_strError.empty() ? Fail(m_nLine, "the file ends inside the section " + Shown(name)) : false;
        }
        if (group.code == 999)
            continue;
        if (group.code == 0) {
            const std::string_view value = Trim(group.value);
            if (m_bInEntity && !EndEntity())
                return false;
            if (value == "ENDSEC")
                return true;
            if (value == "SECTION" || value == "EOF")
                return Fail(group.line, "the section " + Shown(name) + " has no ENDSEC");
            if (entities && !BeginEntity(group))
                return false;
            if (blocks)
                BeginBlockEntity(group);
            continue;
        }
        if (blocks)
            CaptureBlockGroup(group);
        if (!entities)
            continue;
        if (!m_bInEntity)
            return Fail(group.line, StringFormatC("group code %d stands before the first entity", group.code));
        if (!AddToEntity(group))
            return false;
    }
}

bool CDxfScanner::BeginEntity(const Group& group)
{
    const std::string_view type = Trim(group.value);
    if (type.empty())
        return Fail(group.line, "an entity without a type name");
    m_bInEntity = true;
    m_strType.assign(type);
    m_nKind = type == "LINE"     ? KIND_LINE
              : type == "CIRCLE" ? KIND_CIRCLE
              : type == "ARC"    ? KIND_ARC
              : IsKept(type)     ? KIND_KEPT
                                 : KIND_OTHER;
    if (m_nKind == KIND_KEPT) {
        m_kept.type.assign(type);
        m_kept.line = group.line;
        m_kept.groups.clear();
    }
    m_nEntityLine = group.line;
    m_bPaperSpace = false;
    m_bInControlGroup = false;
    m_nCodesSeen = 0;
    m_strPairs.clear();
    return true;
}

bool CDxfScanner::AddToEntity(const Group& group)
{
    // Groups between "102 {NAME" and "102 }" belong to an application and may
    // use any code; none of them is the entity's own geometry.
    if (group.code == 102) {
        const std::string_view value = Trim(group.value);
        m_bInControlGroup = !value.empty() && value.front() == '{';
        return true;
    }
    if (m_bInControlGroup)
        return true;
    if (group.code == 67) {
        long long flag = 0;
        if (!ParseWhole(Trim(group.value), flag))
            return Fail(group.line, "'" + Shown(group.value) + "' is no integer (group code 67)");
        m_bPaperSpace = flag != 0;
        return true;
    }
    if (m_nKind == KIND_KEPT) {
        m_kept.groups.push_back({group.code, std::string(Trim(group.value)), group.line});
        return true;
    }
    const unsigned wanted = m_nKind == KIND_LINE     ? kLineCodes
                            : m_nKind == KIND_CIRCLE ? kCircleCodes
                            : m_nKind == KIND_ARC    ? kArcCodes
                                                     : 0;
    if (wanted == 0)
        return true;
    for (const auto& entry : kImportCodes) {
        if (entry.code != group.code || (wanted & entry.bit) == 0)
            continue;
        const std::string_view text = Trim(group.value);
        double number = 0;
        if (text.size() > kMaxNumberLength || !ParseCoordinate(text, number) || !std::isfinite(number)) {
            return Fail(group.line, StringFormatC("'%s' is not a finite number (group code %d of the %s)", Shown(text).c_str(),
                                                  group.code, m_strType.c_str()));
        }
        if ((m_nCodesSeen & entry.bit) != 0)
            return Fail(group.line, StringFormatC("the %s gives group code %d twice", m_strType.c_str(), group.code));
        m_nCodesSeen |= entry.bit;
        if (entry.codeLine != nullptr) {
            m_strPairs += entry.codeLine;
            m_strPairs.append(text.front() == '+' ? text.substr(1) : text);
            m_strPairs += '\n';
        }
        return true;
    }
    return true;
}

bool CDxfScanner::EndEntity()
{
    m_bInEntity = false;
    if (m_bPaperSpace) {
        if (!IsSubEntity(m_strType))
            m_skipped.AddPaperSpace();
        return true;
    }
    const bool line = m_nKind == KIND_LINE;
    if (m_nKind == KIND_KEPT) {
        m_kept.ordinal = m_nOrdinal++;
        m_keptEntities.push_back(std::move(m_kept));
        m_kept = CDxfEntity();
        return true;
    }
    if (m_nKind == KIND_OTHER) {
        if (!IsSubEntity(m_strType))
            m_skipped.Add(m_strType);
        return true;
    }
    const unsigned required = line ? kLineRequired : m_nKind == KIND_ARC ? kArcRequired : kCircleRequired;
    if ((m_nCodesSeen & required) != required) {
        return Fail(m_nEntityLine, line ? "the LINE lacks a coordinate of its end points (group codes 10, 20, 11, 21)"
                                   : m_nKind == KIND_ARC
                                       ? "the ARC lacks its centre, radius or angles (group codes 10, 20, 40, 50, 51)"
                                       : "the CIRCLE lacks its centre or radius (group codes 10, 20, 40)");
    }
    m_strImport += line ? "  0\nLINE\n" : m_nKind == KIND_ARC ? "  0\nARC\n" : "  0\nCIRCLE\n";
    m_strImport += m_strPairs;
    m_importLines.push_back(m_nEntityLine);
    m_importOrdinals.push_back(m_nOrdinal++);
    return true;
}

void CDxfScanner::BeginBlockEntity(const Group& group)
{
    const std::string_view type = Trim(group.value);
    m_bBlockControlGroup = false;
    m_pBlockGroups = nullptr;
    if (type == "BLOCK") {
        m_bInBlock = true;
        m_block = CDxfBlock();
        m_pBlockGroups = &m_block.header;
    } else if (type == "ENDBLK") {
        if (!m_bInBlock)
            return;
        m_bInBlock = false;
        std::string name;
        for (const CDxfGroup& header : m_block.header) {
            if (header.code == 2 && name.empty())
                name = header.value;
        }
        // The first definition of a name counts, as for the library.
        if (!name.empty())
            m_blocks.emplace(name, std::move(m_block));
        m_block = CDxfBlock();
    } else if (m_bInBlock) {
        m_block.entities.push_back({std::string(type), group.line, 0, {}});
        m_pBlockGroups = &m_block.entities.back().groups;
    }
}

void CDxfScanner::CaptureBlockGroup(const Group& group)
{
    if (m_pBlockGroups == nullptr)
        return;
    if (group.code == 102) {
        const std::string_view value = Trim(group.value);
        m_bBlockControlGroup = !value.empty() && value.front() == '{';
        return;
    }
    if (!m_bBlockControlGroup)
        m_pBlockGroups->push_back({group.code, std::string(Trim(group.value)), group.line});
}
