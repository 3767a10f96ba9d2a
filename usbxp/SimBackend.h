#pragma once
// An in-process wire to the simulated surface panel: the panel is listed as a device with
// the panel's product string while it is present, and transfers go straight to it. Waits
// (read time-outs) are waits on the clock the panel runs on.

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "panelsim/PanelSimulator.h"
#include "platform/Clock.h"
#include "usbxp/UsbXp.h"

namespace usbxp {

class SimBackend final : public Backend {
 public:
  // otherDevices: product strings of devices listed before the panel (other bridge chips).
  SimBackend(panelsim::PanelSimulator& panel, platform::Clock& clock, std::vector<std::string> otherDevices = {});

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

  // What the host asked of the library, for tests.
  std::uint32_t baudRate() const { return baud_; }
  std::uint32_t readTimeout() const { return readTimeoutMs_; }
  std::uint32_t writeTimeout() const { return writeTimeoutMs_; }
  std::uint32_t opens() const { return opens_; }
  std::uint32_t openedIndex() const { return openedIndex_; }

 private:
  std::vector<std::string> listed();
  // Checks the handle and that the panel did not go away since it was opened.
  Status usable(Handle handle);

  panelsim::PanelSimulator& panel_;
  platform::Clock& clock_;
  std::vector<std::string> others_;
  std::mutex mutex_;
  Handle openHandle_ = kNoHandle;
  std::uint32_t openConnection_ = 0;
  Handle nextHandle_ = 1;
  std::atomic<std::uint32_t> baud_{0};
  std::atomic<std::uint32_t> readTimeoutMs_{200}, writeTimeoutMs_{200};
  std::uint32_t opens_ = 0;
  std::uint32_t openedIndex_ = 0;
};

}  // namespace usbxp
