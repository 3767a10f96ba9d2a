#pragma once
// The "Post Processing Manager" without its window: "Add Files" loads a session event log
// and finds its continuous segments for the grid, "Process" runs the analysis with the two
// switches of the dialog.

#include <array>
#include <string>
#include <vector>

#include "kvr/postprocess/ContinuousRun.h"
#include "kvr/postprocess/SessionLog.h"

namespace kvr::postprocess {

inline constexpr std::array<const char*, 10> kGridColumns = {
    "File", "Initial Depth", "Final Depth", "Initial Azimuth", "Initial Toolface", "Initial Deviation",
    "Final Azimuth", "Final Toolface", "Final Deviation", "Correction"};
inline constexpr const char* kSessionFilter = "Session CSV files (*.csv)|*.csv||";

class PostProcessManager {
 public:
  using Row = std::array<std::string, kGridColumns.size()>;

  PostProcessManager(tools::Library& tools, platform::Prompter& prompter, platform::Clock& clock, TraceSink& trace);

  // "Add Files": the file dialog starts in the session folder's "Output".
  bool addFiles(const std::string& sessionFolder);
  // Loads a chosen event log, as the dialog does after its file dialog.
  bool load(const std::string& eventLogPath);
  // "Process".
  ProcessResult process();

  // The two switches, the header's serial number and date, the calibration choice.
  ProcessOptions options;

  const std::string& eventLogPath() const { return path_; }
  const std::vector<SESSION_EVENT>& events() const { return events_; }
  const SegmentList& segments() const { return segments_; }
  // One row per segment, in the grid's column order.
  const std::vector<Row>& rows() const { return rows_; }
  bool loaded() const { return !path_.empty(); }
  ContinuousRun& run() { return run_; }

 private:
  platform::Prompter& prompter_;
  TraceSink& trace_;
  ContinuousRun run_;
  std::string path_;
  std::vector<SESSION_EVENT> events_;
  SegmentList segments_;
  std::vector<Row> rows_;
};

}  // namespace kvr::postprocess
