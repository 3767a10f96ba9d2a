#pragma once
// The byte protocol of the surface telemetry panel: opening and initialising the panel,
// ping, downhole messages in command frames, raw bytes into the receive ring, and the
// frame parser that checks both CRCs of each telemetry frame and copies its payload into
// the frame ring.
//
// Threads: Read runs on the acquisition thread; Parse, Send, Ping and everything else on
// the interface thread. The receive ring has one writer (Read) and one reader (Parse),
// each owning its position; shared positions and flags are atomics.

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "kvr/core/FrameRing.h"
#include "kvr/link/CUSBPort.h"
#include "platform/Clock.h"

namespace kvr {

class PPort {
 public:
  static constexpr std::uint32_t kRingSize = 32768;
  static constexpr std::uint32_t kRingMask = kRingSize - 1;
  static constexpr std::uint32_t kMaxMessage = 90;
  static constexpr std::uint32_t kMaxReadChunk = 1000;
  static constexpr std::uint8_t kDiscoveryAddress = 255;
  static constexpr std::uint32_t kMaxExpectedAddresses = 100;
  // Time budgets of the polling loops: a ping answer is awaited this long, and one read
  // keeps collecting bytes this long.
  static constexpr int kPingWaitMs = 100;
  static constexpr int kReadPollMs = 20;
  static constexpr int kInitAnswerWaitMs = 50;

  enum ErrorCode : std::uint16_t {
    kNoError = 0,
    kOpenFailed = 1,
    kInitFailed = 2,
    kNoPing = 3,
    kNoCommunication = 4,
    kOtherFailure = 65535,
  };

  PPort(CUSBPort& port, platform::Clock& clock, FrameRing& frames);

  // Waits run on the clock; there is no loop to calibrate.
  void CalibrateDelay() {}
  void Delay(int ms) { clock_.sleepMs(ms); }

  bool OpenPanel();
  static std::string ErrorText(std::uint16_t code);
  std::uint16_t errorCode() const { return error_; }
  bool Ping();
  bool Send(const std::uint8_t* message, std::uint32_t n);
  bool Read();
  bool Parse();
  void Reset();
  void Break();
  void Drain();
  void Close();

  // Set from the declared string and by discovery.
  void setMinimumFrameLength(std::uint32_t n) { minFrameLength_ = n < 22 ? 22 : n; }
  std::uint32_t minimumFrameLength() const { return minFrameLength_; }
  void setExpectedAddresses(std::span<const std::uint8_t> addresses);
  std::span<const std::uint8_t> expectedAddresses() const { return {expected_.data(), expectedCount_}; }
  // Data bytes a frame of the declared string carries; a frame with more or fewer is
  // refused so that the dispatch never loses its place. 0: not checked (discovery).
  void setFrameDataBytes(std::uint32_t n) { frameDataBytes_ = n; }
  bool discoveryMode() const { return expectedCount_ == 1 && expected_[0] == kDiscoveryAddress; }

  // The raw telemetry log, written at every frame start while set; the caller owns it.
  void setRawLog(std::FILE* log) { rawLog_ = log; }
  void setFrameRing(FrameRing& frames) { frames_ = &frames; }
  FrameRing& frameRing() { return *frames_; }

  std::uint32_t crcErrors() const { return crcErrors_; }
  std::uint32_t frameErrors() const { return frameErrors_; }
  std::uint32_t goodFrames() const { return goodFrames_; }
  void zeroErrorCounters() { crcErrors_ = frameErrors_ = 0; }
  void zeroGoodFrames() { goodFrames_ = 0; }
  void setCounters(std::uint32_t crc, std::uint32_t frame, std::uint32_t good) {
    crcErrors_ = crc, frameErrors_ = frame, goodFrames_ = good;
  }
  // Receive-ring positions back to the start (the bytes stay).
  void resetReceivePositions();

  // Flags of the protocol.
  bool idle() const { return idle_.load(); }
  bool holding() const { return hold_.load(); }
  bool requestPending() const { return requestPending_.load(); }
  void setParsing(bool on) { parsing_.store(on); }
  bool parsing() const { return parsing_.load(); }

  // The link: a failed transfer marks it lost until the panel is opened again. While
  // reads are suspended the acquisition thread's Read does nothing, so the interface
  // thread may close and reopen the port.
  bool linkLost() const { return linkLost_.load(); }
  std::uint32_t linkLosses() const { return linkLosses_.load(); }
  std::int64_t lastByteMs() const { return lastByteMs_.load(); }
  // Counts a loss the caller noticed itself (a silent panel).
  void markLinkLost() {
    if (!linkLost_.exchange(true)) ++linkLosses_;
  }
  void suspendReads();
  void resumeReads() { suspended_.store(false); }
  bool readsSuspended() const { return suspended_.load(); }
  // Read on the interface thread while the acquisition thread's reads are suspended.
  bool ReadWhileSuspended() { return readBytes(); }

  CUSBPort& usb() { return port_; }
  std::uint32_t receivePending() const;

 private:
  enum class Outcome { Good, Incomplete, CrcError, FrameError, Dropped, RingFull };
  bool readBytes();
  bool pingOnce();
  void noteTransfer();
  Outcome parseFrameAt(std::uint32_t start, std::uint32_t available, std::uint32_t& length);
  void logFrameStart(std::uint32_t start);
  std::uint32_t receivePendingFrom(std::uint32_t pos) const {
    return (writePos_.load(std::memory_order_acquire) - pos) & kRingMask;
  }
  bool writeAll(const std::uint8_t* bytes, std::uint32_t n);

  CUSBPort& port_;
  platform::Clock& clock_;
  FrameRing* frames_;
  std::uint16_t error_ = kNoError;

  std::atomic<bool> idle_{true};
  std::atomic<bool> requestPending_{true};
  std::atomic<bool> hold_{false};
  std::atomic<bool> parsing_{false};
  std::atomic<bool> suspended_{false};
  std::atomic<bool> inRead_{false};
  std::atomic<bool> linkLost_{false};
  std::atomic<std::uint32_t> linkLosses_{0};
  std::atomic<std::int64_t> lastByteMs_{0};

  std::uint32_t minFrameLength_ = 22;
  std::array<std::uint8_t, kMaxExpectedAddresses> expected_{};
  std::uint32_t expectedCount_ = 0;
  std::uint32_t frameDataBytes_ = 0;
  std::FILE* rawLog_ = nullptr;
  std::int64_t loggedStart_ = -1;

  std::uint32_t crcErrors_ = 0, frameErrors_ = 0, goodFrames_ = 0;
  std::atomic<std::uint32_t> parsePos_{0};
  std::atomic<std::uint32_t> writePos_{0};
  std::array<std::uint8_t, kRingSize> ring_{};
  std::array<std::uint8_t, kMaxReadChunk> chunk_{};
};

}  // namespace kvr
