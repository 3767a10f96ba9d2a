#include "kvr/gauge/CDataLatchTaskPanel.h"

#include "common/records/ToolCodes.h"
#include "kvr/gauge/GaugeTexts.h"
#include "platform/TextFormat.h"
#include "toolslib/families/Vunt.h"
#include "toolslib/vunt/GaugeCommands.h"

namespace kvr::gauge {
namespace {

namespace cmd = tools::vunt::command;
constexpr int kTickMs = 100, kUploadTickMs = 500;
constexpr int kConnectTicks = 15, kAckTicks = 10, kHalfTicks = 20;
constexpr int kHalfPauseMs = 200, kPagePauseMs = 500;

const platform::Colour kYellow = rgb(255, 255, 0), kRed = rgb(255, 0, 0), kGreen = rgb(0, 255, 0),
                       kBlue = rgb(0, 0, 255);

}  // namespace

CDataLatchTaskPanel::CDataLatchTaskPanel(GaugePorts ports) : ports_(std::move(ports)) { start(); }

void CDataLatchTaskPanel::start() {
  stop();
  status_ = {};
  pressure_ = "14.70", temperature_ = "25.0";
  progress_ = stage_ = running_ = ticks_ = retries_ = firstPage_ = 0;
  retrying_ = pageComplete_ = transferFailed_ = frameSkip_ = false;
  ports_.loop.startTimer(this, kStatusTimer, kTickMs);
  changed();
}

void CDataLatchTaskPanel::stop() { ports_.loop.forget(this); }

CDataLatchTaskPanel::~CDataLatchTaskPanel() { ports_.loop.forget(this); }

void CDataLatchTaskPanel::changed() {
  if (changed_) changed_();
}

void CDataLatchTaskPanel::send(std::uint8_t code) {
  if (ports_.send) ports_.send({3, records::kVunt, 0, code});
}

void CDataLatchTaskPanel::sendPage(std::uint16_t page) {
  if (ports_.send)
    ports_.send(
        {5, records::kVunt, 0, cmd::kPage, static_cast<std::uint8_t>(page >> 8), static_cast<std::uint8_t>(page)});
}

void CDataLatchTaskPanel::show(const char* title, const char* t) { platform::tell(ports_.prompter, title, t); }

void CDataLatchTaskPanel::refreshStatus() {
  const tools::Globals& g = ports_.globals;
  const int mode = (g.VUNTControl & 0x38) >> 3;
  StatusLine line;
  if (!(g.VUNTControl & 0x80)) {
    line = mode == 1 ? StatusLine{text::kModes[1], kYellow} : StatusLine{text::kLinkDown, kRed};
  } else if (mode == 1) {
    line = {text::kLinkUp, kGreen};
  } else {
    line = {text::kModes[mode], retrying_ && (mode == 5 || mode == 6) ? kBlue : kGreen};
  }
  std::string pressure = "-", temperature = "-";
  if (mode == 2) {
    pressure = platform::format("%.2f", g.VUNTPressure);
    temperature = platform::format("%.1f", g.VUNTTemperature);
  }
  if (g.VUNTFrameSkip) frameSkip_ = true;
  const bool differs = line.text != status_.text || line.colour != status_.colour || pressure != pressure_ ||
                       temperature != temperature_;
  status_ = std::move(line);
  pressure_ = std::move(pressure);
  temperature_ = std::move(temperature);
  if (differs) changed();
}

void CDataLatchTaskPanel::connect() {
  stage_ = 0;
  runConnectStep();
}

void CDataLatchTaskPanel::runConnectStep() {
  tools::Globals& g = ports_.globals;
  running_ = stage_;
  ticks_ = 0;
  auto pause = [&](int periodMs) {
    progress_ = 0;
    changed();
    ports_.loop.startTimer(this, kProgressTimer, periodMs);
  };
  switch (stage_) {
    case 0:
    case 2:
    case 4:
      send(stage_ == 0 ? cmd::kConnectA : stage_ == 2 ? cmd::kConnectB : cmd::kConnectC);
      g.VUNTACKReceived = false;
      ports_.loop.startTimer(this, kConnectTimer, kTickMs);
      break;
    case 1: pause(300); break;
    case 3: pause(500); break;
    case 5: pause(50); break;
    case 6:
      g.VUNTCalibrationLoaded = false;
      send(cmd::kCalibration);
      ports_.loop.startTimer(this, kConnectTimer, kUploadTickMs);
      break;
    case 7:
      g.VUNTJobFatLoaded = false;
      send(cmd::kJobTable);
      ports_.loop.startTimer(this, kConnectTimer, kUploadTickMs);
      break;
    case 8:
      g.VUNTProgramLoaded = false;
      send(cmd::kProgram);
      ports_.loop.startTimer(this, kConnectTimer, kUploadTickMs);
      break;
    case 9:
      if (showStatus_) showStatus_();
      break;
    default: break;
  }
}

void CDataLatchTaskPanel::connectTick() {
  const tools::Globals& g = ports_.globals;
  ++ticks_;
  const bool arrived = running_ == 6   ? g.VUNTCalibrationLoaded
                       : running_ == 7 ? g.VUNTJobFatLoaded
                       : running_ == 8 ? g.VUNTProgramLoaded
                                       : g.VUNTACKReceived;
  if (arrived) {
    ports_.loop.stopTimer(this, kConnectTimer);
    stage_ = running_ + 1;
    ports_.loop.post(this, kConnectStep);
    return;
  }
  if (ticks_ >= kConnectTicks) {
    ports_.loop.stopTimer(this, kConnectTimer);
    show(text::kError, platform::format(text::kStageError, running_).c_str());
  }
}

void CDataLatchTaskPanel::progressTick() {
  progress_ += 10;
  changed();
  if (progress_ < 100) return;
  ports_.loop.stopTimer(this, kProgressTimer);
  stage_ = running_ + 1;
  ports_.loop.post(this, kConnectStep);
}

void CDataLatchTaskPanel::online() { send(cmd::kOnline); }

void CDataLatchTaskPanel::ping() {
  send(cmd::kPing);
  for (Timer t : {kHalfATimer, kHalfBTimer, kHalfPauseTimer, kPagePauseTimer}) ports_.loop.stopTimer(this, t);
  frameSkip_ = false;
  ports_.globals.VUNTFrameSkip = false;
}

void CDataLatchTaskPanel::waitAck(Timer timer) {
  ticks_ = 0;
  ports_.loop.startTimer(this, timer, kTickMs);
}

void CDataLatchTaskPanel::confirmThenSend(const char* question, std::uint8_t code, Timer timer) {
  const auto a = ports_.prompter.ask({text::kWarning, question, platform::Buttons::YesNo, platform::Icon::Warning});
  if (a == platform::Answer::Yes) sendAndWait(code, timer);
}

void CDataLatchTaskPanel::sendAndWait(std::uint8_t code, Timer timer) {
  ports_.globals.VUNTACKReceived = false;
  send(code);
  waitAck(timer);
}

void CDataLatchTaskPanel::eraseJobs() { confirmThenSend(text::kEraseQuestion, cmd::kErase, kEraseTimer); }

void CDataLatchTaskPanel::newJob() { confirmThenSend(text::kNewJobQuestion, cmd::kNewJob, kNewJobTimer); }

void CDataLatchTaskPanel::checkRecording() { sendAndWait(cmd::kCheck, kCheckTimer); }

void CDataLatchTaskPanel::ackTick(Timer timer) {
  ++ticks_;
  const bool acked = ports_.globals.VUNTACKReceived;
  if (!acked && ticks_ < kAckTicks) return;
  ports_.loop.stopTimer(this, timer);
  switch (timer) {
    case kEraseTimer:
      if (acked) ports_.loop.post(this, kSendGo);
      else show(text::kError, text::kEraseFailed);
      break;
    case kGoTimer: acked ? show(text::kMessage, text::kEraseDone) : show(text::kError, text::kGoFailed); break;
    case kCheckTimer: acked ? show(text::kMessage, text::kCheckDone) : show(text::kError, text::kNotRecording); break;
    case kNewJobTimer: acked ? show(text::kMessage, text::kNewJobDone) : show(text::kError, text::kNotRecording); break;
    default: break;
  }
}

void CDataLatchTaskPanel::requestFirstPage(std::uint16_t jobStartPage) {
  pageComplete_ = transferFailed_ = false;
  firstPage_ = 0;
  jobStartPage_ = jobStartPage;
  ports_.loop.post(this, kFirstPage);
}

void CDataLatchTaskPanel::requestNextPage() {
  pageComplete_ = transferFailed_ = false;
  ++currentPage_;
  ports_.loop.post(this, kNextPage);
}

void CDataLatchTaskPanel::notifyPage() {
  if (pageListener_) pageListener_();
}

void CDataLatchTaskPanel::pageRequest(int command, std::int64_t param) {
  tools::Globals& g = ports_.globals;
  g.VUNTACKReceived = false;
  g.VUNTDataTransferStatus = 0;
  // Only the download's own requests start the retry count afresh, so a gauge that never
  // answers ends the download after the tenth attempt.
  if (param != kRetry && (command == kFirstPage || command == kNextPage || command == kPageAgain)) retries_ = 0;
  switch (command) {
    case kFirstPage:
      currentPage_ = jobStartPage_;
      [[fallthrough]];
    case kPageAgain:
      sendPage(currentPage_);
      ticks_ = -5;
      retrying_ = false;
      break;
    case kNextPage: send(cmd::kNextPage), ticks_ = 0; break;
    case kHalfAAgain: send(cmd::kHalfAAgain), ticks_ = 0; break;
    case kRequestHalfB:
      send(cmd::kHalfB);
      ticks_ = 0;
      ports_.loop.startTimer(this, kHalfBTimer, kTickMs);
      return;
    default: return;
  }
  ports_.loop.startTimer(this, kHalfATimer, kTickMs);
}

void CDataLatchTaskPanel::halfTick(bool halfB) {
  tools::Globals& g = ports_.globals;
  const Timer timer = halfB ? kHalfBTimer : kHalfATimer;
  ++ticks_;
  if (g.VUNTACKReceived && g.VUNTDataTransferStatus == 2) {
    ports_.loop.stopTimer(this, timer);
    retrying_ = false;
    retries_ = 0;
    ports_.loop.startTimer(this, halfB ? kPagePauseTimer : kHalfPauseTimer, halfB ? kPagePauseMs : kHalfPauseMs);
    return;
  }
  if (ticks_ != kHalfTicks) return;
  ports_.loop.stopTimer(this, timer);
  if (++retries_ < kMaxRetries) {
    retrying_ = true;
    tools::ResetDataIndex(g);
    const int again = halfB                             ? kRequestHalfB
                      : g.VUNTDataTransferStatus == 1   ? kHalfAAgain
                      : firstPage_ == 0                 ? kFirstPage
                                                        : kPageAgain;
    ports_.loop.post(this, again, kRetry);
    changed();
    return;
  }
  show(text::kErrorLower, halfB ? text::kHalfBFailed : text::kHalfAFailed);
  transferFailed_ = true;
  notifyPage();
}

void CDataLatchTaskPanel::onTimer(int id) {
  switch (id) {
    case kStatusTimer: refreshStatus(); break;
    case kConnectTimer: connectTick(); break;
    case kProgressTimer: progressTick(); break;
    case kHalfATimer: halfTick(false); break;
    case kHalfBTimer: halfTick(true); break;
    case kEraseTimer:
    case kGoTimer:
    case kCheckTimer:
    case kNewJobTimer: ackTick(static_cast<Timer>(id)); break;
    case kHalfPauseTimer:
      ports_.loop.stopTimer(this, kHalfPauseTimer);
      ports_.loop.post(this, kRequestHalfB);
      break;
    case kPagePauseTimer:
      ports_.loop.stopTimer(this, kPagePauseTimer);
      pageComplete_ = true;
      notifyPage();
      break;
    default: break;
  }
}

void CDataLatchTaskPanel::onCommand(int command, std::int64_t param) {
  switch (command) {
    case kConnectStep: runConnectStep(); break;
    case kSendGo: sendAndWait(cmd::kGo, kGoTimer); break;
    default: pageRequest(command, param); break;
  }
}

}  // namespace kvr::gauge
