#include "toolslib/wire/FieldCodec.h"

#include <algorithm>
#include <cmath>

namespace tools::wire {

std::size_t widthOf(Kind k) {
  switch (k) {
    case Kind::U8: case Kind::I8: return 1;
    case Kind::U16: case Kind::I16: return 2;
    case Kind::U24: return 3;
    case Kind::U32: case Kind::I32: return 4;
  }
  return 1;
}

bool isSigned(Kind k) { return k == Kind::I8 || k == Kind::I16 || k == Kind::I32; }

std::int64_t rawMin(Kind k) {
  return isSigned(k) ? -(std::int64_t{1} << (8 * widthOf(k) - 1)) : 0;
}
std::int64_t rawMax(Kind k) {
  const auto bits = 8 * widthOf(k);
  return isSigned(k) ? (std::int64_t{1} << (bits - 1)) - 1 : (std::int64_t{1} << bits) - 1;
}

std::int64_t decodeRaw(const Field& f, const std::uint8_t* bytes) {
  const std::size_t w = widthOf(f.kind);
  const std::uint8_t* p = bytes + f.offset;
  std::uint64_t u = 0;
  for (std::size_t i = 0; i < w; ++i) {
    const std::size_t shift = f.order == Order::Big ? 8 * (w - 1 - i) : 8 * i;
    u |= static_cast<std::uint64_t>(p[i]) << shift;
  }
  if (isSigned(f.kind) && (u >> (8 * w - 1)) & 1u) return static_cast<std::int64_t>(u) - (std::int64_t{1} << (8 * w));
  return static_cast<std::int64_t>(u);
}

void encodeRaw(const Field& f, std::int64_t raw, std::uint8_t* bytes) {
  raw = std::clamp(raw, rawMin(f.kind), rawMax(f.kind));
  const std::size_t w = widthOf(f.kind);
  const auto u = static_cast<std::uint64_t>(raw);
  std::uint8_t* p = bytes + f.offset;
  for (std::size_t i = 0; i < w; ++i) {
    const std::size_t shift = f.order == Order::Big ? 8 * (w - 1 - i) : 8 * i;
    p[i] = static_cast<std::uint8_t>(u >> shift);
  }
}

double decodeValue(const Field& f, const std::uint8_t* bytes) {
  return static_cast<double>(decodeRaw(f, bytes)) * f.scale + f.bias;
}

void encodeValue(const Field& f, double value, std::uint8_t* bytes) {
  double raw = std::round((value - f.bias) / f.scale);
  if (std::isnan(raw)) raw = 0;
  raw = std::clamp(raw, static_cast<double>(rawMin(f.kind)), static_cast<double>(rawMax(f.kind)));
  encodeRaw(f, static_cast<std::int64_t>(raw), bytes);
}

void decode(const Layout& layout, const std::uint8_t* bytes, double* values) {
  for (std::size_t i = 0; i < layout.fields.size(); ++i) values[i] = decodeValue(layout.fields[i], bytes);
}

void encode(const Layout& layout, const double* values, std::uint8_t* bytes) {
  std::fill(bytes, bytes + layout.dataBytes, std::uint8_t{0});
  for (std::size_t i = 0; i < layout.fields.size(); ++i) encodeValue(layout.fields[i], values[i], bytes);
}

}  // namespace tools::wire
