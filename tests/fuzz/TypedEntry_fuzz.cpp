// Fuzz target for typed entries: any bytes parse to a refusal or to finite
// numbers, and any point resolved from them fits a stored coordinate.
#include "edit/TypedEntry.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const CTypedEntry entry = ParseTypedEntry(text);
    if (!std::isfinite(entry.first) || !std::isfinite(entry.second))
        std::abort();
    if (entry.kind == ENTRY_REFUSED && (entry.first != 0 || entry.second != 0))
        std::abort();
    for (double base : {0.0, -1.5, 3e38}) {
        const CTypedPoint p = ResolveTypedPoint(entry, base, -base);
        if (p.valid && !(std::fabs(p.x) <= FLT_MAX && std::fabs(p.y) <= FLT_MAX))
            std::abort();
        if (p.valid && ((p.x == 0 && std::signbit(p.x)) || (p.y == 0 && std::signbit(p.y))))
            std::abort();
    }
    return 0;
}
