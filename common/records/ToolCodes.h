#pragma once
// The tool codes and what each adds to a telemetry frame and a sample row.

#include <cstdint>
#include <optional>
#include <string_view>

namespace records {

enum ToolCode : std::uint8_t {
  kBrix = 210,
  kTarn = 220,
  kTarnB = 224,
  kTarnC = 227,
  kDune = 230,
  kSevo = 232,
  kQuil = 235,
  kVunt = 240,
  kHavo = 243,
  kPlov = 252,
  kSurface = 253,
  kFyrd = 254,
};

struct ToolCodeInfo {
  std::uint8_t code;
  std::string_view model;      // "BRIX", "TARN-B", ...
  std::uint32_t dataBytes;     // data bytes per frame
  std::uint32_t frameBytes;    // frame bytes added: data + 2 per block
  std::uint32_t rowFloats;     // floats per sample row
};

// Known codes only (the surface panel's 253 included); nullopt for any other code.
std::optional<ToolCodeInfo> toolCodeInfo(std::uint8_t code);

constexpr std::uint32_t kPanelBlockBytes = 12;
constexpr std::uint32_t kSurfaceChannelCount = 6;

}  // namespace records
