#pragma once

// The library is built with hidden visibility; only what carries NAVIKOR_API is exported.
#if defined(NAVIKOR_BUILDING)
#define NAVIKOR_API __attribute__((visibility("default")))
#else
#define NAVIKOR_API
#endif
