#pragma once
// "Memory Gauge Download Data" without its window: the job list from the panel's job table,
// the sample counts and serial number, and the download of the chosen job into the text and
// binary files, a state machine of posted commands (120) that waits for each page the
// panel's timers fetch and lets every other message through between passes.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "kvr/gauge/CDataLatchTaskPanel.h"
#include "kvr/gauge/DownloadFiles.h"
#include "kvr/gauge/GaugeJobs.h"

namespace kvr::gauge {

struct DownloadPorts {
  CDataLatchTaskPanel& panel;
  // "DATE PICKER": the start date and time, none when cancelled.
  std::function<std::optional<PickedDate>()> pickDate;
  std::string initialFolder;  // where the save dialog starts
};

class CDownloadDataDlg final : public platform::EventTarget {
 public:
  static constexpr int kRunDownload = 120;
  enum class State { Closed, Open, Running, Finished, Failed };

  explicit CDownloadDataDlg(DownloadPorts ports);
  ~CDownloadDataDlg() override;

  // Opening: false (after its message) when the gauge holds no job.
  bool open();
  const std::vector<GaugeJob>& jobs() const { return jobs_; }
  int selectedJob() const { return selected_; }  // from 0
  void selectJob(int index);
  std::uint32_t totalSamples() const;
  const std::string& fromSample() const { return from_; }
  const std::string& toSample() const { return to_; }
  void setFromSample(std::string t) { from_ = std::move(t); }
  void setToSample(std::string t) { to_ = std::move(t); }
  const std::string& serialText() const { return serial_; }

  // "&Download...": the date picker, the save dialog, the files, then command 120.
  void download();
  // The same without the dialogs (the headless download).
  bool startDownload(const std::filesystem::path& textFile, const PickedDate& start);

  State state() const { return state_; }
  bool running() const { return state_ == State::Running; }
  int progressMax() const { return progressMax_; }
  int progress() const { return progress_; }
  std::uint32_t samplesWritten() const { return written_; }
  std::uint32_t pagesReceived() const { return pages_; }
  const std::filesystem::path& textPath() const { return files_.textPath(); }
  const std::filesystem::path& binaryPath() const { return files_.binaryPath(); }

  // After the progress or the state changed.
  void setChanged(std::function<void()> changed) { changed_ = std::move(changed); }

  void onTimer(int) override {}
  void onCommand(int command, std::int64_t param) override;

 private:
  void begin();
  void pass();
  void afterPage();
  void samples();
  void endOfPass();
  void finish();
  void fail(const char* title, const char* text);
  bool writeFailed();
  void step(int by);
  void changed();

  DownloadPorts ports_;
  std::vector<GaugeJob> jobs_;
  int selected_ = 0;
  std::string from_ = "0", to_, serial_;
  State state_ = State::Closed;
  PickedDate start_;
  DownloadFiles files_;
  int progressMax_ = 0, progress_ = 0;
  // The loop: samples written, programmed and available from pages, the time in seconds.
  std::uint32_t written_ = 0, programmed_ = 0, available_ = 0, pages_ = 0;
  float t_ = 0;
  std::optional<ProgramReader> program_;
  ProgramEntry entry_;
  bool openEnded_ = false;
  bool needPage_ = true, firstPage_ = true, waiting_ = false;
  std::size_t pageIndex_ = 0;
  std::function<void()> changed_;
};

}  // namespace kvr::gauge
