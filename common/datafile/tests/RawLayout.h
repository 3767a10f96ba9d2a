#pragma once
// An independent reader of the data-file layout for the tests: raw offsets and shifts only,
// none of the record codecs, so a codec fault cannot hide itself.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace raw {

using Bytes = std::vector<std::uint8_t>;

inline std::uint32_t u32(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b.at(at)) | static_cast<std::uint32_t>(b.at(at + 1)) << 8 |
         static_cast<std::uint32_t>(b.at(at + 2)) << 16 | static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}
inline float f32(const Bytes& b, std::size_t at) {
  const std::uint32_t u = u32(b, at);
  float f;
  std::memcpy(&f, &u, 4);
  return f;
}
inline std::string text(const Bytes& b, std::size_t at, std::size_t width) {
  std::string s;
  for (std::size_t i = 0; i < width && b.at(at + i) != 0; ++i) s += static_cast<char>(b[at + i]);
  return s;
}
inline void putU32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void putF32(Bytes& b, std::size_t at, float f) {
  std::uint32_t u;
  std::memcpy(&u, &f, 4);
  putU32(b, at, u);
}

// Section starts of a file as the layout defines them, found by walking the counts.
struct Sections {
  std::size_t tools = 0, channels = 0, parameters = 0, direction = 0, mainParameters = 0, job = 0, rows = 0;
  std::uint32_t toolCount = 0, channelCount = 0;
  std::vector<std::size_t> blockStarts;
};

inline Sections walk(const Bytes& b) {
  Sections s;
  s.toolCount = u32(b, 0);
  std::size_t at = 4;
  std::vector<bool> isTool;
  for (std::uint32_t i = 0; i < s.toolCount; ++i, at += 56) isTool.push_back((u32(b, at + 48) & 0x3F) == 1);
  EXPECT_EQ(u32(b, at), s.toolCount);
  s.channels = at += 4;
  s.channelCount = u32(b, at);
  at += 4 + 56 * s.channelCount;
  EXPECT_EQ(u32(b, at), s.channelCount);
  s.parameters = at += 4;
  for (bool t : isTool) {
    if (!t) continue;
    s.blockStarts.push_back(at);
    const std::uint32_t k = u32(b, at);
    at += 4 + 388 * k;
    EXPECT_EQ(u32(b, at), k);
    at += 4;
  }
  s.direction = at;
  s.mainParameters = at += 3;
  EXPECT_EQ(u32(b, at), 352u);
  EXPECT_EQ(u32(b, at + 4 + 4 * 352), 352u);
  s.job = at += 8 + 4 * 352;
  EXPECT_EQ(u32(b, at), 1640u);
  EXPECT_EQ(u32(b, at + 4 + 1640), 1640u);
  s.rows = at + 8 + 1640;
  return s;
}

}  // namespace raw
