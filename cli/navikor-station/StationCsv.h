#pragma once

// The CSV line of navikor-station: one station of two averaged indexer positions.

#include "navikor/Navikor.h"

#include <string>
#include <string_view>
#include <vector>

namespace navikor_station {

// Columns, in order: latitude (degrees), then for each of the two positions: indexer position
// (degrees), calibrated acceleration x y z (g, IMU frame), calibrated gyro rate x y z (deg/h,
// gyro sensor frame), gyro noise x y (deg/h), gyro temperature.
constexpr int kColumns = 21;

struct StationInput {
    double latitude = 0;
    ESTACIONin position[2];
};

struct ParsedLine {
    int lineNumber = 0;  // 1-based line of the input text
    StationInput input;
};

struct ParseResult {
    std::vector<ParsedLine> stations;
    std::string error;  // empty when every line was accepted
};

// Splits text into lines (LF, CR LF or CR), skips empty lines, '#' comments and a header line
// beginning with "latitude", and parses every other line. Stops at the first bad line.
ParseResult parseStations(std::string_view text);

// The help text of the program, naming the columns.
const char* usageText();

} // namespace navikor_station
