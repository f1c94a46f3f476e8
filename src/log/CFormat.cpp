// Locale-independent formatting and scanning through a cached "C" locale object.
#include "log/CFormat.h"

#include <clocale>
#include <cstdio>
#include <locale.h>

namespace {

locale_t CLocale()
{
    static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

// Switches the calling thread to the C locale for the lifetime of the guard.
class ScopedCLocale {
public:
    ScopedCLocale() : m_previous(uselocale(CLocale())) {}
    ~ScopedCLocale() { uselocale(m_previous); }
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

private:
    locale_t m_previous;
};

} // namespace

int FormatC(char* buffer, std::size_t size, const char* format, va_list args)
{
    ScopedCLocale c;
    return std::vsnprintf(buffer, size, format, args);
}

std::string StringFormatC(const char* format, ...)
{
    char small[256];
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = FormatC(small, sizeof small, format, args);
    va_end(args);
    std::string result;
    if (length < 0) {
        va_end(copy);
        return result;
    }
    if (static_cast<std::size_t>(length) < sizeof small) {
        result.assign(small, static_cast<std::size_t>(length));
    } else {
        result.resize(static_cast<std::size_t>(length));
        FormatC(result.data(), result.size() + 1, format, copy);
    }
    va_end(copy);
    return result;
}

int ScanC(const char* text, const char* format, ...)
{
    ScopedCLocale c;
    va_list args;
    va_start(args, format);
    int matched = std::vsscanf(text, format, args);
    va_end(args);
    return matched;
}
