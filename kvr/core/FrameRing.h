#pragma once
// The frame ring: the checked payload of every telemetry frame (each tool's data bytes, then
// the 12-byte panel block), written by the panel parser and read by the frame dispatch.
// The parser fills bytes after the write position and then commits the whole frame by moving
// the write position; the dispatch moves the read position. Positions wrap at 32768.

#include <array>
#include <atomic>
#include <cstdint>
#include <span>

namespace kvr {

class FrameRing {
 public:
  static constexpr std::uint32_t kSize = 32768;
  static constexpr std::uint32_t kMask = kSize - 1;

  std::span<const std::uint8_t> bytes() const { return bytes_; }
  std::span<std::uint8_t> bytes() { return bytes_; }
  std::uint8_t at(std::uint32_t position) const { return bytes_[position & kMask]; }
  void put(std::uint32_t position, std::uint8_t b) { bytes_[position & kMask] = b; }

  std::uint32_t read() const { return read_.load(std::memory_order_acquire); }
  std::uint32_t write() const { return write_.load(std::memory_order_acquire); }
  void setRead(std::uint32_t p) { read_.store(p & kMask, std::memory_order_release); }
  void setWrite(std::uint32_t p) { write_.store(p & kMask, std::memory_order_release); }
  // Committed bytes not yet read.
  std::uint32_t pending() const { return (write() - read()) & kMask; }

  // Writer's shorthand: copies a whole frame after the write position and commits it.
  void append(std::span<const std::uint8_t> frame) {
    std::uint32_t w = write();
    for (auto b : frame) put(w++, b);
    setWrite(w);
  }
  void reset() {
    read_.store(0);
    write_.store(0);
  }

 private:
  std::array<std::uint8_t, kSize> bytes_{};
  std::atomic<std::uint32_t> read_{0};
  std::atomic<std::uint32_t> write_{0};
};

}  // namespace kvr
