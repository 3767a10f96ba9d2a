#pragma once
// Hand placement of bytes for layout tests, independent of the codecs under test, and a
// comparison that prints each differing byte with its offset.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace bytes_test {

using Bytes = std::vector<std::uint8_t>;

inline void place(Bytes& b, std::size_t at, std::initializer_list<std::uint8_t> v) {
  for (auto x : v) b.at(at++) = x;
}
inline void placeText(Bytes& b, std::size_t at, const char* s) {
  for (std::size_t i = 0; s[i] != 0; ++i) b.at(at + i) = static_cast<std::uint8_t>(s[i]);
}
// Little-endian by shifts, written out here so the test does not lean on the codecs.
inline void placeU32(Bytes& b, std::size_t at, std::uint32_t v) {
  place(b, at, {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)});
}
inline void placeF32(Bytes& b, std::size_t at, float f) {
  std::uint32_t u;
  std::memcpy(&u, &f, 4);
  placeU32(b, at, u);
}

inline ::testing::AssertionResult sameBytes(const Bytes& actual, const Bytes& expected) {
  std::string diff;
  int shown = 0;
  const std::size_t n = actual.size() < expected.size() ? actual.size() : expected.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (actual[i] == expected[i]) continue;
    if (shown++ < 16) {
      char line[64];
      std::snprintf(line, sizeof line, "\n  offset %4zu: got %02X, want %02X", i, actual[i], expected[i]);
      diff += line;
    }
  }
  if (shown > 16) diff += "\n  ... " + std::to_string(shown - 16) + " more";
  if (actual.size() != expected.size())
    diff += "\n  size " + std::to_string(actual.size()) + ", want " + std::to_string(expected.size());
  if (diff.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "bytes differ:" << diff;
}

}  // namespace bytes_test
