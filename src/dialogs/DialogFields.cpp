// Number fields: the first seven characters, their leading decimal number,
// converted in the C locale.
#include "dialogs/DialogFields.h"

#include "log/CFormat.h"

#include <cmath>
#include <string>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string ReadPart(const QString& text)
{
    return text.left(FIELD_READ_LENGTH).toStdString();
}

// The longest prefix of text (after blanks) that is a plain decimal number:
// sign, digits with an optional point, and an exponent only when digits follow
// the 'e'. The C library's own "%f" would also take "nan", "inf" and hex
// numbers, and gives up on "2e" instead of reading the 2.
std::string LeadingDecimal(const std::string& text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsBlank(text[i]))
        ++i;
    const std::size_t start = i;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    for (; i < n && IsDigit(text[i]); ++i)
        ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        for (; i < n && IsDigit(text[i]); ++i)
            ++digits;
    }
    if (digits == 0)
        return std::string();
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-'))
            ++j;
        const std::size_t exponentStart = j;
        while (j < n && IsDigit(text[j]))
            ++j;
        if (j > exponentStart)
            i = j;
    }
    return text.substr(start, i - start);
}

} // namespace

bool ReadFloatField(const QString& text, float& value)
{
    const std::string number = LeadingDecimal(ReadPart(text));
    float parsed = 0.0f;
    if (number.empty() || ScanC(number.c_str(), "%f", &parsed) != 1)
        return false;
    // "1e39" is a number, but none a float can hold.
    if (!std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool ReadIntField(const QString& text, int& value)
{
    // Seven characters cannot overflow an int, so "%d" is safe as it is.
    int parsed = 0;
    if (ScanC(ReadPart(text).c_str(), "%d", &parsed) != 1)
        return false;
    value = parsed;
    return true;
}

QString FormatCoordinate(float value)
{
    return QString::fromStdString(StringFormatC("%4.2f", static_cast<double>(value)));
}

QString FormatObjectId(int id)
{
    return QString::fromStdString(StringFormatC("%d", id));
}
