// Parsing of typed entries. The number grammar is fixed here rather than left
// to strtod, whose decimal point follows the user's locale and which would
// take "inf", "nan" and hexadecimal forms.
#include "edit/TypedEntry.h"

#include <cfloat>
#include <charconv>
#include <cmath>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// The largest magnitude a stored coordinate can take.
constexpr double kLimit = FLT_MAX;

bool InRange(double value) { return std::isfinite(value) && std::fabs(value) <= kLimit; }

std::string Trimmed(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsSpace(text[begin]))
        ++begin;
    while (end > begin && IsSpace(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// [+-]? digits [. digits?] | [+-]? . digits, then [eE [+-]? digits].
bool ParseNumber(const std::string& raw, double& value)
{
    const std::string text = Trimmed(raw);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        std::size_t exponentDigits = 0;
        while (i < text.size() && IsDigit(text[i]))
            ++i, ++exponentDigits;
        if (exponentDigits == 0)
            return false;
    }
    if (i != text.size())
        return false;
    double magnitude = 0;
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    const auto result = std::from_chars(first, last, magnitude, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != last || !InRange(magnitude))
        return false;
    value = WithoutNegativeZero(negative ? -magnitude : magnitude);
    return true;
}

bool ParsePair(const std::string& text, char separator, double& first, double& second)
{
    const std::size_t at = text.find(separator);
    if (at == std::string::npos || text.find(separator, at + 1) != std::string::npos)
        return false;
    return ParseNumber(text.substr(0, at), first) && ParseNumber(text.substr(at + 1), second);
}

CTypedEntry Entry(TypedEntryKind kind, double first, double second = 0) { return {kind, first, second}; }

CTypedPoint Point(double x, double y)
{
    if (!InRange(x) || !InRange(y))
        return {};
    return {true, WithoutNegativeZero(x), WithoutNegativeZero(y)};
}

struct Direction {
    double dx;
    double dy;
};

Direction UnitAt(double angleDegrees)
{
    const double radians = std::fmod(angleDegrees, 360.0) * M_PI / 180.0;
    // Exact along the axes, so that "@10<90" lands on x = lastX.
    if (std::fmod(angleDegrees, 90.0) == 0)
        return {std::round(std::cos(radians)), std::round(std::sin(radians))};
    return {std::cos(radians), std::sin(radians)};
}

} // namespace

CTypedEntry ParseTypedEntry(const std::string& raw)
{
    const std::string text = Trimmed(raw);
    double first = 0;
    double second = 0;
    if (text.empty())
        return {};
    if (text[0] == '@') {
        const std::string rest = text.substr(1);
        if (rest.find('<') != std::string::npos)
            return ParsePair(rest, '<', first, second) ? Entry(ENTRY_POLAR, first, second) : CTypedEntry{};
        return ParsePair(rest, ',', first, second) ? Entry(ENTRY_RELATIVE, first, second) : CTypedEntry{};
    }
    if (text[0] == '<')
        return ParseNumber(text.substr(1), first) ? Entry(ENTRY_ANGLE, first) : CTypedEntry{};
    if (text.find(',') != std::string::npos)
        return ParsePair(text, ',', first, second) ? Entry(ENTRY_ABSOLUTE, first, second) : CTypedEntry{};
    return ParseNumber(text, first) ? Entry(ENTRY_VALUE, first) : CTypedEntry{};
}

CTypedPoint ResolveTypedPoint(const CTypedEntry& entry, double lastX, double lastY)
{
    switch (entry.kind) {
    case ENTRY_ABSOLUTE:
        return Point(entry.first, entry.second);
    case ENTRY_RELATIVE:
        return Point(lastX + entry.first, lastY + entry.second);
    case ENTRY_POLAR:
        return PointAtAngle(lastX, lastY, entry.first, entry.second);
    default:
        return {};
    }
}

CTypedPoint PointAtAngle(double lastX, double lastY, double distance, double angleDegrees)
{
    const Direction unit = UnitAt(angleDegrees);
    return Point(lastX + distance * unit.dx, lastY + distance * unit.dy);
}

CTypedPoint PointProjected(double lastX, double lastY, double towardX, double towardY, double angleDegrees)
{
    const Direction unit = UnitAt(angleDegrees);
    const double distance = (towardX - lastX) * unit.dx + (towardY - lastY) * unit.dy;
    if (!std::isfinite(distance))
        return {};
    return Point(lastX + distance * unit.dx, lastY + distance * unit.dy);
}

CTypedPoint PointAlong(double lastX, double lastY, double towardX, double towardY, double distance)
{
    const double dx = towardX - lastX;
    const double dy = towardY - lastY;
    const double length = std::hypot(dx, dy);
    if (!(length > 0) || !std::isfinite(length))
        return {};
    return Point(lastX + distance * dx / length, lastY + distance * dy / length);
}
