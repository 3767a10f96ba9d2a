#include "kvr/calibration/CCaliManager.h"

#include <cstdio>
#include <cstring>

#include "common/records/ToolCodes.h"
#include "kvr/calibration/CalibrationMessages.h"

namespace kvr {

namespace t = cal_text;

namespace {
// A round that never returns 0 or 255 (a procedure looping on itself) ends here.
constexpr int kMaxStepsPerRound = 1000;

const char* titleOf(std::uint8_t code) {
  switch (code) {
    case records::kBrix: return "BRIX Calibration";
    case records::kTarn: return "TARN Calibration";
    case records::kTarnB: return "TARN B Calibration";
    case records::kTarnC: return "TARN C Calibration";
    case records::kDune: return "DUNE Calibration";
    case records::kSevo: return "SEVO Calibration";
    case records::kQuil: return "QUIL Calibration";
    case records::kVunt: return "VUNT Calibration";
    case records::kHavo: return "HAVO Calibration";
    case records::kFyrd: return "FYRD Calibration";
    default: return "Tool Calibration";
  }
}
}  // namespace

CCaliManager::CCaliManager(CalibrationPorts ports, const records::ToolList& string,
                           const std::filesystem::path& sessionFolder)
    : ports_(ports) {
  for (const auto& entry : string) {
    if (!entry.isTool()) continue;
    tools::Family* f = ports_.library.family(entry.code());
    if (f == nullptr) continue;
    f->loadCalList();
    if (!f->getCalList().empty()) tools_.push_back(entry);
  }
  report_ = ReportFile::create(ports_.files, sessionFolder, "CaliReport");
  const auto now = ports_.clock.localTime();
  char header[160];
  std::snprintf(header, sizeof header, t::kReportHeaderFormat, reportTime(now).c_str(), reportDate(now).c_str());
  if (!report_ || !report_->write(header)) {
    reportFailureShown_ = true;
    platform::tell(ports_.prompter, t::kTitleError, t::kReportFailed, platform::Icon::Error);
  }
}

CCaliManager::~CCaliManager() {
  close();
  ports_.loop.forget(this);
  if (report_) report_->close();
}

std::string CCaliManager::title() const { return titleOf(currentCode()); }

tools::Family* CCaliManager::family() const {
  return tools_.empty() ? nullptr : ports_.library.family(tools_[current_].code());
}

void CCaliManager::previous() {
  if (running_ || current_ == 0) return;
  --current_;
}

void CCaliManager::next() {
  if (running_ || current_ + 1 >= tools_.size()) return;
  ++current_;
}

std::vector<std::string> CCaliManager::calibrationNames() const {
  std::vector<std::string> names;
  if (auto* f = family())
    for (const auto& c : f->getCalList()) names.push_back(c.name());
  return names;
}

void CCaliManager::start(std::size_t index) {
  auto* f = family();
  if (f == nullptr || index >= f->getCalList().size()) return;
  // A double click while another calibration waits starts afresh.
  stopTimers();
  ports_.view.hideProgress();
  calNumber_ = static_cast<unsigned>(index + 1);
  step_ = 0;
  timeout_ = 0;
  text_.fill(0);
  running_ = true;
  completed_ = false;
  engine();
}

void CCaliManager::close() {
  stopTimers();
  ports_.view.hideProgress();
  step_ = 0;
  running_ = false;
}

void CCaliManager::reset() {
  step_ = 0;
  running_ = false;
}

void CCaliManager::stopTimers() {
  ports_.loop.stopTimer(this, kProgressTimer);
  ports_.loop.stopTimer(this, kPollTimer);
  ports_.loop.stopTimer(this, kTimeoutTimer);
}

void CCaliManager::restartTimeout() {
  // The counter starts again with its timer, or one time-out would fail every later wait.
  timeout_ = 0;
  ports_.loop.startTimer(this, kTimeoutTimer, kTimeoutPeriodMs);
}

void CCaliManager::output(const std::string& text) {
  ports_.view.appendOutput(text);
  if (report_ && report_->write(text)) return;
  if (!reportFailureShown_) {
    reportFailureShown_ = true;
    platform::tell(ports_.prompter, t::kTitleError, t::kReportFailed, platform::Icon::Error);
  }
}

bool CCaliManager::send(const std::uint8_t* message) {
  const std::uint32_t length = static_cast<std::uint32_t>(message[0]) + 1;
  if (ports_.sender.sendMessage(message, length)) return true;
  platform::tell(ports_.prompter, t::kTitleError, t::kSendFailed, platform::Icon::Error);
  return false;
}

void CCaliManager::engine() {
  auto* f = family();
  if (!running_ || f == nullptr || inRound_) return;
  struct Round {
    bool& flag;
    explicit Round(bool& f) : flag(f) { flag = true; }
    ~Round() { flag = false; }
  } round(inRound_);
  unsigned status = 0;
  for (int i = 0; i < kMaxStepsPerRound; ++i) {
    text_.back() = 0;
    const int code = f->executeCal(calNumber_, step_, &status, text_.data());
    text_.back() = 0;  // whatever the procedure wrote, the text ends inside the buffer
    const Next next = act(code, status);
    if (next == Next::End) {
      completed_ = code == 0;
      reset();
      return;
    }
    if (next == Next::Pause) return;
    step_ += 1;
    if (code == 255) return;
  }
  reset();
}

CCaliManager::Next CCaliManager::act(int code, unsigned& status) {
  using platform::Answer;
  using platform::Buttons;
  const std::string text(text_.data());
  const auto* message = reinterpret_cast<const std::uint8_t*>(text_.data());
  switch (code) {
    case 0: return Next::End;
    case 1: {
      const Answer a = ports_.prompter.ask({t::kTitleMessage, text, Buttons::OkCancel, platform::Icon::Information});
      return a == Answer::Cancel ? Next::End : Next::Go;
    }
    case 7:
      for (;;) {
        const Answer a = ports_.prompter.ask({t::kTitleMessage, text, Buttons::CancelTryContinue, platform::Icon::Question});
        if (a == Answer::TryAgain) {
          step_ = status - 1;
          return Next::Go;
        }
        if (a == Answer::Continue) return Next::Go;
        if (ports_.prompter.ask({t::kTitleMessage, t::kCancelQuestion, Buttons::YesNo, platform::Icon::Question}) ==
            Answer::Yes)
          return Next::End;
      }
    case 8: {
      const Answer a = ports_.prompter.ask({t::kTitleMessage, text, Buttons::CancelTryContinue, platform::Icon::Question});
      if (a == Answer::TryAgain)
        step_ = status - 1;
      else
        status = a == Answer::Continue ? 0 : 2;
      return Next::Go;
    }
    case 2:
      output(text);
      if (status == kStatusEnd) return Next::End;
      if (calNumber_ == 1 && step_ == 0) {
        restartTimeout();
        ports_.view.showProgress(t::kTransferring);
        ports_.loop.startTimer(this, kPollTimer, kPollPeriodMs);
      }
      return Next::Go;
    case 3:
    case 4: {
      platform::FileRequest request;
      request.filter = t::kSctFilter;
      request.defaultExtension = t::kSctExtension;
      const auto path = code == 3 ? ports_.prompter.openFile(request) : ports_.prompter.saveFile(request);
      if (!path || path->size() + 1 > text_.size()) return Next::End;
      std::memcpy(text_.data(), path->c_str(), path->size() + 1);
      return Next::Go;
    }
    case 5:
      if (timeout_ >= kTimeoutCount) {
        output(t::kTimeout);
        ports_.loop.stopTimer(this, kPollTimer);
        ports_.loop.stopTimer(this, kTimeoutTimer);
        ports_.view.hideProgress();
        // The tool being calibrated is told to stop sending.
        const std::uint8_t stop[] = {0x03, currentCode(), 0x00, 0x65};
        send(stop);
        return Next::End;
      }
      if (status == 1 && message[0] != 0) {
        status = 2;
        send(message);
        ports_.view.showProgress(t::kTransferring);
        ports_.loop.startTimer(this, kPollTimer, kPollPeriodMs);
        restartTimeout();
        return Next::Pause;
      }
      if (status == 0) {
        ports_.view.hideProgress();
        ports_.loop.stopTimer(this, kPollTimer);
        ports_.loop.stopTimer(this, kTimeoutTimer);
        return Next::Go;
      }
      return Next::Pause;  // still waiting: the poll timer brings the next round
    case 6:
      if (message[0] != 0) send(message);
      return Next::Go;
    case 255:
      ports_.view.showProgress(text);
      ports_.view.setProgress(ports_.library.progress());
      ports_.loop.startTimer(this, kProgressTimer, kProgressPeriodMs);
      return Next::Go;
    default:
      // An unknown code would otherwise loop with a growing step.
      output(t::kUnknownCode);
      return Next::End;
  }
}

void CCaliManager::onTimer(int timerId) {
  switch (timerId) {
    case kProgressTimer: {
      const int pos = ports_.library.progress();
      ports_.view.setProgress(pos);
      if (pos >= 100) {
        ports_.loop.stopTimer(this, kProgressTimer);
        ports_.view.hideProgress();
        engine();
      }
      return;
    }
    case kPollTimer:
      ports_.view.setProgress(ports_.library.progress());
      ports_.loop.post(this, kEngineCommand);
      return;
    case kTimeoutTimer:
      timeout_ = kTimeoutCount;
      ports_.loop.stopTimer(this, kTimeoutTimer);
      return;
    default: return;
  }
}

void CCaliManager::onCommand(int command, std::int64_t) {
  if (command == kEngineCommand) engine();
}

}  // namespace kvr
