#pragma once
// The survey report pair of the TARN-C stations in the well's folder: "TARNC_SurveyReport.txt"
// (a line per station) and ".raw" (the averaged sensors of both positions), then the numbered
// pairs "TARNC_SurveyReport_<i>". Lines end in CR LF; the degree sign is written as the bytes
// EF BF BD, as the reports have always carried it. Both files are flushed after every station.

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kvr/tarnc/PositionAverage.h"
#include "kvr/tarnc/StationList.h"

namespace kvr::tarnc {

struct ReportHeader {
  std::string wellName;
  double latitude = 0;
  std::string calibrationDate = "-", serialNumber = "-", calibrationVersion = "-";
};

struct StationLine {
  int station = 0;
  int file = -1;  // -1: no KVR station file
  double depth = 0, devi = 0, azi = 0, hstf = 0, gyrotf = 0, quality = 0;
  int hour = 0, minute = 0, second = 0, day = 0, month = 0, year = 0;
  double duration = 0;        // the Total Station Time option
  double muleshoeOffset = 0;  // > 0: the tool-face offset note follows
};

struct RawBlock {
  int station = 0;
  int file = -1;
  PositionAverage first, second;
  double latitude = 0;
  std::string lastSurvey;
  double reset[5] = {};  // Total, DEVI, HAZI, HSTF, TFACE in radians
};

// The file names of pair i (0: the unnumbered one).
std::filesystem::path reportPath(const std::filesystem::path& wellFolder, int index, const char* extension);

std::string surveyHeader(const ReportHeader& h);
std::string rawHeader(const ReportHeader& h);
std::string stationLine(const StationLine& s);
std::string rawBlock(const RawBlock& b);

// One row of a survey report read back.
struct LoadedStation {
  StationRow row;
  bool muleshoe = false;
};
// Reads a survey report's rows: false when the two header lines are missing or a row is
// malformed; the rows read before the fault are kept. header: the two header lines were found.
bool parseSurveyReport(std::string_view text, std::vector<LoadedStation>& rows, bool* header = nullptr);

class ReportPair {
 public:
  ReportPair() = default;
  ~ReportPair() { close(); }
  ReportPair(const ReportPair&) = delete;
  ReportPair& operator=(const ReportPair&) = delete;

  // Creates both files new (never over an existing one) with their headers.
  bool create(const std::filesystem::path& txt, const ReportHeader& header);
  // Opens both existing files to add stations at their end.
  bool openExisting(const std::filesystem::path& txt);
  bool isOpen() const { return txt_ != nullptr; }
  const std::filesystem::path& path() const { return path_; }
  // Written and flushed at once; false when a write failed.
  bool writeStation(const std::string& line) { return write(txt_, line); }
  bool writeRaw(const std::string& block) { return write(raw_, block); }
  void close();

 private:
  bool openBoth(const std::filesystem::path& txt, const char* mode);
  static bool write(std::FILE* f, const std::string& text);
  std::FILE* txt_ = nullptr;
  std::FILE* raw_ = nullptr;
  std::filesystem::path path_;
};

std::filesystem::path rawPathOf(const std::filesystem::path& txt);

}  // namespace kvr::tarnc
