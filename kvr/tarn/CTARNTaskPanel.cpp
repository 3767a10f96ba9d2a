#include "kvr/tarn/CTARNTaskPanel.h"

#include <cstdio>
#include <memory>

#include "common/records/FileNameRule.h"
#include "common/records/ToolCodes.h"
#include "kvr/tarn/DriftFile.h"
#include "toolslib/GyroMath.h"
#include "toolslib/families/Tarn.h"

namespace kvr::tarn {

namespace {
constexpr int kCalibrationSecond = 55;
constexpr const char* kCalOffset = "Cal. Offset";
constexpr const char* kStopped = "Stopped";
constexpr const char* kMeasDrift = "Meas. Drift";
constexpr const char* kFileFailed = "Output File Could not be Opened !\nMeasurement Could not be Saved";
constexpr const char* kResetQuestion =
    "Reseting HAZI during a survey will produce wrong on-line outputs.\nHowever it does not affect HAZI output after "
    "process the raw data.";

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// One count down of a minutes:seconds pair; true when it stood at 0:00 (the count ends).
bool countDown(int& minutes, int& seconds) {
  if (minutes <= 0 && seconds <= 0) return true;
  if (seconds == 0) {
    seconds = 59;
    --minutes;
  } else {
    --seconds;
  }
  return false;
}
}  // namespace

std::optional<std::string> CTTPSetup::refusal() const {
  if (timeBetweenStations < 1 || driftStationTime < 1) return std::string("Both station times must be at least 1 minute.");
  if (outputFileName.empty() || !records::nameStaysInFolder(outputFileName))
    return std::string("The output file name must be a plain file name, without \"/\", \"\\\", \".\" or \"..\".");
  return std::nullopt;
}

CTARNTaskPanel::CTARNTaskPanel(TarnPorts ports) : ports_(std::move(ports)) { ports_.library.globals().TARNSurveyMode = 0; }

CTARNTaskPanel::~CTARNTaskPanel() { ports_.loop.forget(this); }

void CTARNTaskPanel::changed() {
  if (changed_) changed_();
}

std::filesystem::path CTARNTaskPanel::driftFile() const {
  const auto folder = ports_.sessionFolder ? ports_.sessionFolder() : std::filesystem::path{};
  return folder / (setup_.outputFileName + ".txt");
}

bool CTARNTaskPanel::applySetup(const CTTPSetup& setup) {
  if (auto why = setup.refusal()) {
    platform::tell(ports_.prompter, "INPUT ERROR", *why, platform::Icon::Warning);
    return false;
  }
  setup_ = setup;
  changed();
  return true;
}

void CTARNTaskPanel::showCountdown(int minutes, int seconds) {
  char s[32];
  std::snprintf(s, sizeof s, "%02dm, %02ds", minutes, seconds);
  countdown_ = s;
}

void CTARNTaskPanel::driftStation() {
  if (running_) return;
  running_ = true;
  stationMinutes_ = setup_.driftStationTime;
  minutes_ = stationMinutes_;
  seconds_ = 0;
  ports_.loop.stopTimer(this, kNextStationTimer);
  ports_.loop.stopTimer(this, kSpareTimer);
  ports_.loop.startTimer(this, kStationTimer, kTickMs);
  colour_ = CountdownColour::Green;
  startTime_ = ports_.clock.localTime();
  startMs_ = ports_.clock.nowMs();
  auto& g = ports_.library.globals();
  g.GYROANGX = g.GYROANGY = g.GYROANGZ = 0;
  showCountdown(minutes_, seconds_);
  changed();
}

void CTARNTaskPanel::stop() {
  ports_.loop.stopTimer(this, kStationTimer);
  ports_.loop.stopTimer(this, kNextStationTimer);
  ports_.loop.stopTimer(this, kSpareTimer);
  running_ = false;
  colour_ = CountdownColour::Red;
  countdown_ = kStopped;
  changed();
}

void CTARNTaskPanel::resetHazi() {
  const platform::Message question{"ATTENTION", kResetQuestion, platform::Buttons::OkCancel, platform::Icon::Warning};
  if (ports_.prompter.ask(question) != platform::Answer::Ok) return;
  if (auto* tarn = static_cast<tools::Tarn*>(ports_.library.family(records::kTarn))) tarn->resetHoleAzimuth();
}

void CTARNTaskPanel::setSurveyMode(bool on) {
  surveyMode_ = on;
  ports_.library.globals().TARNSurveyMode = on ? 1 : 0;
}

void CTARNTaskPanel::onTimer(int timerId) {
  if (timerId == kStationTimer) stationTick();
  if (timerId == kNextStationTimer) nextStationTick();
}

void CTARNTaskPanel::stationTick() {
  if (countDown(minutes_, seconds_)) {
    endStation();
    return;
  }
  if (minutes_ == 0 && seconds_ == kCalibrationSecond) {
    if (auto* tarn = static_cast<tools::Tarn*>(ports_.library.family(records::kTarn))) tarn->doGyroOffsetCalibration();
  }
  if (minutes_ == 0 && seconds_ <= kCalibrationSecond && seconds_ % 2 == 0) {
    countdown_ = kCalOffset;
  } else {
    showCountdown(minutes_, seconds_);
  }
  changed();
}

void CTARNTaskPanel::endStation() {
  ports_.loop.stopTimer(this, kStationTimer);
  auto* tarn = static_cast<tools::Tarn*>(ports_.library.family(records::kTarn));
  if (tarn) tarn->setGyroOffsetParam();
  running_ = false;
  nextMinutes_ = setup_.timeBetweenStations;
  nextSeconds_ = 0;
  ports_.loop.startTimer(this, kNextStationTimer, kTickMs);
  colour_ = CountdownColour::Red;
  showCountdown(nextMinutes_, nextSeconds_);
  auto& g = ports_.library.globals();
  // Per hour of the time the angles gathered: the station ends a tick after its last minute,
  // so dividing by the set minutes alone would overstate every drift by that second.
  const double hours = static_cast<double>(ports_.clock.nowMs() - startMs_) / 3.6e6;
  const double perHour = tools::gyro::kRadToDeg / (hours > 0 ? hours : stationMinutes_ / 60.0);
  drifts_ = {static_cast<float>(g.GYROANGX * perHour), static_cast<float>(g.GYROANGY * perHour),
             static_cast<float>(g.GYROANGZ * perHour)};
  g.GYROANGX = g.GYROANGY = g.GYROANGZ = 0;
  changed();
  saveMeasurement();
}

void CTARNTaskPanel::saveMeasurement() {
  DriftMeasurement m;
  m.depth = ports_.depth ? ports_.depth() : 0;
  m.hour = startTime_.hour, m.minute = startTime_.minute, m.second = startTime_.second;
  m.durationMinutes = stationMinutes_;
  m.frame = static_cast<long>(ports_.frameNumber ? ports_.frameNumber() : 0);
  const auto& p = ports_.library.family(records::kTarn)->getParameterList();
  const std::size_t offsets[3] = {tools::Tarn::kGyroOffsetX, tools::Tarn::kGyroOffsetY, tools::Tarn::kGyroOffsetZ};
  for (std::size_t a = 0; a < 3; ++a) {
    m.offset[a] = offsets[a] < p.size() ? p[offsets[a]].value : 0.0;
    m.drift[a] = drifts_[a];
  }
  std::string text;
  for (char c : formatDriftMeasurement(m)) {
    if (c == '\n') text += '\r';
    text += c;
  }
  // Appended: the file gathers the measurements of the whole survey.
  // Without a session there is no folder for it (never the working folder).
  const bool haveFolder = ports_.sessionFolder && !ports_.sessionFolder().empty();
  std::unique_ptr<std::FILE, FileCloser> file(haveFolder ? std::fopen(driftFile().c_str(), "ab") : nullptr);
  const bool written = file && std::fwrite(text.data(), 1, text.size(), file.get()) == text.size() &&
                       std::fclose(file.release()) == 0;
  if (!written) {
    platform::tell(ports_.prompter, "ERROR", kFileFailed, platform::Icon::Error);
    return;
  }
  ++saved_;
}

void CTARNTaskPanel::nextStationTick() {
  if (countDown(nextMinutes_, nextSeconds_)) {
    ports_.loop.stopTimer(this, kNextStationTimer);
    running_ = false;
    colour_ = CountdownColour::Blue;
    countdown_ = kMeasDrift;
  } else {
    showCountdown(nextMinutes_, nextSeconds_);
  }
  changed();
}

}  // namespace kvr::tarn
