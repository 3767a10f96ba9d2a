#include "common/records/ToolCodes.h"

#include <array>

namespace records {

namespace {
constexpr std::array<ToolCodeInfo, 12> kCodes{{
    {kBrix, "BRIX", 5, 9, 5},
    {kTarn, "TARN", 19, 25, 19},
    {kTarnB, "TARN-B", 24, 30, 19},
    {kTarnC, "TARN-C", 24, 30, 25},
    {kDune, "DUNE", 6, 8, 4},
    {kSevo, "SEVO", 16, 20, 10},
    {kQuil, "QUIL", 6, 8, 4},
    {kVunt, "VUNT", 24, 30, 4},
    {kHavo, "HAVO", 6, 8, 4},
    {kPlov, "PLOV", 4, 6, 1},
    {kFyrd, "FYRD", 3, 5, 3},
    {kSurface, "SURFACE", kPanelBlockBytes, 0, kSurfaceChannelCount},  // not a tool: adds no frame bytes
}};
}  // namespace

std::optional<ToolCodeInfo> toolCodeInfo(std::uint8_t code) {
  for (const auto& c : kCodes) {
    if (c.code == code) return c;
  }
  return std::nullopt;
}

}  // namespace records
