#include "kvr/utilities/LasNumber.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace kvr::las {

namespace {

constexpr std::uint64_t kPow10[] = {1,      10,      100,      1000,      10000,
                                    100000, 1000000, 10000000, 100000000, 1000000000};

char* writeUnsigned(char* out, std::uint64_t v) {
  char tmp[24];
  char* p = tmp + sizeof tmp;
  do {
    *--p = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  const auto n = static_cast<std::size_t>(tmp + sizeof tmp - p);
  std::memcpy(out, p, n);
  return out + n;
}

// The integer and fraction of a scaled value with its decimal point.
char* writeScaled(char* out, bool negative, std::uint64_t scaled, int digits) {
  if (negative) *out++ = '-';
  const std::uint64_t p = kPow10[digits];
  out = writeUnsigned(out, scaled / p);
  if (digits > 0) {
    *out++ = '.';
    std::uint64_t frac = scaled % p;
    for (int i = digits - 1; i >= 0; --i) {
      out[i] = static_cast<char>('0' + frac % 10);
      frac /= 10;
    }
    out += digits;
  }
  return out;
}

char* slowPath(char* out, double x, int digits) {
  // printf itself for what the fast paths do not cover ("nan", "-inf", huge values).
  char buf[kDoubleTextRoom];
  const int n = std::snprintf(buf, sizeof buf, "%.*f", digits, x);
  const std::size_t len = n < 0 ? 0 : static_cast<std::size_t>(n) < sizeof buf ? static_cast<std::size_t>(n) : sizeof buf - 1;
  std::memcpy(out, buf, len);
  return out + len;
}

}  // namespace

char* formatFixed(char* out, float x, int digits) {
  if (digits < 0) digits = 0;
  if (digits > 9) digits = 9;
  const std::uint32_t bits = std::bit_cast<std::uint32_t>(x);
  const bool negative = (bits >> 31) != 0;
  const std::uint32_t biased = (bits >> 23) & 0xFF;
  if (biased == 0xFF || digits > 4) return slowPath(out, static_cast<double>(x), digits);
  std::uint64_t m = bits & 0x7FFFFF;
  int e = -149;
  if (biased != 0) {
    m |= 0x800000;
    e = static_cast<int>(biased) - 150;
  }
  // x * 10^digits = m * 10^digits * 2^e exactly; m * 10^4 < 2^38.
  const std::uint64_t q = m * kPow10[digits];
  std::uint64_t scaled = 0;
  if (e >= 0) {
    if (e > 25) return slowPath(out, static_cast<double>(x), digits);
    scaled = q << e;
  } else if (-e < 64) {
    const int s = -e;
    scaled = q >> s;
    const std::uint64_t rest = q & ((std::uint64_t{1} << s) - 1);
    const std::uint64_t half = std::uint64_t{1} << (s - 1);
    // Round half to even, as printf does with the exact binary value.
    if (rest > half || (rest == half && (scaled & 1) != 0)) ++scaled;
  }
  return writeScaled(out, negative, scaled, digits);
}

char* formatFixed(char* out, double x, int digits) {
  if (digits < 0) digits = 0;
  if (digits > 9) digits = 9;
  if (!std::isfinite(x)) return slowPath(out, x, digits);
  // to_chars with a precision is specified as printf's "%.*f".
  const auto r = std::to_chars(out, out + kDoubleTextRoom, x, std::chars_format::fixed, digits);
  return r.ec == std::errc{} ? r.ptr : slowPath(out, x, digits);
}

char* formatScaled(char* out, std::int64_t units, int digits) {
  if (digits < 0) digits = 0;
  if (digits > 9) digits = 9;
  const bool negative = units < 0;
  const std::uint64_t magnitude = negative ? std::uint64_t{0} - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
  return writeScaled(out, negative, magnitude, digits);
}

}  // namespace kvr::las
