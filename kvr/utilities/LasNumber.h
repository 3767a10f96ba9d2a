#pragma once
// Fixed-point number text as printf("%.*f") writes it in the C locale, without printf.
// The data lines of a LAS file are millions of these, so the float path works on the
// float's bits with integer arithmetic; the result is byte for byte printf's.

#include <cstddef>
#include <cstdint>

namespace kvr::las {

// Room a caller must leave for one number: a float with 4 decimals needs at most 46
// characters, a double at most 316.
constexpr std::size_t kFloatTextRoom = 64;
constexpr std::size_t kDoubleTextRoom = 400;

// Writes x with `digits` decimals (0 to 9) at out and returns the end.
char* formatFixed(char* out, float x, int digits);
char* formatFixed(char* out, double x, int digits);
// A count of 10^-digits units (e.g. 100025 with 2 digits is "1000.25").
char* formatScaled(char* out, std::int64_t units, int digits);

}  // namespace kvr::las
