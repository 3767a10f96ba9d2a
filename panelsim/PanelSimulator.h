#pragma once
// The simulated surface panel with its downhole tool string, as a byte wire: the host
// writes command bytes and reads what the panel sent. Time comes from the clock it is
// given: every call first brings the panel up to the clock's present, so on a virtual
// clock the stream advances exactly with virtual time. Safe to call from two threads.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "panelsim/Faults.h"
#include "panelsim/GaugeTool.h"
#include "panelsim/HostProtocol.h"
#include "panelsim/TarnCTool.h"
#include "panelsim/ToolModels.h"
#include "panelsim/Winch.h"
#include "platform/Clock.h"

namespace panelsim {

struct SimConfig {
  std::vector<std::uint8_t> toolCodes;  // the connected string, top first
  WinchSettings winch;
  Well well;
  Faults faults;
  TarnCSettings tarnc;
  GaugeSettings gauge;  // the memory gauge (its faults come from faults)
  // The older gyro tools: their gyros' biases and drifts, and the TARN-B sensor model.
  GyroErrors tarnGyro{{0.12, -0.08, 0.05}, {0, 0, 0}};
  GyroErrors tarnbGyro;
  TarnBTruth tarnb;
  // The operator turning the tool by hand: from atS seconds after power-on the toolface is
  // toolfaceDeg (in time order).
  struct Turn {
    double atS;
    double toolfaceDeg;
  };
  std::vector<Turn> turns;  // the TARN-C tool's sensor block and behaviour (its faults come from faults)
  std::uint32_t seed = 1;
  std::uint16_t startCounter = 0;
  std::uint32_t discoveryFrames = 1;  // frames that list the block addresses after "read tools"
  bool recordFrames = false;          // keep every sent frame for tests
  // What the discovery frame lists instead of the string's own addresses (a panel that
  // reports another string); empty: the string's addresses.
  std::vector<std::uint8_t> reportedAddresses;
};

// A frame as the panel sent it, with the bytes a host should keep from it: the tools' data
// followed by the panel block (a discovery frame: the addresses, a 0 byte, the panel block).
struct SentFrame {
  std::uint16_t counter = 0;
  bool discovery = false;
  bool damaged = false;  // a fault changed or cut it
  std::vector<std::uint8_t> payload;
};

struct PanelStats {
  std::uint32_t pings = 0, initialises = 0, readRequests = 0, breaks = 0;
  std::uint32_t commands = 0, badCommands = 0;
  std::uint32_t framesSent = 0, dataFramesSent = 0, discoveryFramesSent = 0, framesDamaged = 0;
  std::uint32_t bytesDropped = 0, bytesCorrupted = 0, overrunBytes = 0;
  std::uint32_t disconnects = 0;
};

// The block addresses of a string in order (tool code, code + 1, ...).
std::vector<std::uint8_t> blockAddresses(const std::vector<std::uint8_t>& toolCodes);

class PanelSimulator {
 public:
  PanelSimulator(SimConfig config, const platform::Clock& clock);
  ~PanelSimulator();

  // Replaces the connected string; an error text for an unknown code or more block
  // addresses than the discovery block lists (100).
  std::optional<std::string> setToolString(const std::vector<std::uint8_t>& codes);
  static std::optional<std::string> checkToolString(const std::vector<std::uint8_t>& codes);

  // Host side of the wire.
  void hostWrite(const std::uint8_t* bytes, std::size_t n);
  std::size_t hostAvailable();
  std::size_t hostRead(std::uint8_t* out, std::size_t n);
  void hostFlush();
  // False while the panel is away (a disconnect fault); its connection number changes every
  // time it goes away, so a handle from before is dead.
  bool present();
  std::uint32_t connection();

  // Told of every downhole message the panel delivers (on the caller's thread, with the
  // panel locked: keep it short).
  void setMessageObserver(std::function<void(const std::vector<std::uint8_t>&)> observer);
  // The panel's unit switch (status bit 5) and the winch's units with it.
  void setEnglish(bool english);

  // The well around the tools from now on (an operator turning the tool by hand).
  void setWell(const Well& well);
  // The TARN-C tool of the string, or null.
  TarnCTool* tarnCTool();
  // The TARN-C tool starts turning in the hole at this rate from now on (0 stops it), its
  // toolface carrying on from where it is.
  void setToolfaceRate(double degPerS);
  // The memory gauge of the string, or null.
  GaugeTool* gaugeTool();

  // Winch commands for a running simulation.
  void setDirection(Direction d);
  void setSpeed(double speed);
  void setDepth(double depth);

  PanelStats stats();
  std::vector<SentFrame> sentFrames();
  // Every downhole message the panel delivered, telemetry system included, byte for byte.
  std::vector<std::vector<std::uint8_t>> messages();
  std::vector<std::vector<std::uint8_t>> messagesTo(std::uint8_t toolCode);
  bool streaming();
  bool toolsReading();
  const SimConfig& config() const { return config_; }

 private:
  void catchUp(std::int64_t now);
  void emitUntil(std::int64_t t);
  void emitFrame(std::int64_t slot);
  void handle(const HostEvent& e, std::int64_t now);
  void deliver(const std::vector<std::uint8_t>& message);
  void answer(std::uint8_t byte);
  void queue(const std::vector<std::uint8_t>& frame, bool faultsApply, bool& damaged);
  std::int64_t slotTime(std::int64_t slot) const;
  std::int64_t slotAt(std::int64_t t) const;
  bool stalledAt(std::int64_t t) const;
  void goAway();

  std::mutex mutex_;
  SimConfig config_;
  const platform::Clock& clock_;
  std::vector<std::unique_ptr<ToolModel>> tools_;
  Winch winch_;
  Noise noise_;
  Noise faultDice_;
  HostProtocol protocol_;
  std::deque<std::uint8_t> output_;
  std::int64_t powerOnMs_;
  std::int64_t nextSlot_ = 0;
  std::int64_t firstFrameMs_ = -1;
  bool streaming_ = false;
  bool toolsEnabled_ = false;
  bool toolsReading_ = false;
  std::uint32_t discoveryLeft_ = 0;
  bool away_ = false;
  bool disconnectDone_ = false;
  std::int64_t backAtMs_ = 0;
  std::uint32_t connection_ = 1;
  PanelStats stats_;
  std::vector<SentFrame> sent_;
  std::vector<std::vector<std::uint8_t>> messages_;
  std::function<void(const std::vector<std::uint8_t>&)> observer_;
};

}  // namespace panelsim
