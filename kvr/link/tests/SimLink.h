#pragma once
// The whole link against the simulated panel on virtual time: the acquisition pass runs from
// a 250 ms timer, command 113 parses, and a stand-in dispatch takes every committed frame
// out of the frame ring.

#include <memory>
#include <vector>

#include "common/records/ToolCodes.h"
#include "kvr/link/Acquisition.h"
#include "kvr/link/TeleManager.h"
#include "panelsim/PanelSimulator.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/ScriptedPrompter.h"
#include "usbxp/SimBackend.h"

namespace kvr::testing {

// A declared string built straight from tool codes, as the tool string manager would.
class DeclaredString final : public TelemetryToolString {
 public:
  explicit DeclaredString(const std::vector<std::uint8_t>& codes, bool defined = true) : defined_(defined) {
    minFrame_ = 22;
    for (std::uint8_t c : codes) {
      const auto info = records::toolCodeInfo(c);
      records::ToolEntry e;
      e.name = std::string(info->model);
      e.toolCode = c;
      e.dataBytes = info->dataBytes;
      e.blockCount = (info->frameBytes - info->dataBytes) / 2;
      e.setKind(1);
      tools_.push_back(e);
      minFrame_ += info->frameBytes;
    }
  }
  records::ToolList* toolList() override { return defined_ ? &tools_ : nullptr; }
  std::uint32_t minimumFrameLength() const override { return minFrame_; }
  void setSurfaceBlockOffset(std::uint32_t offset) override { surfaceOffset = offset; }
  records::ToolList& tools() { return tools_; }
  std::uint32_t surfaceOffset = 0;

 private:
  bool defined_;
  records::ToolList tools_;
  std::uint32_t minFrame_ = 22;
};

class SimLink final : public platform::EventTarget {
 public:
  static constexpr int kAcquisitionTimer = 1;
  static constexpr int kFrameTick = 113;

  SimLink(panelsim::SimConfig config, std::vector<std::uint8_t> declared, std::vector<std::string> otherDevices = {})
      : string(std::move(declared)) {
    config.recordFrames = true;
    sim = std::make_unique<panelsim::PanelSimulator>(config, loop.clock());
    backend = std::make_unique<usbxp::SimBackend>(*sim, loop.clock(), std::move(otherDevices));
    usb = std::make_unique<CUSBPort>(*backend);
    port = std::make_unique<PPort>(*usb, loop.clock(), frames);
    cycle = std::make_unique<AcquisitionCycle>(*port, flags, loop.clock());
    TelemetryHooks hooks;
    hooks.startAcquisition = [this] { loop.startTimer(this, kAcquisitionTimer, 10); };
    hooks.logRunning = [this] { return logRunning; };
    hooks.linkChanged = [this](LinkState, const std::string& text) { statusLines.push_back(text); };
    tele = std::make_unique<TeleManager>(*port, string, flags, prompter, loop.clock(), loop, hooks);
  }
  ~SimLink() override { loop.forget(this); }

  void onTimer(int id) override {
    if (id != kAcquisitionTimer) return;
    if (!flags.keepRunning) return loop.stopTimer(this, kAcquisitionTimer);
    if (cycle->poll()) loop.post(this, kFrameTick);
  }
  void onCommand(int command, std::int64_t) override {
    if (command != kFrameTick) return;
    port->setParsing(true);
    port->Parse();
    dispatch();
    port->setParsing(false);
  }
  // Takes every whole frame out of the ring, as the frame dispatch does.
  void dispatch() {
    const std::uint32_t size = string.surfaceOffset + records::kPanelBlockBytes;
    while (frames.pending() >= size) {
      std::vector<std::uint8_t> f(size);
      const std::uint32_t r = frames.read();
      for (std::uint32_t i = 0; i < size; ++i) f[i] = frames.at(r + i);
      frames.setRead(r + size);
      committed.push_back(std::move(f));
    }
  }
  // The frame counter of a committed frame (panel block bytes 3-4).
  std::uint16_t counterOf(const std::vector<std::uint8_t>& f) const {
    const std::size_t p = string.surfaceOffset;
    return static_cast<std::uint16_t>(f[p + 3] << 8 | f[p + 4]);
  }

  platform::testing::ManualLoop loop;
  platform::testing::ScriptedPrompter prompter;
  DeclaredString string;
  std::unique_ptr<panelsim::PanelSimulator> sim;
  std::unique_ptr<usbxp::SimBackend> backend;
  std::unique_ptr<CUSBPort> usb;
  FrameRing frames;
  std::unique_ptr<PPort> port;
  AcquisitionFlags flags;
  std::unique_ptr<AcquisitionCycle> cycle;
  std::unique_ptr<TeleManager> tele;
  std::vector<std::vector<std::uint8_t>> committed;
  std::vector<std::string> statusLines;
  bool logRunning = false;
};

inline panelsim::SimConfig simConfig(std::vector<std::uint8_t> tools) {
  panelsim::SimConfig c;
  c.toolCodes = std::move(tools);
  return c;
}

}  // namespace kvr::testing
