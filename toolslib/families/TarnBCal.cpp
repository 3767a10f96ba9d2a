// TARN-B: its sensor correction table loaded from and saved to a ".sct" file. While a table
// is active the gyro offsets and gains come from it at the gyro temperature.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "toolslib/families/TarnB.h"

namespace tools {

namespace {

std::optional<std::string> readSmallFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text(cal::kMaxSctBytes + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

// Created exclusively: an existing file is never replaced.
bool writeNewFile(const std::string& path, const std::string& text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return ::close(fd) == 0 && done == text.size();
}

}  // namespace

std::vector<const char*> TarnB::calibrationNames() const {
  return {"Read Stored Calibration", "Load Sensor Correction Table", "Save Sensor Correction Table"};
}

int TarnB::executeOtherCal(unsigned calNumber, unsigned step, unsigned* status, char* text) {
  if (calNumber == 2) {
    if (step == 0) return cal::kOpenFile;
    if (step != 1) return cal::kEnd;
    const std::string path(text);
    const auto bytes = readSmallFile(path);
    if (!bytes) {
      *status = cal::kStatusEnd;
      return cal::put(text, "The file " + path + " cannot be read.\n", cal::kShow);
    }
    // With the gravity coefficients, or offsets and gains only.
    auto parsed = cal::parseSct(*bytes, kTableColumnsWithGravity);
    if (!parsed.table) parsed = cal::parseSct(*bytes, kTableColumns);
    if (!parsed.table) {
      *status = cal::kStatusEnd;
      return cal::put(text, "The file " + path + " is not a sensor correction table: " + parsed.error + ".\n",
                      cal::kShow);
    }
    table_ = std::move(*parsed.table);
    tableActive_ = true;
    globals_.TARNB_Cal_Sensor_SN = table_.serial;
    globals_.TARNB_Cal_Date = table_.date;
    globals_.TARNB_Cal_Type = table_.type;
    char s[200];
    std::snprintf(s, sizeof s, "Sensor correction table loaded: SN %s, date %s, type %g, %zu rows.\n",
                  table_.serial.c_str(), table_.date.c_str(), table_.type, table_.rows.size());
    return cal::put(text, s, cal::kShow);
  }
  if (calNumber == 3) {
    if (step == 0) return cal::kSaveFile;
    if (step != 1) return cal::kEnd;
    const std::string path(text);
    cal::SctTable table = table_;
    if (!tableActive_) {
      // No table loaded: the parameters as they stand, one row at room temperature.
      table = cal::SctTable{};
      table.serial = globals_.TARNB_Cal_Sensor_SN.empty() ? "UNKNOWN" : globals_.TARNB_Cal_Sensor_SN;
      table.date = globals_.TARNB_Cal_Date.empty() ? "UNKNOWN" : globals_.TARNB_Cal_Date;
      table.type = globals_.TARNB_Cal_Type;
      table.temperatures = {25.0};
      table.rows = {{parameterValue(kGyroOffsetX), parameterValue(kGyroOffsetY), parameterValue(kGyroGainX),
                     parameterValue(kGyroGainY)}};
    }
    if (!writeNewFile(path, cal::formatSct(table))) {
      *status = cal::kStatusEnd;
      return cal::put(text, "The table could not be written to " + path + " (an existing file is never replaced).\n",
                      cal::kShow);
    }
    return cal::put(text, "Sensor correction table saved to " + path + ".\n", cal::kShow);
  }
  return cal::kEnd;
}

}  // namespace tools
