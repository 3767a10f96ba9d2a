#pragma once
// The analysis of one time interval of a TARN-B station file: the running means of the
// tool's channels with their outlier filter, and the hole azimuth and toolface the panel
// computes itself from the averaged gyro rates and accelerations.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>

#include "common/datafile/FilePorts.h"

namespace kvr::tarnb {

// A running mean that stands in the mean for a missing value and, with the filter on and more
// than five values taken, for a value further from the mean than the threshold. Angles
// (circular) are compared and averaged across 0/360.
class FilteredMean {
 public:
  explicit FilteredMean(double threshold, bool circular = false) : threshold_(threshold), circular_(circular) {}
  void add(double x, bool filter);
  // The mean; an angle in the range its first value came in (0..360 or -180..180).
  double mean() const;
  std::uint64_t count() const { return n_; }

 private:
  double threshold_;
  bool circular_;
  double mean_ = 0;
  std::uint64_t n_ = 0;
  bool signedRange_ = false;
};

enum class AnalysisMode { Normal, Raw, RollTest };

struct AnalysisRequest {
  double start = 0, end = 0;  // seconds of column 0
  AnalysisMode mode = AnalysisMode::Normal;
  bool filter = true;         // __TARN_B_IgnoreNoiseFilter = 0
  double latitudeDeg = 0;
};

struct AnalysisResult {
  double depth = 0;
  double azimuth = 0, toolface = 0;  // degrees 0..360; not computed in raw and roll-test mode
  double deviation = 0, highSideToolface = 0;
  bool rbChannel = false;            // the file has no "HSTF": the mean is of "RB"
  double rateX = 0, rateY = 0;       // gyro means before the division by the earth rate
  double xg = 0, yg = 0, zg = 0;
  double temperature = 0;
  double latitude = 0;
  std::uint64_t rows = 0;
};

// The texts of a refused analysis.
inline constexpr const char* kRecordingFile = "You cannot process the current recording file.\nStop recording and try again.";
inline constexpr const char* kStartAfterEnd =
    "The specified interval has a greater start value than its end. Please corret this in order to continue.";
inline constexpr const char* kNoRows = "The specified interval holds no data rows of the file.";
inline constexpr const char* kNoVerticalAcceleration =
    "The Z acceleration of the interval is 0: azimuth and toolface cannot be computed.";

struct AnalysisFailure {
  std::string text;
};

// Reads the file (through CFileManager) and analyses [start, end], clipped to the file's first
// and last time; startDepth is the file's start depth.
std::variant<AnalysisResult, AnalysisFailure> analyseInterval(FileSystem& fs, const std::filesystem::path& file,
                                                              double startDepth, const AnalysisRequest& request);

// Azimuth and toolface (degrees) from the mean gyro rates (deg/h) and accelerations (g).
struct Heading {
  double azimuth = 0, toolface = 0;
};
Heading stationHeading(double rateX, double rateY, double ax, double ay, double az, double latitudeDeg);

}  // namespace kvr::tarnb
