#pragma once
// Start and stop telemetry, tool discovery, the check of the connected string against the
// declared one, downhole messages for every part of the program, and the link watch that
// notices a panel that went away and brings the link back by itself.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/records/ChannelStruct.h"
#include "common/records/ToolParameter.h"
#include "kvr/core/FrameRing.h"
#include "kvr/link/Acquisition.h"
#include "kvr/link/PPort.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/Prompter.h"

namespace kvr {

// The declared tool string as telemetry needs it (the tool string manager provides it).
class TelemetryToolString {
 public:
  virtual ~TelemetryToolString() = default;
  // Null while no session has declared a string; the frame offsets are written into it.
  virtual records::ToolList* toolList() = 0;
  virtual std::uint32_t minimumFrameLength() const = 0;
  virtual void setSurfaceBlockOffset(std::uint32_t offset) = 0;
};

enum class LinkState { Stopped, Acquiring, Lost, StringChanged };

// What the rest of the program does around telemetry; every hook may stay empty.
struct TelemetryHooks {
  std::function<bool()> logRunning;                       // a depth or station log runs
  std::function<void(bool on)> telemetryIcon;             // the status picture
  std::function<void()> startAcquisition;                 // keep-running is set: start the thread
  std::function<void()> stringVerified;                   // TARN-C session flags, next session number
  std::function<void()> closeTarnCRawData;                // at stop
  std::function<void(const records::ToolList&)> beforePanelOpen;  // the embedded simulator mirrors the string
  std::function<void(LinkState, const std::string&)> linkChanged;  // status line
};

class TeleManager final : public platform::EventTarget {
 public:
  static constexpr int kLinkWatchTimer = 31;
  static constexpr int kLinkWatchPeriodMs = 500;
  static constexpr std::int64_t kSilenceLimitMs = 3000;  // no byte for this long while acquiring: lost
  static constexpr std::int64_t kReconnectPeriodMs = 1000;
  static constexpr int kDiscoveryAttempts = 5;
  static constexpr std::uint8_t kEnableTools[] = {0x03, 0xFE, 0x01, 0x00};
  static constexpr std::uint8_t kReadTools[] = {0x03, 0xFE, 0x02, 0x00};

  TeleManager(PPort& port, TelemetryToolString& string, AcquisitionFlags& flags, platform::Prompter& prompter,
              platform::Clock& clock, platform::EventLoop& loop, TelemetryHooks hooks = {});
  ~TeleManager() override;

  // "&Start Telemetry": true when the string was verified and acquisition started.
  bool StartTelemetry();
  // "S&top Telemetry": false when refused (a log runs).
  bool StopTelemetry();
  // For every part: waits while the acquisition thread reads, then sends.
  bool SendDownholeMessage(const std::uint8_t* bytes, std::uint32_t length);
  // "Send Selected" (all = false) and "Send All": each chosen parameter in list order; the
  // number of messages sent.
  int SendParameters(const std::vector<records::ToolParameterS*>& chosen, bool all);

  bool telemetryActive() const { return active_; }
  LinkState linkState() const { return state_; }
  std::string statusText() const;
  const std::vector<std::uint8_t>& discoveredAddresses() const { return discovered_; }
  std::uint32_t reconnects() const { return reconnects_; }

  void onTimer(int timerId) override;
  void onCommand(int, std::int64_t) override {}

 private:
  void fail(const char* title, const std::string& text);
  std::vector<std::uint8_t> discover(FrameRing& ring);
  bool startStream(FrameRing& ring, std::vector<std::uint8_t>& found);
  bool readOnce();
  bool checkString(records::ToolList& tools);
  void watchLink();
  void tryReconnect();
  void setState(LinkState s);

  PPort& port_;
  TelemetryToolString& string_;
  AcquisitionFlags& flags_;
  platform::Prompter& prompter_;
  platform::Clock& clock_;
  platform::EventLoop& loop_;
  TelemetryHooks hooks_;
  bool active_ = false;
  LinkState state_ = LinkState::Stopped;
  std::vector<std::uint8_t> discovered_;
  std::uint32_t frameDataBytes_ = 0;
  std::int64_t nextAttemptMs_ = 0;
  std::uint32_t reconnects_ = 0;
  FrameRing* main_;
  FrameRing scratch_;  // discovery while reconnecting leaves the frame ring to the dispatch
};

}  // namespace kvr
