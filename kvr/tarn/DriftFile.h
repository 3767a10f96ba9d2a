#pragma once
// The TARN drift file: one measurement of four lines per drift station, appended to a text
// file of the session folder, and its reader (up to 200 measurements).
//   Depth: %f, Time: %H:%M:%S, Duration: %d, Frame No: %ld
//   GYRO X Offset = %f, Drift = %f deg/h      (and the lines of Y and Z)

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvr::tarn {

inline constexpr std::size_t kMaxDriftMeasurements = 200;

struct DriftMeasurement {
  double depth = 0;
  int hour = 0, minute = 0, second = 0;
  int durationMinutes = 0;
  long frame = 0;
  std::array<double, 3> offset{}, drift{};  // X, Y, Z: deg/h
};

// The four lines of one measurement, each ending in "\n"; time is "%H:%M:%S".
std::string formatDriftMeasurement(const DriftMeasurement& m);

inline constexpr const char* kTooManyDriftPoints =
    "This file has too many drift points !\nIt's hardly possible to have a correct file with so many points.\n"
    "Please check the file before going any further in the process.";

struct DriftFileRead {
  std::vector<DriftMeasurement> measurements;
  std::string error;  // empty when the whole file was read
};

// Lines end in LF, CR LF or CR; blank lines between measurements are skipped. A line that is
// not of its measurement's form ends the reading with an error naming it.
DriftFileRead parseDriftFile(std::string_view text);

// The gyro offsets at a frame number, linear between the measurements around it and held
// beyond the first and the last (measurements in the order of their frame numbers).
std::array<double, 3> offsetsAtFrame(const std::vector<DriftMeasurement>& measurements, double frame);

}  // namespace kvr::tarn
