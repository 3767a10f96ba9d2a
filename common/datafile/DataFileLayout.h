#pragma once
// Sections of the KVR data file, in file order, and what the summary check finds in them.
//   1 tool list        u32 n, n x 56-byte tool entries, u32 n
//   2 channel list     u32 m, m x 56-byte channel entries, u32 m
//   3 tool parameters  per tool entry of kind 1: u32 k, k x 388-byte records, u32 k
//   4 direction        three equal bytes: 0 down, 1 up, 2 station
//   5 main parameters  u32 352, 4 x 352-byte system parameter records, u32 352
//   6 job record       u32 1640, 1640 bytes, u32 1640
//   7 rows             rows of m little-endian floats to the end of the file

#include <array>
#include <cstdint>
#include <vector>

namespace kvr {

enum DataFileSection : int {
  kSectionTools = 1,
  kSectionChannels,
  kSectionParameters,
  kSectionDirection,
  kSectionMainParameters,
  kSectionJobRecord,
  kSectionRows,
};

enum LogDirection : std::uint8_t { kLogDown = 0, kLogUp = 1, kLogStation = 2 };

constexpr std::size_t kMainParameterCount = 4;

struct DataFileSummary {
  std::uint8_t direction = 0;
  float firstValue = 0;  // column 0 of the first row
  float lastValue = 0;   // column 0 of the last whole row
  std::uint32_t toolEntries = 0;
  std::uint32_t rowWidth = 0;                  // m, floats per row
  std::vector<std::uint32_t> parameterCounts;  // stored k of each tool of kind 1, in order
  std::array<std::uint64_t, 8> sectionStart{}; // byte offsets, indexed 1 to 7
  std::uint64_t wholeRows = 0;
  std::uint64_t trailingBytes = 0;             // bytes of an incomplete last row
};

}  // namespace kvr
