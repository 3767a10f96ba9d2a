#include "kvr/link/TeleManager.h"

#include <algorithm>

#include "kvr/link/ParameterMessage.h"
#include "kvr/link/TelemetryMessages.h"

namespace kvr {
namespace t = tele_text;

namespace {
constexpr int kSettleMs = 200;
constexpr int kFirstReadMs = 400;
constexpr int kDiscoveryRetryMs = 200;
constexpr std::uint32_t kDiscoveryBytes = 100;
constexpr std::int64_t kSendWaitMs = 1000;  // a send stops waiting for the reader after this long
}  // namespace

TeleManager::TeleManager(PPort& port, TelemetryToolString& string, AcquisitionFlags& flags,
                         platform::Prompter& prompter, platform::Clock& clock, platform::EventLoop& loop,
                         TelemetryHooks hooks)
    : port_(port),
      string_(string),
      flags_(flags),
      prompter_(prompter),
      clock_(clock),
      loop_(loop),
      hooks_(std::move(hooks)),
      main_(&port.frameRing()) {}

TeleManager::~TeleManager() { loop_.forget(this); }

void TeleManager::fail(const char* title, const std::string& text) { platform::tell(prompter_, title, text); }

void TeleManager::setState(LinkState s) {
  state_ = s;
  if (hooks_.linkChanged) hooks_.linkChanged(s, statusText());
}

std::string TeleManager::statusText() const {
  const std::string link = port_.usb().describe();
  switch (state_) {
    case LinkState::Stopped: return t::kLinkOff;
    case LinkState::Acquiring: return t::kLinkOnPrefix + link;
    case LinkState::Lost: return t::kLinkLostPrefix + link;
    case LinkState::StringChanged: return t::kLinkStringChangedPrefix + link;
  }
  return t::kLinkOff;
}

bool TeleManager::readOnce() { return port_.readsSuspended() ? port_.ReadWhileSuspended() : port_.Read(); }

std::vector<std::uint8_t> TeleManager::discover(FrameRing& ring) {
  port_.setFrameRing(ring);
  port_.setFrameDataBytes(0);
  std::vector<std::uint8_t> found;
  for (int attempt = 0; attempt < kDiscoveryAttempts; ++attempt) {
    const std::uint8_t discovery = PPort::kDiscoveryAddress;
    port_.setExpectedAddresses({&discovery, 1});
    std::fill(ring.bytes().begin(), ring.bytes().begin() + kDiscoveryBytes, std::uint8_t{0});
    ring.reset();
    port_.zeroErrorCounters();
    port_.Parse();
    for (std::uint32_t i = 0; i < kDiscoveryBytes && ring.at(i) != 0; ++i) found.push_back(ring.at(i));
    if (!found.empty()) break;
    port_.Delay(kDiscoveryRetryMs);
    readOnce();
  }
  port_.setExpectedAddresses(found);
  ring.reset();
  port_.setCounters(0, 0, 0);
  return found;
}

bool TeleManager::startStream(FrameRing& ring, std::vector<std::uint8_t>& found) {
  if (!port_.Send(kEnableTools, sizeof kEnableTools)) return false;
  port_.Delay(kSettleMs);
  if (port_.Send(kReadTools, sizeof kReadTools)) {
    port_.resetReceivePositions();
    port_.zeroGoodFrames();
    port_.Delay(kFirstReadMs);
    readOnce();  // sends the read request first
  }
  found = discover(ring);
  return true;
}

bool TeleManager::StartTelemetry() {
  records::ToolList* tools = string_.toolList();
  if (tools == nullptr) {
    fail(t::kTitleError, t::kNoSession);
    return false;
  }
  port_.CalibrateDelay();
  if (hooks_.beforePanelOpen) hooks_.beforePanelOpen(*tools);
  port_.setMinimumFrameLength(string_.minimumFrameLength());
  port_.resumeReads();
  if (!port_.OpenPanel()) {
    active_ = false;
    fail(t::kTitleErrorMixed, PPort::ErrorText(port_.errorCode()) + t::kNoAcquisitionSuffix);
    return false;
  }
  active_ = true;
  port_.Delay(kSettleMs);
  port_.Reset();
  discovered_.clear();
  port_.setExpectedAddresses({});
  if (!startStream(*main_, discovered_)) fail(t::kTitleError, t::kToolStartFailed);
  if (!active_) return false;
  if (hooks_.telemetryIcon) hooks_.telemetryIcon(true);
  if (!checkString(*tools)) return false;
  flags_.keepRunning = true;
  if (hooks_.startAcquisition) hooks_.startAcquisition();
  if (hooks_.stringVerified) hooks_.stringVerified();
  setState(LinkState::Acquiring);
  loop_.startTimer(this, kLinkWatchTimer, kLinkWatchPeriodMs);
  return true;
}

bool TeleManager::checkString(records::ToolList& tools) {
  if (tools.empty()) {
    fail(t::kTitleError, t::kNoToolString);
    StopTelemetry();
    return false;
  }
  auto differs = [&] {
    fail(t::kTitleError, t::kStringDiffers);
    StopTelemetry();
    return false;
  };
  std::uint32_t declared = 0;
  for (const auto& e : tools)
    if (e.kind() != 0) declared += e.blockCount;
  if (declared != discovered_.size()) return differs();

  std::vector<bool> placed(tools.size(), false);
  std::vector<std::uint32_t> offsets(tools.size(), 0);
  std::uint32_t offset = 0;
  for (std::size_t i = 0; i < discovered_.size();) {
    std::size_t k = 0;
    while (k < tools.size() && (placed[k] || !tools[k].isTool() || tools[k].code() != discovered_[i])) ++k;
    if (k == tools.size() || tools[k].blockCount == 0) return differs();
    const auto& tool = tools[k];
    for (std::uint32_t b = 1; b < tool.blockCount; ++b)
      if (i + b >= discovered_.size() || discovered_[i + b] != static_cast<std::uint8_t>(tool.code() + b))
        return differs();
    placed[k] = true;
    offsets[k] = offset;
    offset += tool.dataBytes;
    i += tool.blockCount;
  }
  for (std::size_t k = 0; k < tools.size(); ++k)
    if (placed[k]) tools[k].frameOffset = offsets[k];
  string_.setSurfaceBlockOffset(offset);
  frameDataBytes_ = offset;
  port_.setFrameDataBytes(offset);
  return true;
}

bool TeleManager::StopTelemetry() {
  if (hooks_.logRunning && hooks_.logRunning()) {
    fail(t::kTitleMessage, t::kStopLoggingFirst);
    return false;
  }
  if (hooks_.telemetryIcon) hooks_.telemetryIcon(false);
  active_ = false;
  flags_.keepRunning = false;
  loop_.stopTimer(this, kLinkWatchTimer);
  if (hooks_.closeTarnCRawData) hooks_.closeTarnCRawData();
  port_.Break();
  port_.Drain();
  port_.resumeReads();
  setState(LinkState::Stopped);
  return true;
}

bool TeleManager::SendDownholeMessage(const std::uint8_t* bytes, std::uint32_t length) {
  const std::int64_t deadline = clock_.nowMs() + kSendWaitMs;
  while (flags_.reading.load() && clock_.nowMs() < deadline) clock_.sleepMs(1);
  return port_.Send(bytes, length);
}

int TeleManager::SendParameters(const std::vector<records::ToolParameterS*>& chosen, bool all) {
  if (!active_) {
    fail(t::kTitleAttention, all ? t::kNoTelemetryForSendAll : t::kNoTelemetryForSend);
    return 0;
  }
  int sent = 0;
  for (records::ToolParameterS* p : chosen) {
    if (p == nullptr) continue;
    const auto message = parameterMessage(*p);
    if (!message) {
      // Sending all skips the surface-only parameters without a word for each.
      if (!all && p->messageLength == 0) fail(t::kTitleMessage, t::kSurfaceOnlyParameter);
      if (p->messageLength != 0 && !parameterValueFits(*p)) fail(t::kTitleError, p->mnemonic + t::kValueNotSendable);
      continue;
    }
    if (SendDownholeMessage(message->data(), static_cast<std::uint32_t>(message->size()))) ++sent;
  }
  return sent;
}

void TeleManager::onTimer(int timerId) {
  if (timerId == kLinkWatchTimer) watchLink();
}

void TeleManager::watchLink() {
  if (!active_) return;
  const std::int64_t now = clock_.nowMs();
  if (state_ == LinkState::Acquiring) {
    const bool silent = now - port_.lastByteMs() > kSilenceLimitMs;
    if (!port_.linkLost() && !silent) return;
    port_.markLinkLost();
    port_.suspendReads();
    nextAttemptMs_ = now + kReconnectPeriodMs;
    setState(LinkState::Lost);
    return;
  }
  if (now >= nextAttemptMs_) tryReconnect();
}

void TeleManager::tryReconnect() {
  nextAttemptMs_ = clock_.nowMs() + kReconnectPeriodMs;
  const std::uint32_t crc = port_.crcErrors(), frame = port_.frameErrors(), good = port_.goodFrames();
  port_.Close();
  if (!port_.OpenPanel()) return;  // not back yet
  port_.resetReceivePositions();
  std::vector<std::uint8_t> found;
  const bool started = startStream(scratch_, found);
  // Whatever happened, the dispatch's ring and the counters of the session stay.
  port_.setFrameRing(*main_);
  port_.setCounters(crc, frame, good);
  port_.setExpectedAddresses(discovered_);
  port_.setFrameDataBytes(frameDataBytes_);
  if (!started || found.empty()) return;  // no frames yet: still lost
  if (found != discovered_) {
    if (state_ != LinkState::StringChanged) setState(LinkState::StringChanged);
    return;
  }
  port_.resumeReads();
  ++reconnects_;
  setState(LinkState::Acquiring);
}

}  // namespace kvr
