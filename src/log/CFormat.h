// printf-style formatting and number parsing that ignore the user's locale.
// Qt sets the C library's locale from the environment, and under a German
// locale "%4.1f" would print a comma; log lines and drawing input use the point.
#pragma once

#include <cstdarg>
#include <string>

// Formats into buffer like vsnprintf, always in the C locale.
int FormatC(char* buffer, std::size_t size, const char* format, va_list args);

// Formats into a std::string, always in the C locale.
std::string StringFormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

// sscanf in the C locale: "%f" reads "2,5" as 2 whatever the environment says.
int ScanC(const char* text, const char* format, ...) __attribute__((format(scanf, 2, 3)));
