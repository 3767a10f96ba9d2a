#include "kvr/link/PPort.h"

#include <algorithm>

#include "kvr/link/Crc16.h"
#include "kvr/link/PanelMessages.h"

namespace kvr {
namespace {

constexpr std::uint8_t kReadRequest[] = {0x0A, 0x01, 0x0A, 0x0B};
constexpr std::uint8_t kPing[] = {0x0A, 0x01, 0x07, 0x0B};
constexpr std::uint8_t kInitialise[] = {0x0A, 0x01, 0x18, 0x0B};
constexpr std::uint8_t kPingAnswer = 0xEE, kInitAnswer = 0x18, kInitErrorAnswer = 0xCC;
constexpr std::uint8_t kBreakByte = 0xFE;
constexpr std::uint8_t kStart = 0x0B, kSeparator = 0x0A, kPanelMarker = 0xCD, kPanelAddress = 0xFD, kEnd = 0xCC;
constexpr std::uint8_t kCommandCode = 0x1E;
constexpr std::uint32_t kPanelBlockBytes = 12;
constexpr std::uint32_t kShortestDiscoveryFrame = 22 + 3;  // one listed address
constexpr std::uint32_t kMaxDataBlockBytes = 8;
constexpr std::uint32_t kDrainLimit = 65536;  // a panel that keeps streaming cannot hold the drain forever

}  // namespace

PPort::PPort(CUSBPort& port, platform::Clock& clock, FrameRing& frames)
    : port_(port), clock_(clock), frames_(&frames) {}

std::string PPort::ErrorText(std::uint16_t code) {
  switch (code) {
    case kOpenFailed: return panel_text::kOpenFailed;
    case kInitFailed: return panel_text::kInitFailed;
    case kNoPing: return panel_text::kNoPing;
    case kNoCommunication: return panel_text::kNoCommunication;
    default: return panel_text::kUnknown;
  }
}

bool PPort::writeAll(const std::uint8_t* bytes, std::uint32_t n) { return port_.Write(bytes, n) == n; }

bool PPort::OpenPanel() {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (!port_.IsOpen() && !port_.Open()) {
      error_ = kOpenFailed;
      return false;
    }
    if (Ping()) break;
    port_.Close();
  }
  if (!port_.IsOpen()) {
    error_ = kNoCommunication;
    return false;
  }
  std::uint8_t last = 0;
  for (int attempt = 0; attempt < 4; ++attempt) {
    port_.Flush();
    writeAll(kInitialise, sizeof kInitialise);
    Delay(kInitAnswerWaitMs);
    last = 0;
    if (port_.ReadByte(last) && last == kInitAnswer) {
      error_ = kNoError;
      linkLost_ = false;
      lastByteMs_ = clock_.nowMs();
      return true;
    }
  }
  error_ = last == kInitErrorAnswer ? kInitFailed : kOtherFailure;
  return false;
}

bool PPort::Ping() {
  if (!port_.IsOpen()) return false;
  port_.Flush();
  writeAll(kPing, sizeof kPing);
  std::uint8_t answer = 0;
  const std::int64_t deadline = clock_.nowMs() + kPingWaitMs;
  for (;;) {
    const std::uint32_t waiting = port_.BytesWaiting();
    if (waiting != 0 && waiting != CUSBPort::kQueryFailed) {
      port_.ReadByte(answer);
      break;
    }
    if (waiting == CUSBPort::kQueryFailed || clock_.nowMs() >= deadline) break;
    clock_.sleepMs(1);
  }
  if (answer == kPingAnswer) return true;
  error_ = kNoPing;
  return false;
}

bool PPort::Send(const std::uint8_t* message, std::uint32_t n) {
  // A message too long for a command frame is refused before anything is written, so the
  // panel keeps streaming and later reads go on as before.
  if (n > kMaxMessage) return false;
  Break();
  idle_ = false;
  hold_ = true;
  std::uint8_t frame[kMaxMessage + 7];
  frame[0] = 0x0A;
  frame[1] = static_cast<std::uint8_t>(n + 4);
  frame[2] = kCommandCode;
  frame[3] = static_cast<std::uint8_t>(n + 2);
  std::copy_n(message, n, frame + 4);
  const std::uint16_t crc = Crc16::of(message, n);
  frame[4 + n] = static_cast<std::uint8_t>(crc >> 8);
  frame[5 + n] = static_cast<std::uint8_t>(crc);
  frame[6 + n] = 0x0B;
  const bool written = writeAll(frame, n + 7);
  noteTransfer();
  requestPending_ = true;
  hold_ = false;
  return written;
}

void PPort::suspendReads() {
  suspended_.store(true);
  // A read already under way finishes within its poll budget and one transfer time-out.
  const std::int64_t deadline = clock_.nowMs() + 2000;
  while (inRead_.load() && clock_.nowMs() < deadline) clock_.sleepMs(1);
}

void PPort::noteTransfer() {
  if (port_.lastStatus() != usbxp::kSuccess && port_.IsOpen() && !linkLost_.exchange(true)) ++linkLosses_;
}

std::uint32_t PPort::receivePending() const {
  return (writePos_.load(std::memory_order_acquire) - parsePos_.load(std::memory_order_acquire)) & kRingMask;
}

bool PPort::Read() {
  inRead_.store(true);
  if (suspended_.load()) {
    inRead_.store(false);
    return false;
  }
  const bool any = readBytes();
  inRead_.store(false);
  return any;
}

bool PPort::readBytes() {
  if (!port_.IsOpen() || linkLost_) {
    idle_ = true;
    return false;
  }
  if (requestPending_.exchange(false)) {
    writeAll(kReadRequest, sizeof kReadRequest);
  } else {
    if (port_.BytesWaiting() == 0) {
      idle_ = true;
      return false;
    }
  }
  bool any = false;
  const std::int64_t deadline = clock_.nowMs() + kReadPollMs;
  while (!hold_.load()) {
    // A failed query says 16777215 and becomes a 1000-byte read; only a read that fails
    // as well marks the link lost.
    std::uint32_t n = std::min(port_.BytesWaiting(), kMaxReadChunk);
    // Never write over bytes the parser has not reached: what does not fit stays queued.
    const std::uint32_t room = kRingSize - 1 - receivePending();
    n = std::min(n, room);
    if (n > 0) {
      const std::uint32_t got = port_.Read(chunk_.data(), n);
      noteTransfer();
      std::uint32_t w = writePos_.load(std::memory_order_relaxed);
      for (std::uint32_t i = 0; i < got; ++i) ring_[(w + i) & kRingMask] = chunk_[i];
      w = (w + got) & kRingMask;
      writePos_.store(w, std::memory_order_release);
      if (got > 0) {
        any = true;
        lastByteMs_ = clock_.nowMs();
      }
    }
    if (clock_.nowMs() >= deadline || linkLost_) break;
    if (n == 0) clock_.sleepMs(1);
  }
  idle_ = true;
  return any;
}

void PPort::setExpectedAddresses(std::span<const std::uint8_t> addresses) {
  expectedCount_ = static_cast<std::uint32_t>(std::min<std::size_t>(addresses.size(), kMaxExpectedAddresses));
  std::copy_n(addresses.begin(), expectedCount_, expected_.begin());
}

void PPort::logFrameStart(std::uint32_t start) {
  if (!rawLog_ || loggedStart_ == start) return;
  loggedStart_ = start;
  const std::uint32_t n = std::min(minFrameLength_, receivePendingFrom(start));
  for (std::uint32_t i = 0; i < n; ++i)
    std::fprintf(rawLog_, "%d\r\n", static_cast<int>(ring_[(start + i) & kRingMask]));
}

PPort::Outcome PPort::parseFrameAt(std::uint32_t start, std::uint32_t available, std::uint32_t& length) {
  FrameRing& fr = *frames_;
  const std::uint32_t base = fr.write();
  const std::uint32_t room = FrameRing::kSize - 1 - fr.pending();  // one byte stays free: full is not empty
  std::uint32_t copied = 0;
  std::uint32_t i = 1;  // past the start byte
  auto at = [&](std::uint32_t k) { return ring_[(start + k) & kRingMask]; };
  auto have = [&](std::uint32_t k) { return i + k <= available; };
  auto copy = [&](std::uint32_t from, std::uint32_t n, std::uint16_t& crc) {
    for (std::uint32_t k = 0; k < n; ++k) {
      const std::uint8_t b = at(from + k);
      crc = Crc16::update(crc, b);
      fr.put(base + copied + k, b);
    }
    copied += n;
  };

  std::uint16_t crc = 0;
  std::uint32_t blocks = 0;
  while (blocks < expectedCount_) {
    if (!have(2)) return Outcome::Incomplete;
    if (at(i) != expected_[blocks]) break;
    const std::uint8_t len = at(i + 1);
    // A data block holds at most 8 bytes; the discovery block lists every address of the string.
    if (len == 0 || len > (discoveryMode() ? kMaxExpectedAddresses : kMaxDataBlockBytes)) break;
    if (!have(2u + len)) return Outcome::Incomplete;
    if (copied + len + 1 + kPanelBlockBytes > room) return Outcome::RingFull;
    crc = Crc16::update(Crc16::update(crc, at(i)), len);
    copy(i + 2, len, crc);
    i += 2u + len;
    ++blocks;
  }
  if (blocks < expectedCount_) return Outcome::FrameError;
  if (!have(3)) return Outcome::Incomplete;
  const std::uint16_t sent = static_cast<std::uint16_t>(at(i) << 8 | at(i + 1));
  i += 2;
  if (sent != crc) return Outcome::CrcError;
  if (at(i) != kSeparator) return Outcome::FrameError;
  ++i;
  if (frameDataBytes_ != 0 && !discoveryMode() && copied != frameDataBytes_) return Outcome::FrameError;
  if (copied + 1 + kPanelBlockBytes > room) return Outcome::RingFull;
  if (discoveryMode()) fr.put(base + copied++, 0);

  if (!have(1)) return Outcome::Incomplete;
  if (at(i) != kPanelMarker) return Outcome::Dropped;
  ++i;
  if (!have(2)) return Outcome::Incomplete;
  if (at(i) != kPanelAddress) return Outcome::FrameError;
  const std::uint8_t p = at(i + 1);
  // The panel block has one size; any other would shift every later frame in the ring.
  if (p != kPanelBlockBytes) return Outcome::FrameError;
  if (!have(2u + p + 3)) return Outcome::Incomplete;
  crc = Crc16::update(Crc16::update(0, kPanelAddress), p);
  copy(i + 2, p, crc);
  i += 2u + p;
  const std::uint16_t panelSent = static_cast<std::uint16_t>(at(i) << 8 | at(i + 1));
  i += 2;
  if (panelSent != crc) return Outcome::CrcError;
  if (at(i) != kEnd) return Outcome::Dropped;
  ++i;
  fr.setWrite(base + copied);
  length = i;
  return Outcome::Good;
}

bool PPort::Parse() {
  const std::uint32_t w = writePos_.load(std::memory_order_acquire);
  std::uint32_t p = parsePos_.load(std::memory_order_relaxed);
  bool found = false;
  // A discovery frame is shorter than the declared string's frames; waiting for a whole
  // string's length would leave the last one to be misread once the data frames come.
  const std::uint32_t minimum = discoveryMode() ? kShortestDiscoveryFrame : minFrameLength_;
  for (;;) {
    const std::uint32_t available = (w - p) & kRingMask;
    if (available < minimum) break;
    if (ring_[p] != kStart) {
      p = (p + 1) & kRingMask;
      continue;
    }
    logFrameStart(p);
    std::uint32_t length = 0;
    const Outcome o = parseFrameAt(p, available, length);
    if (o == Outcome::Incomplete || o == Outcome::RingFull) break;  // wait for more bytes or room
    if (o == Outcome::Good) {
      ++goodFrames_;
      found = true;
      p = (p + length) & kRingMask;
      continue;
    }
    if (o == Outcome::CrcError) ++crcErrors_;
    if (o == Outcome::FrameError) ++frameErrors_;
    p = (p + 1) & kRingMask;
  }
  parsePos_.store(p, std::memory_order_release);
  return found;
}

void PPort::resetReceivePositions() {
  parsePos_.store(0, std::memory_order_release);
  writePos_.store(0, std::memory_order_release);
  loggedStart_ = -1;
}

void PPort::Reset() {
  ring_.fill(0);
  resetReceivePositions();
  crcErrors_ = frameErrors_ = goodFrames_ = 0;
}

void PPort::Break() {
  port_.WriteByte(kBreakByte);
  port_.WriteByte(kBreakByte);
}

void PPort::Drain() {
  std::uint8_t b = 0;
  for (std::uint32_t n = 0; n < kDrainLimit; ++n) {
    const std::uint32_t waiting = port_.BytesWaiting();
    if (waiting == 0 || waiting == CUSBPort::kQueryFailed || !port_.ReadByte(b)) break;
  }
}

void PPort::Close() { port_.Close(); }

}  // namespace kvr
