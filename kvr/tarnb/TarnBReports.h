#pragma once
// The TARN-B panel's two reports written from its station list: the directional survey station
// report (with its optional depth/deviation/azimuth column file) and the roll-test report
// graded against the loaded calibration.

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "common/datafile/FilePorts.h"
#include "kvr/calibration/ReportFile.h"
#include "kvr/tarnb/StationRecord.h"
#include "platform/Prompter.h"

namespace tools {
class TarnB;
}

namespace kvr::tarnb {

struct ReportContext {
  ReportContext(FileSystem& files, platform::Prompter& asker) : fs(files), prompter(asker) {}
  FileSystem& fs;
  platform::Prompter& prompter;
  std::string wellName;
  bool english = true;             // bit 0 of the mode word
  double latitudeDeg = 0;
  std::array<std::string, 4> calibration;  // the status fields: state, serial, date, version
  bool raw = false;                // "Raw Ch."
  bool las = false;                // "Gen. .LAS"
  bool filter = true;
  bool autoDepth = false;
  double depthStart = 100, depthIncrement = 100;
  std::filesystem::path recordingFile;  // the file a running log records; empty without one
};

// "Well Latitude: %d %d' %d\"" with degrees, minutes and seconds truncated toward zero.
std::string latitudeText(const char* label, double latitudeDeg);

// Writes the station report into `report`; with ctx.las also the column file beside it.
// False after a failed write (the messages are shown).
bool writeStationReport(ReportFile& report, const std::vector<StationRecord>& stations, const ReportContext& ctx);

// The grade of a difference: "PASS", "FAIR" or "NOT PASS" (also for a value that is no number).
const char* grade(double difference, double pass, double fair);

// Writes the roll-test report; false when the test could not be evaluated or a write failed.
bool writeRollTestReport(ReportFile& report, const std::vector<StationRecord>& stations, const ReportContext& ctx,
                         const tools::TarnB& calibration);

}  // namespace kvr::tarnb
