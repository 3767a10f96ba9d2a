#pragma once
// "TARN B Task Panel": station logs through the logging controller, the station files with
// their interval lists, and the station and roll-test reports written from them. Plain C++
// over its ports; the window in ui/ shows its state and calls its commands.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/datafile/FilePorts.h"
#include "kvr/tarnb/StationRecord.h"
#include "kvr/utilities/CDirSurveyReportOptions.h"
#include "platform/EventLoop.h"
#include "platform/Prompter.h"
#include "platform/Settings.h"
#include "toolslib/Library.h"

namespace kvr::tarnb {

// The logging controller as the panel sees it.
struct TarnBLog {
  std::function<bool()> depthLogRunning;
  std::function<bool()> stationLogRunning;
  std::function<void()> startStationLog;  // the main window's "S&tation Log"
  std::function<void()> stopLogging;      // "Stop Logging"
  std::function<std::filesystem::path()> recordingFile;
};

// What the panel takes from the session each time it needs it.
struct TarnBContext {
  std::filesystem::path sessionFolder;
  std::string wellName;
  std::int32_t modeWord = 10;
};

struct TarnBPorts {
  platform::EventLoop& loop;
  platform::Prompter& prompter;
  platform::Settings& settings;
  tools::Library& library;
  FileSystem& fs;
  std::function<TarnBContext()> context;
  TarnBLog log;
  // The report viewer ("Report Viewer") with the report's path and text; empty: reports are
  // written but not shown.
  std::function<void(const std::filesystem::path&, const std::string&)> showReport;
};

class CTARN_B_TaskDlg final : public platform::EventTarget {
 public:
  static constexpr int kCalibrationTimer = 133;
  static constexpr int kCalibrationPeriodMs = 1000;

  // Opening the panel: the outlier filter on, the report options read, timer 133 running.
  explicit CTARN_B_TaskDlg(TarnBPorts ports);
  ~CTARN_B_TaskDlg() override;

  // --- station log ---
  void stationButton();
  // The button's label follows the real state of the station log.
  const char* stationButtonText() const;

  // --- station files ---
  // The open dialog of "Add Station" (several files) and of "&Load Station Data".
  platform::FileRequest stationFileRequest() const;
  // "Add Station" with the files chosen; stops at the first refused file.
  void addStations(const std::vector<std::filesystem::path>& files);
  // "&Load Station Data": the current file without a record of the list.
  bool loadStationData(const std::filesystem::path& file);
  const std::vector<StationRecord>& stations() const { return stations_; }
  std::optional<std::size_t> selectedStation() const { return selected_; }
  void selectStation(std::size_t index);
  // A double click on a station removes it.
  void removeStation(std::size_t index);
  bool haveCurrentFile() const { return haveCurrent_; }
  const StationRecord& currentFile() const { return current_; }

  // --- intervals ---
  bool addInterval();
  const std::vector<IntervalRow>& intervalRows() const { return rows_; }
  // The end of an in-place edit of column 1, 2 or 3; false when the text was dropped or refused.
  bool editCell(std::size_t row, int column, const std::string& text);

  // --- reports ---
  bool rawChannels = false;   // "Raw Ch."
  bool generateLas = false;   // "Gen. .LAS"
  // "&See Report", "&Save Station Report" and "Roll Test": the report written, or nullopt.
  std::optional<std::filesystem::path> seeReport();
  std::optional<std::filesystem::path> saveStationReport();
  std::optional<std::filesystem::path> rollTest();
  const std::filesystem::path& reportPath() const { return reportPath_; }

  // --- options ---
  utilities::CDirSurveyReportOptions& reportOptions() { return reportOptions_; }
  platform::Settings& settings() { return ports_.settings; }
  platform::Prompter& prompter() { return ports_.prompter; }
  tools::Library& library() { return ports_.library; }

  // The calibration status: "Loaded" or "Not Loaded", serial, date, version.
  const std::array<std::string, 4>& calibrationStatus() const { return calibration_; }

  // Told after every change a window shows.
  void setChanged(std::function<void()> changed) { changed_ = std::move(changed); }

  void onTimer(int timerId) override;
  void onCommand(int, std::int64_t) override {}

 private:
  std::optional<StationRecord> readStation(const std::filesystem::path& file, const char* currentFileText);
  void storeIntervals();
  void showRecord(const StationRecord& record);
  void refreshCalibration();
  bool stationLogRunning() const;
  // A station or depth log runs.
  bool logRunning() const;
  bool isRecording(const std::filesystem::path& file) const;
  // The session's folder; empty without a session.
  std::filesystem::path sessionFolder() const;
  std::optional<std::filesystem::path> writeReport(const std::string& base, bool rollTest, bool showAfter);
  void viewReport(const std::filesystem::path& path);
  void changed();

  TarnBPorts ports_;
  utilities::CDirSurveyReportOptions reportOptions_;
  std::vector<StationRecord> stations_;
  std::optional<std::size_t> selected_;
  StationRecord current_;
  bool haveCurrent_ = false;
  std::vector<IntervalRow> rows_;
  std::filesystem::path reportPath_;
  std::array<std::string, 4> calibration_;
  std::function<void()> changed_;
};

}  // namespace kvr::tarnb
