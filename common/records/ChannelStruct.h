#pragma once
// The 56-byte record shared by the tool list and the channel list. On disk it is one
// layout with two roles; in memory each role has its own struct. A stored "next" field
// (offset 52) is written as 0 and never read.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace records {

constexpr std::size_t kChannelStructSize = 56;
constexpr std::uint32_t kSurfaceToolCode = 253;

// One column of the sample row.
struct ChannelStruct {
  std::string mnemonic;    // char[20]
  std::string unit;        // char[20]
  std::uint32_t baseColumn = 0;
  std::uint32_t index = 0;
  std::uint32_t toolCode = 0;  // the whole u32; its low byte is the tool code of the source

  // Summed without wrapping: a stored index of 0xFFFFFFFF must not name another channel's column.
  std::uint64_t column() const { return std::uint64_t{baseColumn} + index; }
  friend bool operator==(const ChannelStruct&, const ChannelStruct&) = default;
};

// One tool or accessory of the tool string.
struct ToolEntry {
  std::string name;              // char[12]
  std::uint32_t dataBytes = 0;   // data bytes per telemetry frame
  std::uint32_t listValue16 = 0; // read from the tool list, only stored
  std::uint32_t frameOffset = 0; // byte offset of the tool's data in a checked frame
  std::uint32_t toolCode = 0;    // low byte: tool code and first block address
  std::uint32_t blockCount = 0;  // consecutive block addresses the tool sends
  float lengthCm = 0;
  float sketchWidth = 0;
  float listValue40 = 0;         // read from the tool list, only stored
  float bottomDistanceCm = 0;    // from the bottom of the string to the bottom of this item
  std::uint32_t kindSerial = 0;  // bits 0-5 kind, bits 6-31 serial number

  std::uint32_t kind() const { return kindSerial & 0x3F; }
  std::uint32_t serial() const { return kindSerial >> 6; }
  void setKind(std::uint32_t k) { kindSerial = (kindSerial & ~0x3Fu) | (k & 0x3F); }
  void setSerial(std::uint32_t s) { kindSerial = (kindSerial & 0x3Fu) | (s << 6); }
  std::uint8_t code() const { return static_cast<std::uint8_t>(toolCode & 0xFF); }
  bool isTool() const { return kind() == 1; }
  friend bool operator==(const ToolEntry&, const ToolEntry&) = default;
};

using ChannelList = std::vector<ChannelStruct>;
using ToolList = std::vector<ToolEntry>;

void encode(const ChannelStruct& c, std::uint8_t* out56);
ChannelStruct decodeChannel(const std::uint8_t* in56);
void encode(const ToolEntry& t, std::uint8_t* out56);
ToolEntry decodeTool(const std::uint8_t* in56);

// The six surface channels that open every sample row, with their units for the mode word.
ChannelList surfaceChannels(bool english);

}  // namespace records
