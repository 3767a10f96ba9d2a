#pragma once
// A backend for tests, harnesses and benchmarks: one device whose incoming bytes the caller
// queues and whose outgoing bytes are recorded. It never waits: a read takes what is queued.

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "usbxp/UsbXp.h"

namespace usbxp {

class ScriptedBackend final : public Backend {
 public:
  explicit ScriptedBackend(std::vector<std::string> products = {kPanelProductString}) : products_(std::move(products)) {}

  // Bytes the device will deliver, in order.
  void queue(const std::vector<std::uint8_t>& bytes);
  void queue(const std::uint8_t* bytes, std::size_t n);
  // Answers written bytes: after a ping sequence the answer byte, after initialise its answer.
  void answerPing(std::uint8_t answer) { pingAnswer_ = answer; }
  void answerInitialise(std::uint8_t answer) { initAnswer_ = answer; }
  // Makes every call on the open handle fail, as a device that went away.
  void setGone(bool gone) { gone_ = gone; }
  void failNextQueueQuery() { failQuery_ = true; }

  std::vector<std::uint8_t> written() const;
  void clearWritten();
  std::uint32_t calls() const { return calls_; }
  std::uint32_t openedIndex() const { return openedIndex_; }

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
  void cancelIo(Handle) override {}
  std::string describe() const override { return "Scripted panel"; }

 private:
  Status check(Handle handle);
  mutable std::mutex mutex_;
  std::vector<std::string> products_;
  std::deque<std::uint8_t> incoming_;
  std::vector<std::uint8_t> written_;
  std::vector<std::uint8_t> lastCommand_;
  int pingAnswer_ = 0xEE, initAnswer_ = 0x18;
  bool gone_ = false, failQuery_ = false;
  Handle open_ = kNoHandle;
  std::uint32_t calls_ = 0;
  std::uint32_t openedIndex_ = 0;
};

}  // namespace usbxp
