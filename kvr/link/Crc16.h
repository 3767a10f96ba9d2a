#pragma once
// CRC-16/XMODEM (polynomial 0x1021, initial 0, no reflection, no final XOR), one table
// look-up per byte. Frames send it high byte first.

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr {

struct Crc16 {
  static constexpr std::array<std::uint16_t, 256> kTable = [] {
    std::array<std::uint16_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
      unsigned c = i << 8;
      for (int b = 0; b < 8; ++b) c = (c & 0x8000) ? (c << 1) ^ 0x1021 : c << 1;
      t[i] = static_cast<std::uint16_t>(c);
    }
    return t;
  }();

  static constexpr std::uint16_t update(std::uint16_t crc, std::uint8_t byte) {
    return static_cast<std::uint16_t>((crc << 8) ^ kTable[((crc >> 8) ^ byte) & 0xFF]);
  }
  static constexpr std::uint16_t of(const std::uint8_t* data, std::size_t n, std::uint16_t crc = 0) {
    for (std::size_t i = 0; i < n; ++i) crc = update(crc, data[i]);
    return crc;
  }
};

}  // namespace kvr
