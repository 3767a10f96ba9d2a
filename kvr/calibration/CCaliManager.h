#pragma once
// "&Calibrations": the calibrations of the tools in the string, run step by step by the
// engine below. Each round calls the family's executeCal with the step counter and acts on
// the code it returns (see docs/CALIBRATION.md for the codes the families use); waiting for
// the tool is a state machine on posted command 128, driven by the 100 ms poll timer, with
// a 5 s time-out timer and a 500 ms progress timer for counted measurements. Every text of
// code 2 goes to the output and to the calibration report ("CaliReport", opened with the
// dialog).

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/datafile/FilePorts.h"
#include "common/records/ChannelStruct.h"
#include "kvr/calibration/CalibrationView.h"
#include "kvr/calibration/DownholeSender.h"
#include "kvr/calibration/ReportFile.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/Prompter.h"
#include "toolslib/Library.h"

namespace kvr {

// Where the engine finds the procedures: the TOOLS library in the program.
class CalibrationFamilies {
 public:
  virtual ~CalibrationFamilies() = default;
  virtual tools::Family* family(std::uint8_t code) = 0;
  virtual int progress() const = 0;  // the library's CalProgressPos, 0..100
};

class LibraryFamilies final : public CalibrationFamilies {
 public:
  explicit LibraryFamilies(tools::Library& library) : library_(library) {}
  tools::Family* family(std::uint8_t code) override { return library_.family(code); }
  int progress() const override { return library_.globals().CalProgressPos; }

 private:
  tools::Library& library_;
};

struct CalibrationPorts {
  CalibrationFamilies& library;
  DownholeSender& sender;
  platform::Prompter& prompter;
  platform::EventLoop& loop;
  platform::Clock& clock;
  CalibrationView& view;
  FileSystem& files;
};

class CCaliManager final : public platform::EventTarget {
 public:
  static constexpr int kProgressTimer = 126, kProgressPeriodMs = 500;
  static constexpr int kPollTimer = 127, kPollPeriodMs = 100;
  static constexpr int kTimeoutTimer = 143, kTimeoutPeriodMs = 5000;
  static constexpr int kEngineCommand = 128;
  static constexpr int kTimeoutCount = 20;
  static constexpr std::size_t kTextBytes = 4096;
  static constexpr unsigned kStatusEnd = 0xFF02;

  // Opening the dialog: the tools of the string that have calibrations, and the report in
  // the session folder.
  CCaliManager(CalibrationPorts ports, const records::ToolList& string, const std::filesystem::path& sessionFolder);
  ~CCaliManager() override;

  bool hasTools() const { return !tools_.empty(); }
  // "BRIX Calibration", ...; "Tool Calibration" without a tool.
  std::string title() const;
  std::uint8_t currentCode() const { return tools_.empty() ? 0 : tools_[current_].code(); }
  std::string toolName() const { return tools_.empty() ? std::string() : tools_[current_].name; }
  void previous();  // "<<"
  void next();      // ">>"
  // "Available Calibrations" of the current tool.
  std::vector<std::string> calibrationNames() const;

  // Double click on the calibration of list index i: number i + 1 runs from step 0.
  void start(std::size_t index);
  // Closing the dialog: the timers stop and the step goes back to 0.
  void close();

  bool running() const { return running_; }
  // The last run reached its procedure's end (not a cancel, a time-out or an error).
  bool completed() const { return completed_; }
  unsigned step() const { return step_; }
  const ReportFile* report() const { return report_.get(); }

  void onTimer(int timerId) override;
  void onCommand(int command, std::int64_t param) override;

 private:
  enum class Next { Go, End, Pause };
  void engine();
  Next act(int code, unsigned& status);
  void reset();
  void output(const std::string& text);
  bool send(const std::uint8_t* message);
  void stopTimers();
  void restartTimeout();
  tools::Family* family() const;

  CalibrationPorts ports_;
  std::vector<records::ToolEntry> tools_;
  std::size_t current_ = 0;
  unsigned calNumber_ = 0;
  unsigned step_ = 0;
  int timeout_ = 0;
  bool running_ = false;
  bool completed_ = false;
  bool inRound_ = false;  // a poll posted under an open question waits for the round
  bool reportFailureShown_ = false;
  std::array<char, kTextBytes> text_{};
  std::unique_ptr<ReportFile> report_;
};

}  // namespace kvr
