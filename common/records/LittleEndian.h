#pragma once
// Explicit little-endian field codecs for the fixed-size records and file sections.
// Readers are bounds-checked: a read past the end fails instead of touching memory.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace records::le {

inline void putU16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void putU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void putI32(std::uint8_t* p, std::int32_t v) { putU32(p, static_cast<std::uint32_t>(v)); }
inline void putF32(std::uint8_t* p, float v) { putU32(p, std::bit_cast<std::uint32_t>(v)); }

inline std::uint16_t getU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t getU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::int32_t getI32(const std::uint8_t* p) { return static_cast<std::int32_t>(getU32(p)); }
inline float getF32(const std::uint8_t* p) { return std::bit_cast<float>(getU32(p)); }
inline void putF64(std::uint8_t* p, double v) {
  const auto u = std::bit_cast<std::uint64_t>(v);
  for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(u >> (8 * i));
}
inline double getF64(const std::uint8_t* p) {
  std::uint64_t u = 0;
  for (int i = 0; i < 8; ++i) u |= std::uint64_t{p[i]} << (8 * i);
  return std::bit_cast<double>(u);
}

// A NUL-terminated text field of fixed width: at most width - 1 characters, NUL padded.
inline void putText(std::uint8_t* p, std::size_t width, std::string_view text) {
  std::memset(p, 0, width);
  const std::size_t n = text.size() < width ? text.size() : width - 1;
  std::memcpy(p, text.data(), n);
}
// Reads up to the first NUL; a field without a NUL gives all its bytes.
inline std::string getText(const std::uint8_t* p, std::size_t width) {
  std::size_t n = 0;
  while (n < width && p[n] != 0) ++n;
  return std::string(reinterpret_cast<const char*>(p), n);
}

// Sequential bounds-checked reader over a byte span. After a failed read ok() is false
// and every later read yields zero.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool ok() const { return ok_; }
  std::size_t position() const { return pos_; }
  std::size_t remaining() const { return bytes_.size() - pos_; }
  const std::uint8_t* take(std::size_t n) {
    if (!ok_ || n > remaining()) {
      ok_ = false;
      return nullptr;
    }
    const std::uint8_t* p = bytes_.data() + pos_;
    pos_ += n;
    return p;
  }
  std::uint8_t u8() { auto p = take(1); return p ? p[0] : 0; }
  std::uint16_t u16() { auto p = take(2); return p ? getU16(p) : 0; }
  std::uint32_t u32() { auto p = take(4); return p ? getU32(p) : 0; }
  std::int32_t i32() { auto p = take(4); return p ? getI32(p) : 0; }
  float f32() { auto p = take(4); return p ? getF32(p) : 0.0f; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

// Appending writer.
class Writer {
 public:
  std::vector<std::uint8_t>& bytes() { return bytes_; }
  void u8(std::uint8_t v) { bytes_.push_back(v); }
  void u16(std::uint16_t v) { grow(2, [&](std::uint8_t* p) { putU16(p, v); }); }
  void u32(std::uint32_t v) { grow(4, [&](std::uint8_t* p) { putU32(p, v); }); }
  void i32(std::int32_t v) { grow(4, [&](std::uint8_t* p) { putI32(p, v); }); }
  void f32(float v) { grow(4, [&](std::uint8_t* p) { putF32(p, v); }); }
  void raw(std::span<const std::uint8_t> b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }

 private:
  template <class F>
  void grow(std::size_t n, F f) {
    bytes_.resize(bytes_.size() + n);
    f(bytes_.data() + bytes_.size() - n);
  }
  std::vector<std::uint8_t> bytes_;
};

}  // namespace records::le
