#pragma once
// The bridge chip as Linux shows it: a tty (/dev/ttyUSB*) whose USB device carries the
// product string, opened raw at the line rate the panel uses. Time-outs are waits with
// poll(); the receive-queue count comes from FIONREAD and flushing from tcflush.

#include <atomic>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "usbxp/UsbXp.h"

namespace usbxp {

struct SerialOptions {
  // Where the kernel lists the ttys and their USB devices, and where the device nodes live;
  // tests point these at a fake tree.
  std::filesystem::path sysfsRoot = "/sys";
  std::filesystem::path devRoot = "/dev";
  // A device named by the user (a pseudo-terminal, a symlink to the current tty): the only
  // device listed, reported with the panel's product string.
  std::filesystem::path explicitDevice;
};

struct SerialDevice {
  std::filesystem::path node;  // the device node to open
  std::string product;         // USB product string
};

// The ttyUSB devices under the sysfs root with the product strings of their USB devices,
// in device-number order.
std::vector<SerialDevice> scanUsbSerialDevices(const SerialOptions& options);

class SerialBackend final : public Backend {
 public:
  explicit SerialBackend(SerialOptions options = {});
  ~SerialBackend() override;
  SerialBackend(const SerialBackend&) = delete;
  SerialBackend& operator=(const SerialBackend&) = delete;

  Status getNumDevices(std::uint32_t& count) override;
  Status getProductString(std::uint32_t index, char* buffer, std::size_t size, int option) override;
  Status open(std::uint32_t index, Handle& handle) override;
  Status close(Handle handle) override;
  Status read(Handle handle, std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) override;
  Status write(Handle handle, const std::uint8_t* buffer, std::uint32_t count, std::uint32_t& written) override;
  Status flushBuffers(Handle handle, int flushTransmit, int flushReceive) override;
  Status setTimeouts(std::uint32_t readMs, std::uint32_t writeMs) override;
  Status checkRxQueue(Handle handle, std::uint32_t& bytesWaiting, std::uint32_t& queueStatus) override;
  Status setBaudRate(Handle handle, std::uint32_t baud) override;
  void cancelIo(Handle handle) override;
  std::string describe() const override;

 private:
  int fdOf(Handle handle) const;
  void rescan();

  SerialOptions options_;
  mutable std::mutex mutex_;  // guards the tables below; transfers run outside it
  std::vector<SerialDevice> devices_;
  std::map<Handle, int> open_;  // handle -> file descriptor
  Handle nextHandle_ = 1;
  std::atomic<std::uint32_t> readTimeoutMs_{200};
  std::atomic<std::uint32_t> writeTimeoutMs_{200};
  std::string lastOpened_;
};

}  // namespace usbxp
