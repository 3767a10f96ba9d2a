#pragma once
// CRC-16/XMODEM (polynomial 0x1021, initial 0, no reflection, no final XOR), bit by bit.
// The panel keeps its own plain form so that it checks the host's table-driven one.

#include <cstddef>
#include <cstdint>

namespace panelsim {

inline std::uint16_t crc16Xmodem(const std::uint8_t* data, std::size_t n, std::uint16_t crc = 0) {
  for (std::size_t i = 0; i < n; ++i) {
    crc = static_cast<std::uint16_t>(crc ^ (data[i] << 8));
    for (int b = 0; b < 8; ++b)
      crc = static_cast<std::uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
  }
  return crc;
}

}  // namespace panelsim
