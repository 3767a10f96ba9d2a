#pragma once
// The monitor file (.mon): "KVR Monitor File" with its terminating zero, then the twenty
// monitor boxes of 80 bytes each, 1617 bytes in all.
//
// Box record: 0-55 the bound channel's record (as in the channel list), 56-67 the channel
// name used for re-binding, 68 and 72 the ids of the box's text and button controls, 76 the
// active flag, 77-79 zero.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/records/ChannelStruct.h"

namespace kvr::monitors {

inline constexpr std::size_t kMonitorBoxes = 20;
inline constexpr std::size_t kBoxBytes = 80;
inline constexpr std::size_t kNameBytes = 12;
inline constexpr char kMonitorHeader[] = "KVR Monitor File";  // 17 bytes with its zero
inline constexpr std::size_t kHeaderBytes = sizeof kMonitorHeader;
inline constexpr std::size_t kMonitorFileBytes = kHeaderBytes + kMonitorBoxes * kBoxBytes;

struct MonitorBox {
  records::ChannelStruct channel;  // the bound channel as it was when bound or re-bound
  std::string name;                // at most 11 characters
  std::uint32_t textId = 0;
  std::uint32_t buttonId = 0;
  bool active = false;
  friend bool operator==(const MonitorBox&, const MonitorBox&) = default;
};

using MonitorBoxes = std::array<MonitorBox, kMonitorBoxes>;

void encodeBox(const MonitorBox& box, std::uint8_t* out80);
MonitorBox decodeBox(const std::uint8_t* in80);

std::vector<std::uint8_t> encodeMonitorFile(const MonitorBoxes& boxes);

enum class MonitorFileRead { Ok, NotAMonitorFile, ShortRead };
// Reads the whole file's bytes; out is written only when the file is good.
MonitorFileRead decodeMonitorFile(std::span<const std::uint8_t> bytes, MonitorBoxes& out);

}  // namespace kvr::monitors
