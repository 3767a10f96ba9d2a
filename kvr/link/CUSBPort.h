#pragma once
// The thin layer over the USB bridge library: finds the panel among the attached devices
// by its product string, opens it at the panel's line rate with 200 ms time-outs, and
// offers byte-level transfers, the receive-queue count, flush and close.

#include <atomic>
#include <cstdint>
#include <string>

#include "usbxp/UsbXp.h"

namespace kvr {

class CUSBPort {
 public:
  static constexpr std::uint32_t kLineRate = 500000;
  static constexpr std::uint32_t kTimeoutMs = 200;
  static constexpr std::uint32_t kQueryFailed = 16777215;

  explicit CUSBPort(usbxp::Backend& library) : lib_(library) {}

  bool Open();
  bool Close();
  std::uint32_t Read(std::uint8_t* buffer, std::uint32_t n);
  std::uint32_t Write(const std::uint8_t* buffer, std::uint32_t n);
  bool ReadByte(std::uint8_t& byte);
  bool WriteByte(std::uint8_t byte);
  std::uint32_t BytesWaiting();
  bool Flush();
  void SetTimeouts(std::uint32_t readMs, std::uint32_t writeMs);
  bool IsOpen() const { return open_.load(); }
  bool Found() const { return found_.load(); }

  // The status of the last call on the device; non-zero after a failed transfer, such as
  // a device that went away.
  usbxp::Status lastStatus() const { return lastStatus_.load(); }
  std::string describe() const { return lib_.describe(); }

 private:
  usbxp::Status note(usbxp::Status s) {
    lastStatus_.store(s);
    return s;
  }

  usbxp::Backend& lib_;
  std::atomic<usbxp::Handle> handle_{usbxp::kNoHandle};
  std::atomic<bool> found_{false};
  std::atomic<bool> open_{false};
  std::atomic<usbxp::Status> lastStatus_{usbxp::kSuccess};
};

}  // namespace kvr
