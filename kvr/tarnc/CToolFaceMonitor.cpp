#include "kvr/tarnc/CToolFaceMonitor.h"

#include "platform/TextFormat.h"

namespace kvr::tarnc {

namespace {

// The newest complete row's value of a channel; nothing when the channel or the ring is missing.
bool newest(const CToolManager& tools, const char* name, double& out) {
  const auto& ring = tools.ring();
  if (ring.empty()) return false;
  for (const auto& c : tools.channels()) {
    if (c.mnemonic != name || c.column() >= ring.rowWidth()) continue;
    const std::size_t row = ring.write() == 0 ? ring.size() - ring.rowWidth() : ring.write() - ring.rowWidth();
    out = ring.data()[row + c.column()];
    return true;
  }
  return false;
}

}  // namespace

void CToolFaceMonitor::setShown(bool shown) {
  if (shown == shown_) return;
  shown_ = shown;
  if (shown) {
    loop_.startTimer(this, kTimer, kPeriodMs);
  } else {
    loop_.stopTimer(this, kTimer);
  }
  if (changed_) changed_();
}

void CToolFaceMonitor::tick() {
  if (!telemetryRunning_ || !telemetryRunning_()) return;
  double tf = 0, hstf = 0;
  if (!newest(tools_, "TFACE", tf) || !newest(tools_, "HSTF", hstf)) return;
  if (offset_ > 0) {
    tf -= offset_;
    hstf -= offset_;
    if (plusMinus180_ && offset_ <= 180) hstf += 360;
  }
  if (tf < 0) tf += 360;
  if (!plusMinus180_) {
    if (hstf < 0) hstf += 360;
  } else if (hstf > 180) {
    hstf -= 360;
  } else if (hstf < -180) {
    hstf += 360;
  }
  if (!hstf_ && tools_.tools().globals().TARNC_SurveyMode) {
    text_ = "wait...";
  } else {
    text_ = platform::format("%3.1f\xBA", hstf_ ? hstf : tf);
  }
  if (changed_) changed_();
}

}  // namespace kvr::tarnc
