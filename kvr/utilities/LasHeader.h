#pragma once
// The header of a converted file: version and well sections, curve section. Line ends are
// CR LF. The well section's STRT, STOP and STEP describe the index column as written, so the
// header is built again once the last data line is known.

#include <cstdint>
#include <string>
#include <vector>

#include "kvr/utilities/LasIndex.h"
#include "kvr/utilities/LasJob.h"
#include "kvr/utilities/LasSource.h"

namespace kvr::utilities {

// The program's fixed header values.
inline constexpr const char* kLasProgram = "KVR to ASCII 1-2004";
inline constexpr const char* kLasVersion = "3.0";
inline constexpr const char* kLasProducer = "KVR V1.0";
inline constexpr double kLasNullValue = -100000000;
inline constexpr const char* kStrictNullText = "-999.25";

// The curve name of a selected channel ("CCL" for "CCL1" when merging).
std::string curveName(const LasSource& source, const LasJob& job, std::size_t channel);

// lastLine: the last data line written (its index is STOP), or -1 when none was: the planned
// grid then stands for itself.
std::string buildHeader(const LasSource& source, const LasJob& job, const IndexGrid& grid, std::int64_t lastLine);

// "%a, %b %d, %Y - %H:%M:%S" in the C locale.
std::string creationText(int year, int month, int day, int hour, int minute, int second);

}  // namespace kvr::utilities
