#pragma once
// The "Corrected Tool Face" monitor: the newest toolface (GYROTF) or high-side toolface
// (HSTF) of the TARN-C tool less the muleshoe offset, every 200 ms while telemetry runs.

#include <functional>
#include <string>

#include "kvr/core/CToolManager.h"
#include "kvr/tarnc/StationList.h"
#include "platform/EventLoop.h"

namespace kvr::tarnc {

class CToolFaceMonitor final : public platform::EventTarget {
 public:
  static constexpr int kTimer = 1;
  static constexpr int kPeriodMs = 200;

  CToolFaceMonitor(platform::EventLoop& loop, CToolManager& tools, std::function<bool()> telemetryRunning)
      : loop_(loop), tools_(tools), telemetryRunning_(std::move(telemetryRunning)) {}
  ~CToolFaceMonitor() override { loop_.forget(this); }

  // Shown with its timer running, or hidden with it stopped.
  void setShown(bool shown);
  bool shown() const { return shown_; }
  void setOffset(double degrees, bool plusMinus180) {
    offset_ = degrees;
    plusMinus180_ = plusMinus180;
  }
  // The radio buttons: "GYROTF" (the default) or "HSTF".
  void showHstf(bool hstf) { hstf_ = hstf; }
  bool showsHstf() const { return hstf_; }
  // "%3.1f" and the byte 0xBA as a degree sign, or "wait..." while a station holds the indexer.
  const std::string& text() const { return text_; }
  Rgb colour() const { return hstf_ ? rgb(0, 255, 0) : rgb(255, 0, 0); }
  void setChanged(std::function<void()> changed) { changed_ = std::move(changed); }

  void onTimer(int) override { tick(); }
  void onCommand(int, std::int64_t) override {}

 private:
  void tick();

  platform::EventLoop& loop_;
  CToolManager& tools_;
  std::function<bool()> telemetryRunning_;
  std::function<void()> changed_;
  bool shown_ = false, hstf_ = false, plusMinus180_ = false;
  double offset_ = 0;
  std::string text_;
};

}  // namespace kvr::tarnc
