#include "panelsim/PanelSimulator.h"

#include <algorithm>
#include <cmath>

#include "panelsim/Crc16.h"

namespace panelsim {
namespace {

constexpr std::uint8_t kStart = 0x0B, kSeparator = 0x0A, kPanelMarker = 0xCD, kPanelAddress = 0xFD, kEnd = 0xCC;
constexpr std::uint8_t kPingAnswer = 0xEE, kInitAnswer = 0x18, kInitErrorAnswer = 0xCC;
constexpr std::uint8_t kTelemetrySystem = 0xFE, kEnableTools = 0x01, kReadTools = 0x02;
constexpr std::uint8_t kDiscoveryAddress = 0xFF;
// The host's table of expected addresses holds 100; the discovery block lists them all.
constexpr std::size_t kMaxDiscoveryAddresses = 100;
constexpr std::size_t kDeviceQueueBytes = 65536;  // what the bridge buffers before it overruns
constexpr int kFramesPerSecond = 15;

void appendCrc(std::vector<std::uint8_t>& frame, std::size_t from) {
  const std::uint16_t crc = crc16Xmodem(frame.data() + from, frame.size() - from);
  frame.push_back(static_cast<std::uint8_t>(crc >> 8));
  frame.push_back(static_cast<std::uint8_t>(crc));
}

}  // namespace

std::vector<std::uint8_t> blockAddresses(const std::vector<std::uint8_t>& toolCodes) {
  std::vector<std::uint8_t> out;
  for (std::uint8_t code : toolCodes) {
    auto model = makeToolModel(code);
    if (!model) continue;
    for (std::size_t i = 0; i < model->blockLengths().size(); ++i) out.push_back(static_cast<std::uint8_t>(code + i));
  }
  return out;
}

PanelSimulator::PanelSimulator(SimConfig config, const platform::Clock& clock)
    : config_(std::move(config)),
      clock_(clock),
      winch_(config_.winch),
      noise_(config_.seed),
      faultDice_(config_.seed * 7919u + 17u),
      powerOnMs_(clock.nowMs()) {
  setToolString(config_.toolCodes);
}

PanelSimulator::~PanelSimulator() = default;

std::optional<std::string> PanelSimulator::checkToolString(const std::vector<std::uint8_t>& codes) {
  for (std::uint8_t c : codes)
    if (!makeToolModel(c)) return "no tool model for code " + std::to_string(c);
  if (blockAddresses(codes).size() > kMaxDiscoveryAddresses)
    return "the string sends more than 100 block addresses, more than the discovery block can list";
  return std::nullopt;
}

std::optional<std::string> PanelSimulator::setToolString(const std::vector<std::uint8_t>& codes) {
  if (auto err = checkToolString(codes)) return err;
  std::lock_guard lock(mutex_);
  config_.toolCodes = codes;
  tools_.clear();
  for (std::uint8_t c : codes) {
    if (c == 227) {
      TarnCSettings settings = config_.tarnc;
      settings.faults = config_.faults.tarnc;
      tools_.push_back(std::make_unique<TarnCTool>(std::move(settings)));
    } else if (c == 240) {
      GaugeSettings settings = config_.gauge;
      settings.faults = config_.faults.gauge;
      tools_.push_back(std::make_unique<GaugeTool>(std::move(settings)));
    } else {
      tools_.push_back(makeToolModel(c));
    }
    tools_.back()->setCalibrationSilent(config_.faults.silentCalibration);
  }
  return std::nullopt;
}

void PanelSimulator::setWell(const Well& well) {
  std::lock_guard lock(mutex_);
  config_.well = well;
}

TarnCTool* PanelSimulator::tarnCTool() {
  std::lock_guard lock(mutex_);
  for (auto& t : tools_)
    if (t->code() == 227) return static_cast<TarnCTool*>(t.get());
  return nullptr;
}

void PanelSimulator::setToolfaceRate(double degPerS) {
  std::lock_guard lock(mutex_);
  const std::int64_t now = clock_.nowMs();
  catchUp(now);  // the frames up to now keep the old rate
  for (auto& t : tools_) {
    if (t->code() != 227) continue;
    // The tool's toolface is the well's plus rate x time since power-on: move the well's so that
    // the toolface is continuous at the change.
    auto& s = static_cast<TarnCTool*>(t.get())->settings();
    const double seconds = static_cast<double>(now - powerOnMs_) / 1000.0;
    config_.well.toolfaceDeg += (s.toolfaceRateDegPerS - degPerS) * seconds;
    s.toolfaceRateDegPerS = degPerS;
  }
}

GaugeTool* PanelSimulator::gaugeTool() {
  std::lock_guard lock(mutex_);
  for (auto& t : tools_)
    if (t->code() == 240) return static_cast<GaugeTool*>(t.get());
  return nullptr;
}

std::int64_t PanelSimulator::slotTime(std::int64_t slot) const {
  return powerOnMs_ + (slot * 1000 + kFramesPerSecond - 1) / kFramesPerSecond;
}
std::int64_t PanelSimulator::slotAt(std::int64_t t) const { return (t - powerOnMs_) * kFramesPerSecond / 1000; }

bool PanelSimulator::stalledAt(std::int64_t t) const {
  const Faults& f = config_.faults;
  if (f.stallAtS < 0 || firstFrameMs_ < 0) return false;
  const double s = static_cast<double>(t - firstFrameMs_) / 1000.0;
  return s >= f.stallAtS && s < f.stallAtS + f.stallForS;
}

void PanelSimulator::goAway() {
  away_ = true;
  ++stats_.disconnects;
  ++connection_;
  output_.clear();
  protocol_.reset();
  streaming_ = toolsEnabled_ = toolsReading_ = false;
  discoveryLeft_ = 0;
}

void PanelSimulator::catchUp(std::int64_t now) {
  const Faults& f = config_.faults;
  if (!disconnectDone_ && f.disconnectAtS >= 0 && firstFrameMs_ >= 0) {
    const auto at = firstFrameMs_ + static_cast<std::int64_t>(f.disconnectAtS * 1000);
    if (now >= at) {
      emitUntil(at - 1);
      disconnectDone_ = true;
      goAway();
      backAtMs_ = at + static_cast<std::int64_t>(f.disconnectForS * 1000);
    }
  }
  if (away_ && now >= backAtMs_) away_ = false;  // back as a freshly powered panel
  if (!away_) emitUntil(now);
}

void PanelSimulator::emitUntil(std::int64_t t) {
  while (streaming_ && slotTime(nextSlot_) <= t) {
    const std::int64_t slot = nextSlot_++;
    if (!stalledAt(slotTime(slot))) emitFrame(slot);
  }
}

void PanelSimulator::emitFrame(std::int64_t slot) {
  const std::int64_t at = slotTime(slot);
  if (firstFrameMs_ < 0) firstFrameMs_ = at;
  const double seconds = static_cast<double>(at - powerOnMs_) / 1000.0;

  while (!config_.turns.empty() && config_.turns.front().atS <= seconds) {
    config_.well.toolfaceDeg = config_.turns.front().toolfaceDeg;
    config_.turns.erase(config_.turns.begin());
  }
  Environment env;
  env.timeS = seconds;
  env.frame = stats_.framesSent;
  env.winch = winch_.at(seconds, noise_.uniform());
  env.well = config_.well;
  env.tvdFt = env.winch.depthFt * std::cos(config_.well.inclinationDeg * 3.1415926535898 / 180.0);
  env.temperatureC = 21.0 + 0.00833 * env.tvdFt;  // 1.5 degF per 100 ft
  env.pressurePsi = 14.7 + 0.433 * env.tvdFt;
  env.tarnGyro = config_.tarnGyro;
  env.tarnbGyro = config_.tarnbGyro;
  env.tarnb = config_.tarnb;

  SentFrame record;
  record.counter = static_cast<std::uint16_t>(config_.startCounter + slot);
  record.discovery = toolsReading_ && discoveryLeft_ > 0;

  std::vector<std::uint8_t> frame{kStart};
  if (record.discovery) {
    --discoveryLeft_;
    const auto addresses =
        config_.reportedAddresses.empty() ? blockAddresses(config_.toolCodes) : config_.reportedAddresses;
    frame.push_back(kDiscoveryAddress);
    frame.push_back(static_cast<std::uint8_t>(addresses.size()));
    frame.insert(frame.end(), addresses.begin(), addresses.end());
    record.payload = addresses;
    record.payload.push_back(0);
  } else if (toolsReading_) {
    std::uint8_t data[32];
    for (auto& tool : tools_) {
      tool->produce(env, noise_, data);
      std::size_t offset = 0;
      const auto lengths = tool->blockLengths();
      for (std::size_t b = 0; b < lengths.size(); ++b) {
        frame.push_back(static_cast<std::uint8_t>(tool->code() + b));
        frame.push_back(lengths[b]);
        frame.insert(frame.end(), data + offset, data + offset + lengths[b]);
        offset += lengths[b];
      }
      record.payload.insert(record.payload.end(), data, data + tool->dataBytes());
    }
  }
  appendCrc(frame, 1);
  const std::size_t downholeCrcAt = frame.size() - 1;
  frame.push_back(kSeparator);
  frame.push_back(kPanelMarker);
  const std::size_t panelFrom = frame.size();
  frame.push_back(kPanelAddress);
  frame.push_back(12);
  std::uint8_t panel[12];
  encodePanelBlock({env.winch.depth, record.counter, env.winch.tensionLb, env.winch.headVolts,
                    env.winch.headMilliamps, config_.winch.english},
                   panel);
  frame.insert(frame.end(), panel, panel + 12);
  record.payload.insert(record.payload.end(), panel, panel + 12);
  appendCrc(frame, panelFrom);
  const std::size_t panelCrcAt = frame.size() - 1;
  frame.push_back(kEnd);

  ++stats_.framesSent;
  record.discovery ? ++stats_.discoveryFramesSent : ++stats_.dataFramesSent;
  const bool faultsApply = !record.discovery;
  if (faultsApply) {
    const Faults& f = config_.faults;
    const std::uint32_t n = stats_.dataFramesSent;
    if (f.badDownholeCrc && n % f.badDownholeCrc == 0) frame[downholeCrcAt] ^= 0x5A, record.damaged = true;
    if (f.badPanelCrc && n % f.badPanelCrc == 0) frame[panelCrcAt] ^= 0xA5, record.damaged = true;
    if (f.cutFrames && n % f.cutFrames == 0) {
      const auto keep = 1 + static_cast<std::size_t>(faultDice_.unit() * static_cast<double>(frame.size() - 2));
      frame.resize(std::min(keep, frame.size() - 1));
      record.damaged = true;
    }
  }
  queue(frame, faultsApply, record.damaged);
  if (record.damaged) ++stats_.framesDamaged;
  if (config_.recordFrames) sent_.push_back(std::move(record));
}

void PanelSimulator::queue(const std::vector<std::uint8_t>& frame, bool faultsApply, bool& damaged) {
  const Faults& f = config_.faults;
  for (std::uint8_t b : frame) {
    if (faultsApply && f.dropBytes > 0 && faultDice_.unit() < f.dropBytes) {
      ++stats_.bytesDropped;
      damaged = true;
      continue;
    }
    if (faultsApply && f.corruptBytes > 0 && faultDice_.unit() < f.corruptBytes) {
      b ^= static_cast<std::uint8_t>(1u << static_cast<int>(faultDice_.unit() * 8) % 8);
      ++stats_.bytesCorrupted;
      damaged = true;
    }
    if (output_.size() >= kDeviceQueueBytes) {
      ++stats_.overrunBytes;
      damaged = true;
      continue;
    }
    output_.push_back(b);
  }
}

void PanelSimulator::answer(std::uint8_t byte) {
  if (output_.size() < kDeviceQueueBytes) output_.push_back(byte);
}

void PanelSimulator::handle(const HostEvent& e, std::int64_t now) {
  switch (e.kind) {
    case HostEvent::Ping:
      ++stats_.pings;
      if (!config_.faults.noPing) answer(kPingAnswer);
      return;
    case HostEvent::Initialise:
      ++stats_.initialises;
      answer(config_.faults.initError ? kInitErrorAnswer : kInitAnswer);
      return;
    case HostEvent::ReadRequest:
      ++stats_.readRequests;
      if (!streaming_) {
        streaming_ = true;
        nextSlot_ = slotAt(now) + 1;
      }
      return;
    case HostEvent::Break:
      ++stats_.breaks;
      streaming_ = false;
      return;
    case HostEvent::Command:
      ++stats_.commands;
      if (config_.faults.badCommandCrc && stats_.commands % config_.faults.badCommandCrc == 0) {
        ++stats_.badCommands;
        return;
      }
      deliver(e.message);
      return;
    case HostEvent::BadCommand:
      ++stats_.badCommands;
      return;
  }
}

void PanelSimulator::deliver(const std::vector<std::uint8_t>& message) {
  messages_.push_back(message);
  if (observer_) observer_(message);
  if (message.size() < 3) return;
  const std::uint8_t address = message[1];
  if (address == kTelemetrySystem) {
    if (message[2] == kEnableTools) toolsEnabled_ = true;
    if (message[2] == kReadTools && toolsEnabled_) {
      toolsReading_ = true;
      discoveryLeft_ = config_.discoveryFrames;
    }
    return;
  }
  for (auto& tool : tools_) {
    const auto blocks = tool->blockLengths().size();
    if (address >= tool->code() && address < tool->code() + blocks) tool->onMessage(message);
  }
}

void PanelSimulator::hostWrite(const std::uint8_t* bytes, std::size_t n) {
  std::lock_guard lock(mutex_);
  const std::int64_t now = clock_.nowMs();
  catchUp(now);
  if (away_) return;
  std::vector<HostEvent> events;
  for (std::size_t i = 0; i < n; ++i) {
    protocol_.feed(bytes[i], events);
    for (const HostEvent& e : events) handle(e, now);
    events.clear();
  }
}

std::size_t PanelSimulator::hostAvailable() {
  std::lock_guard lock(mutex_);
  catchUp(clock_.nowMs());
  return away_ ? 0 : output_.size();
}

std::size_t PanelSimulator::hostRead(std::uint8_t* out, std::size_t n) {
  std::lock_guard lock(mutex_);
  catchUp(clock_.nowMs());
  if (away_) return 0;
  const std::size_t k = std::min(n, output_.size());
  std::copy_n(output_.begin(), k, out);
  output_.erase(output_.begin(), output_.begin() + static_cast<long>(k));
  return k;
}

void PanelSimulator::hostFlush() {
  std::lock_guard lock(mutex_);
  catchUp(clock_.nowMs());
  output_.clear();
}

bool PanelSimulator::present() {
  std::lock_guard lock(mutex_);
  catchUp(clock_.nowMs());
  return !away_;
}

std::uint32_t PanelSimulator::connection() {
  std::lock_guard lock(mutex_);
  catchUp(clock_.nowMs());
  return connection_;
}

void PanelSimulator::setDirection(Direction d) {
  std::lock_guard lock(mutex_);
  const std::int64_t now = clock_.nowMs();
  catchUp(now);
  winch_.setDirection(d, static_cast<double>(now - powerOnMs_) / 1000.0);
}

void PanelSimulator::setSpeed(double speed) {
  std::lock_guard lock(mutex_);
  const std::int64_t now = clock_.nowMs();
  catchUp(now);
  winch_.setSpeed(speed, static_cast<double>(now - powerOnMs_) / 1000.0);
}

void PanelSimulator::setDepth(double depth) {
  std::lock_guard lock(mutex_);
  const std::int64_t now = clock_.nowMs();
  catchUp(now);
  winch_.moveTo(depth, static_cast<double>(now - powerOnMs_) / 1000.0);
}

void PanelSimulator::setMessageObserver(std::function<void(const std::vector<std::uint8_t>&)> observer) {
  std::lock_guard lock(mutex_);
  observer_ = std::move(observer);
}

void PanelSimulator::setEnglish(bool english) {
  std::lock_guard lock(mutex_);
  const std::int64_t now = clock_.nowMs();
  catchUp(now);
  winch_.setEnglish(english, static_cast<double>(now - powerOnMs_) / 1000.0);
  config_.winch = winch_.settings();
}

PanelStats PanelSimulator::stats() {
  std::lock_guard lock(mutex_);
  catchUp(clock_.nowMs());
  return stats_;
}

std::vector<SentFrame> PanelSimulator::sentFrames() {
  std::lock_guard lock(mutex_);
  catchUp(clock_.nowMs());
  return sent_;
}

std::vector<std::vector<std::uint8_t>> PanelSimulator::messages() {
  std::lock_guard lock(mutex_);
  return messages_;
}

std::vector<std::vector<std::uint8_t>> PanelSimulator::messagesTo(std::uint8_t toolCode) {
  std::lock_guard lock(mutex_);
  for (auto& t : tools_)
    if (t->code() == toolCode) return t->received();
  return {};
}

bool PanelSimulator::streaming() {
  std::lock_guard lock(mutex_);
  catchUp(clock_.nowMs());
  return streaming_;
}

bool PanelSimulator::toolsReading() {
  std::lock_guard lock(mutex_);
  catchUp(clock_.nowMs());
  return toolsReading_;
}

}  // namespace panelsim
