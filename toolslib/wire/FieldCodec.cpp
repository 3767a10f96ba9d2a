#include "toolslib/wire/FieldCodec.h"

#include <algorithm>
#include <cmath>

namespace tools::wire {

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

void encodeValue(const Field& f, double value, std::uint8_t* bytes) {
  double raw = std::round((value - f.bias) / f.scale);
  if (std::isnan(raw)) raw = 0;
  raw = std::clamp(raw, static_cast<double>(rawMin(f.kind)), static_cast<double>(rawMax(f.kind)));
  encodeRaw(f, static_cast<std::int64_t>(raw), bytes);
}

void encode(const Layout& layout, const double* values, std::uint8_t* bytes) {
  std::fill(bytes, bytes + layout.dataBytes, std::uint8_t{0});
  for (std::size_t i = 0; i < layout.fields.size(); ++i) encodeValue(layout.fields[i], values[i], bytes);
}

}  // namespace tools::wire
