#pragma once
// "TARN Task Panel": drift stations with their countdowns (the TOOLS library integrates the
// gyro angles while the tool stands still; the panel turns them into drift rates, has the
// library take the measured offsets into use and appends the measurement to the drift
// file), Reset HAZI and the survey-mode switch. Plain C++ over its ports.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/Prompter.h"
#include "toolslib/Library.h"

namespace kvr::tarn {

// "Setup": the drift station's times and the drift file's name, kept as long as the panel.
struct CTTPSetup {
  int timeBetweenStations = 10;  // minutes
  int driftStationTime = 1;      // minutes
  std::string outputFileName = "GyroDriftMeas";
  // The refusal of the values, or nullopt: both times at least one minute, and a name that
  // stays in the session folder.
  std::optional<std::string> refusal() const;
};

struct TarnPorts {
  platform::EventLoop& loop;
  platform::Prompter& prompter;
  platform::Clock& clock;
  tools::Library& library;
  std::function<std::filesystem::path()> sessionFolder;
  std::function<double()> depth;              // the logging controller's panel depth
  std::function<std::uint64_t()> frameNumber; // frames received since the program started
};

enum class CountdownColour { Green, Red, Blue };

class CTARNTaskPanel final : public platform::EventTarget {
 public:
  static constexpr int kStationTimer = 100, kNextStationTimer = 101, kSpareTimer = 102;
  static constexpr int kTickMs = 1000;

  explicit CTARNTaskPanel(TarnPorts ports);
  ~CTARNTaskPanel() override;

  // "&Drift Station": ignored while one runs.
  void driftStation();
  // "Stop !"
  void stop();
  // "Reset HAZI", after its question.
  void resetHazi();
  // "M"
  void setSurveyMode(bool on);
  bool surveyMode() const { return surveyMode_; }
  // "&Setup" with new values; false (nothing changes) when they are refused.
  bool applySetup(const CTTPSetup& setup);
  const CTTPSetup& setup() const { return setup_; }

  bool running() const { return running_; }
  const std::string& countdownText() const { return countdown_; }
  CountdownColour countdownColour() const { return colour_; }
  // "Drift Measurement Results": X, Y, Z in deg/h.
  const std::array<float, 3>& drifts() const { return drifts_; }
  std::filesystem::path driftFile() const;
  // Measurements written to the drift file since the panel opened.
  int measurementsSaved() const { return saved_; }

  void setChanged(std::function<void()> changed) { changed_ = std::move(changed); }
  // For the processing window.
  tools::Library& library() { return ports_.library; }
  platform::Prompter& prompter() { return ports_.prompter; }

  void onTimer(int timerId) override;
  void onCommand(int, std::int64_t) override {}

 private:
  void stationTick();
  void nextStationTick();
  void endStation();
  void saveMeasurement();
  void showCountdown(int minutes, int seconds);
  void changed();

  TarnPorts ports_;
  CTTPSetup setup_;
  bool running_ = false;
  bool surveyMode_ = false;
  int minutes_ = 0, seconds_ = 0, nextMinutes_ = 0, nextSeconds_ = 0;
  int stationMinutes_ = 1;  // the station time the running station started with
  platform::CalendarTime startTime_;
  std::int64_t startMs_ = 0;
  std::array<float, 3> drifts_{};
  std::string countdown_ = "Stopped";
  CountdownColour colour_ = CountdownColour::Red;
  int saved_ = 0;
  std::function<void()> changed_;
};

}  // namespace kvr::tarn
