#pragma once
// How a tool's data bytes carry its values: each value is one integer field at a fixed
// offset with its width, signedness and byte order, and a linear scaling
// value = raw x scale + bias. Decoding and encoding are pure functions over these tables;
// the TOOLS decoder and the simulated panel's encoder share them.

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

namespace tools::wire {

inline constexpr std::size_t kMaxFields = 32;

enum class Kind : std::uint8_t { U8, I8, U16, I16, U24, U32, I32 };
enum class Order : std::uint8_t { Big, Little };

struct Field {
  const char* name;
  std::uint8_t offset;
  Kind kind;
  Order order = Order::Big;
  double scale = 1.0;
  double bias = 0.0;
};

struct Layout {
  const char* family;            // "BRIX", "TARN_B", ...
  std::uint8_t code;             // tool code, also the first block address
  std::uint32_t dataBytes;       // bytes per frame
  std::span<const Field> fields; // in value order
  std::span<const std::uint8_t> blockLengths;  // how the panel splits the bytes into blocks (each 1..8)
};

constexpr std::size_t widthOf(Kind k) {
  switch (k) {
    case Kind::U8: case Kind::I8: return 1;
    case Kind::U16: case Kind::I16: return 2;
    case Kind::U24: return 3;
    case Kind::U32: case Kind::I32: return 4;
  }
  return 1;
}
constexpr bool isSigned(Kind k) { return k == Kind::I8 || k == Kind::I16 || k == Kind::I32; }
// The raw integer range of a field.
constexpr std::int64_t rawMin(Kind k) { return isSigned(k) ? -(std::int64_t{1} << (8 * widthOf(k) - 1)) : 0; }
constexpr std::int64_t rawMax(Kind k) {
  return isSigned(k) ? (std::int64_t{1} << (8 * widthOf(k) - 1)) - 1 : (std::int64_t{1} << (8 * widthOf(k))) - 1;
}

// Decoding runs for every tool of every frame, so it lives here where it inlines.
[[gnu::always_inline]] inline std::int64_t decodeRaw(const Field& f, const std::uint8_t* bytes) {
  const std::uint8_t* p = bytes + f.offset;
  const bool big = f.order == Order::Big;
  switch (f.kind) {
    case Kind::U8: return p[0];
    case Kind::I8: return static_cast<std::int8_t>(p[0]);
    case Kind::U16: return big ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0];
    case Kind::I16: return static_cast<std::int16_t>(big ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0]);
    case Kind::U24: return big ? (p[0] << 16) | (p[1] << 8) | p[2] : (p[2] << 16) | (p[1] << 8) | p[0];
    case Kind::U32:
    case Kind::I32: {
      const std::uint32_t u = big ? (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3]
                                  : (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
      return f.kind == Kind::U32 ? static_cast<std::int64_t>(u) : static_cast<std::int32_t>(u);
    }
  }
  return 0;
}
[[gnu::always_inline]] inline double decodeValue(const Field& f, const std::uint8_t* bytes) {
  return static_cast<double>(decodeRaw(f, bytes)) * f.scale + f.bias;
}
// Whole frames: values has one entry per field; bytes has layout.dataBytes entries.
inline void decode(const Layout& layout, const std::uint8_t* bytes, double* values) {
  for (std::size_t i = 0; i < layout.fields.size(); ++i) values[i] = decodeValue(layout.fields[i], bytes);
}

// The same for one fixed layout, unrolled at compile time: what the decoder runs per frame.
template <const Layout& L, std::size_t... I>
inline void decodeUnrolled(const std::uint8_t* bytes, double* values, std::index_sequence<I...>) {
  ((values[I] = decodeValue(L.fields[I], bytes)), ...);
}
template <const Layout& L>
void decodeFixed(const std::uint8_t* bytes, double* values) {
  decodeUnrolled<L>(bytes, values, std::make_index_sequence<L.fields.size()>{});
}
using Decoder = void (*)(const std::uint8_t* bytes, double* values);

void encodeRaw(const Field& f, std::int64_t raw, std::uint8_t* bytes);  // raw is clamped to the range
// Rounds to the nearest raw step and saturates at the field's range.
void encodeValue(const Field& f, double value, std::uint8_t* bytes);
void encode(const Layout& layout, const double* values, std::uint8_t* bytes);

}  // namespace tools::wire
