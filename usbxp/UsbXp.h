#pragma once
// The operations of the USB bridge's vendor library, as one interface with two backends:
// the bridge chip as the operating system shows it (SerialBackend) and an in-process wire
// to the simulated panel (SimBackend). Every call returns a status; 0 is success.

#include <cstddef>
#include <cstdint>
#include <string>

namespace usbxp {

using Status = int;
using Handle = std::int32_t;

inline constexpr Handle kNoHandle = -1;

// Statuses of this library. Callers rely on kSuccess and kIoPending only; the others say
// what went wrong for traces and tests.
enum : Status {
  kSuccess = 0,
  kInvalidHandle = 1,
  kReadError = 2,
  kWriteError = 3,
  kDeviceNotFound = 4,
  kInvalidParameter = 5,
  kReadTimeout = 6,
  kWriteTimeout = 7,
  kDeviceGone = 8,
  kIoPending = 15,  // a transfer is still pending: the caller cancels its input and output
};

// Receive-queue states reported with the byte count.
enum : std::uint32_t {
  kQueueNoOverrun = 0,
  kQueueOverrun = 1,
  kQueueReady = 2,
};

// Product-string option: the product description of the device.
inline constexpr int kProductDescription = 0;

class Backend {
 public:
  virtual ~Backend() = default;
  virtual Status getNumDevices(std::uint32_t& count) = 0;
  // Copies the NUL-terminated device string of device `index` into buffer (at most size bytes).
  virtual Status getProductString(std::uint32_t index, char* buffer, std::size_t size, int option) = 0;
  virtual Status open(std::uint32_t index, Handle& handle) = 0;
  virtual Status close(Handle handle) = 0;
  // Reads up to count bytes, waiting at most the read time-out for them.
  virtual Status read(Handle handle, std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) = 0;
  virtual Status write(Handle handle, const std::uint8_t* buffer, std::uint32_t count, std::uint32_t& written) = 0;
  virtual Status flushBuffers(Handle handle, int flushTransmit, int flushReceive) = 0;
  virtual Status setTimeouts(std::uint32_t readMs, std::uint32_t writeMs) = 0;
  virtual Status checkRxQueue(Handle handle, std::uint32_t& bytesWaiting, std::uint32_t& queueStatus) = 0;
  virtual Status setBaudRate(Handle handle, std::uint32_t baud) = 0;
  // Drops pending transfers on the handle (after a kIoPending status).
  virtual void cancelIo(Handle handle) = 0;
  // What the status line says about the link ("Simulated surface panel", "/dev/ttyUSB0").
  virtual std::string describe() const = 0;
};

}  // namespace usbxp

namespace usbxp {
// The device string the surface panel's bridge chip reports.
inline constexpr const char* kPanelProductString = "1401";
}  // namespace usbxp
