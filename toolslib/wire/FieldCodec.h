#pragma once
// How a tool's data bytes carry its values: each value is one integer field at a fixed
// offset with its width, signedness and byte order, and a linear scaling
// value = raw x scale + bias. Decoding and encoding are pure functions over these tables;
// the TOOLS decoder and the simulated panel's encoder share them.

#include <cstddef>
#include <cstdint>
#include <span>

namespace tools::wire {

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

std::size_t widthOf(Kind k);
bool isSigned(Kind k);
// The raw integer range of a field.
std::int64_t rawMin(Kind k);
std::int64_t rawMax(Kind k);

std::int64_t decodeRaw(const Field& f, const std::uint8_t* bytes);
void encodeRaw(const Field& f, std::int64_t raw, std::uint8_t* bytes);  // raw is clamped to the range
double decodeValue(const Field& f, const std::uint8_t* bytes);
// Rounds to the nearest raw step and saturates at the field's range.
void encodeValue(const Field& f, double value, std::uint8_t* bytes);

// Whole frames: values has one entry per field; bytes has layout.dataBytes entries.
void decode(const Layout& layout, const std::uint8_t* bytes, double* values);
void encode(const Layout& layout, const double* values, std::uint8_t* bytes);

}  // namespace tools::wire
