#pragma once
// The well path of a survey by the minimum curvature method: one row per station, the
// first at zero departure and zero true vertical depth.

#include <cstddef>
#include <string>
#include <vector>

#include "kvr/utilities/StationFile.h"

namespace kvr::utilities {

struct PathRow {
  float ns = 0;           // north departure
  float ew = 0;           // east departure
  float tvd = 0;          // true vertical depth
  float md = 0;           // measured depth
  float azimuth = 0;      // degrees
  float inclination = 0;  // degrees
};

using PathTable = std::vector<PathRow>;

inline constexpr double kPi = 3.1415926535898;
inline constexpr std::size_t kMaxPathRows = 10000;

inline constexpr const char* kTooManyStationsTitle = "ERROR";
inline constexpr const char* kTooManyStationsText =
    "The data file has exceeded the maximum allowed data points\nOnly the maximum allow data point will be used "
    "for calculatios\nTry increasing the DEPTH step size to decrease the number of data points";

struct WellPathResult {
  enum class Outcome { Complete, Truncated, BadLine };
  Outcome outcome = Outcome::Complete;
  PathTable rows;           // for BadLine: the rows before the bad line
  std::string badLineText;  // the message naming the bad line
};

// Walks the stations of the reader until its end, a bad line, or maxRows rows with more
// stations left (Truncated).
WellPathResult computeWellPath(StationReader& stations, std::size_t maxRows = kMaxPathRows);

// Closure distance and its azimuth in degrees, 0 to 360 clockwise from north.
double closure(const PathRow& row);
double closureAzimuth(const PathRow& row);

}  // namespace kvr::utilities
