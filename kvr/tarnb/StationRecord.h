#pragma once
// One station file of the TARN-B panel's list, with the intervals to analyse in it.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kvr::tarnb {

inline constexpr std::size_t kMaxIntervals = 100;

struct StationInterval {
  double start = 0, end = 0;  // seconds of column 0
};

struct StationRecord {
  std::filesystem::path path;
  std::string title;  // the file name with its extension
  int hour = 0, minute = 0, second = 0, day = 0, month = 0, year = 0;
  float startDepth = 0;
  float firstTime = 0, lastTime = 0;
  std::vector<StationInterval> intervals;  // at most kMaxIntervals
};

// A row of the interval list as shown: "Interval", "Starting Time", "Ending Time", "Comments".
struct IntervalRow {
  std::string label, start, end, comment;
};

// The row "&Add Interval" and a reloaded station show for interval n (0-based).
IntervalRow defaultIntervalRow(std::size_t n, double start, double end);

}  // namespace kvr::tarnb
