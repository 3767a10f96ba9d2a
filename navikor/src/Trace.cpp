#include "Trace.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace navikor {

void trace(const CNavikor& nav, const char* format, ...)
{
    if (!nav.debugOn || !nav.debugFile)
        return;
    char buffer[512];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0)
        return;
    std::string out;
    for (const char* p = buffer; *p; ++p) {
        if (*p == '\n')
            out += '\r';
        out += *p;
    }
    std::fwrite(out.data(), 1, out.size(), nav.debugFile);
}

} // namespace navikor
