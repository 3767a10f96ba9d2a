#pragma once
// The surface panel's 12 bytes at the end of every frame: depth, frame counter, tension,
// head voltage and current, panel status. Multi-byte fields are high byte first.

#include <array>
#include <cstdint>
#include <span>

namespace kvr {

struct PanelBlock {
  std::int16_t depthWhole = 0;       // bytes 0-1
  std::int8_t depthHundredths = 0;   // byte 2
  std::uint16_t counter = 0;         // bytes 3-4, 15 counts per second
  std::int16_t tension = 0;          // bytes 6-7
  std::uint8_t voltWhole = 0;        // byte 8
  std::uint8_t voltTenths = 0;       // byte 9
  std::uint8_t statusAndCurrentHigh = 0;  // byte 10: bits 2-7 status, bits 0-1 current high bits
  std::uint8_t currentLow = 0;       // byte 11

  double depth() const { return depthWhole + depthHundredths / 100.0; }
  double headVolts() const { return voltWhole + voltTenths / 10.0; }
  double headCurrentMa() const { return (((statusAndCurrentHigh & 0x03) << 8) | currentLow) * 1.955078; }
  std::uint8_t status() const { return statusAndCurrentHigh & 0xFC; }
  bool englishUnits() const { return (statusAndCurrentHigh & 0x20) != 0; }
};

constexpr std::size_t kPanelBlockSize = 12;
constexpr double kHeadCurrentStepMa = 1.955078;

// Reads the 12 bytes at ring[(at + i) & mask]; the ring must hold mask + 1 bytes.
PanelBlock decodePanelBlock(std::span<const std::uint8_t> ring, std::uint32_t at, std::uint32_t mask);
std::array<std::uint8_t, kPanelBlockSize> encodePanelBlock(const PanelBlock& b);

// Builds a block from readings, as the simulated panel sends them.
PanelBlock panelBlockFrom(double depth, std::uint16_t counter, double tension, double headVolts, double headCurrentMa,
                          bool english);

}  // namespace kvr
