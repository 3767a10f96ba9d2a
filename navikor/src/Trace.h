#pragma once

#include "navikor/CNavikor.h"

namespace navikor {

// Writes one formatted trace text to the debug file while debug output is on; line feeds are
// written as CR LF like every text file of the system.
void trace(const CNavikor& nav, const char* format, ...) __attribute__((format(printf, 2, 3)));

} // namespace navikor
