#include "leveling/StatusText.h"

#include <cstdarg>
#include <cstdio>

#include "base/StringTable.h"

namespace tavlin {

std::string FormatString(int id, ...) {
    const std::string format = LoadString(id);
    char buffer[512];
    va_list args;
    va_start(args, id);
    // The translations keep the conversions of the built-in text (checked by the translation
    // tests), so the arguments always match.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::vsnprintf(buffer, sizeof buffer, format.c_str(), args);
#pragma GCC diagnostic pop
    va_end(args);
    return buffer;
}

}  // namespace tavlin
