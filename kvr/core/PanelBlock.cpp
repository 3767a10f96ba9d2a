#include "kvr/core/PanelBlock.h"

#include <algorithm>
#include <cmath>

namespace kvr {

PanelBlock decodePanelBlock(std::span<const std::uint8_t> ring, std::uint32_t at, std::uint32_t mask) {
  std::uint8_t b[kPanelBlockSize];
  for (std::uint32_t i = 0; i < kPanelBlockSize; ++i) b[i] = ring[(at + i) & mask];
  PanelBlock p;
  p.depthWhole = static_cast<std::int16_t>((b[0] << 8) | b[1]);
  p.depthHundredths = static_cast<std::int8_t>(b[2]);
  p.counter = static_cast<std::uint16_t>((b[3] << 8) | b[4]);
  p.tension = static_cast<std::int16_t>((b[6] << 8) | b[7]);
  p.voltWhole = b[8];
  p.voltTenths = b[9];
  p.statusAndCurrentHigh = b[10];
  p.currentLow = b[11];
  return p;
}

std::array<std::uint8_t, kPanelBlockSize> encodePanelBlock(const PanelBlock& p) {
  const auto whole = static_cast<std::uint16_t>(p.depthWhole);
  const auto tension = static_cast<std::uint16_t>(p.tension);
  return {static_cast<std::uint8_t>(whole >> 8), static_cast<std::uint8_t>(whole),
          static_cast<std::uint8_t>(p.depthHundredths), static_cast<std::uint8_t>(p.counter >> 8),
          static_cast<std::uint8_t>(p.counter), 0, static_cast<std::uint8_t>(tension >> 8),
          static_cast<std::uint8_t>(tension), p.voltWhole, p.voltTenths, p.statusAndCurrentHigh, p.currentLow};
}

PanelBlock panelBlockFrom(double depth, std::uint16_t counter, double tension, double headVolts, double headCurrentMa,
                          bool english) {
  PanelBlock p;
  depth = std::clamp(depth, -32768.0, 32767.99);
  const double whole = std::trunc(depth);
  p.depthWhole = static_cast<std::int16_t>(whole);
  p.depthHundredths = static_cast<std::int8_t>(std::clamp(std::round((depth - whole) * 100.0), -99.0, 99.0));
  p.counter = counter;
  p.tension = static_cast<std::int16_t>(std::clamp(std::round(tension), -32768.0, 32767.0));
  headVolts = std::clamp(headVolts, 0.0, 255.9);
  p.voltWhole = static_cast<std::uint8_t>(headVolts);
  p.voltTenths = static_cast<std::uint8_t>(std::round((headVolts - p.voltWhole) * 10.0)) % 10;
  const auto current = static_cast<unsigned>(std::clamp(std::round(headCurrentMa / kHeadCurrentStepMa), 0.0, 1023.0));
  p.statusAndCurrentHigh = static_cast<std::uint8_t>((english ? 0x20 : 0) | (current >> 8));
  p.currentLow = static_cast<std::uint8_t>(current & 0xFF);
  return p;
}

}  // namespace kvr
