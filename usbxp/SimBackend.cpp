#include "usbxp/SimBackend.h"

#include <algorithm>
#include <cstring>

namespace usbxp {

SimBackend::SimBackend(panelsim::PanelSimulator& panel, platform::Clock& clock, std::vector<std::string> otherDevices)
    : panel_(panel), clock_(clock), others_(std::move(otherDevices)) {}

std::vector<std::string> SimBackend::listed() {
  std::vector<std::string> list = others_;
  if (panel_.present()) list.push_back(kPanelProductString);
  return list;
}

Status SimBackend::getNumDevices(std::uint32_t& count) {
  count = static_cast<std::uint32_t>(listed().size());
  return kSuccess;
}

Status SimBackend::getProductString(std::uint32_t index, char* buffer, std::size_t size, int option) {
  const auto list = listed();
  if (index >= list.size()) return kDeviceNotFound;
  if (buffer == nullptr || size == 0 || option != kProductDescription) return kInvalidParameter;
  const std::size_t n = std::min(list[index].size(), size - 1);
  std::memcpy(buffer, list[index].data(), n);
  buffer[n] = '\0';
  return kSuccess;
}

Status SimBackend::open(std::uint32_t index, Handle& handle) {
  const auto list = listed();
  // Only the panel answers on the wire; the other devices cannot be opened here.
  if (index >= list.size() || index < others_.size()) return kDeviceNotFound;
  std::lock_guard lock(mutex_);
  handle = openHandle_ = nextHandle_++;
  openConnection_ = panel_.connection();
  openedIndex_ = index;
  ++opens_;
  return kSuccess;
}

Status SimBackend::usable(Handle handle) {
  std::lock_guard lock(mutex_);
  if (handle == kNoHandle || handle != openHandle_) return kInvalidHandle;
  if (!panel_.present() || panel_.connection() != openConnection_) return kDeviceGone;
  return kSuccess;
}

Status SimBackend::close(Handle handle) {
  std::lock_guard lock(mutex_);
  if (handle == kNoHandle || handle != openHandle_) return kInvalidHandle;
  openHandle_ = kNoHandle;
  return kSuccess;
}

Status SimBackend::read(Handle handle, std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) {
  got = 0;
  if (Status s = usable(handle)) return s;
  const std::int64_t deadline = clock_.nowMs() + readTimeoutMs_;
  for (;;) {
    got += static_cast<std::uint32_t>(panel_.hostRead(buffer + got, count - got));
    if (got == count || clock_.nowMs() >= deadline) break;
    if (Status s = usable(handle)) return got ? kSuccess : s;
    clock_.sleepMs(1);
  }
  return kSuccess;
}

Status SimBackend::write(Handle handle, const std::uint8_t* buffer, std::uint32_t count, std::uint32_t& written) {
  written = 0;
  if (Status s = usable(handle)) return s;
  panel_.hostWrite(buffer, count);
  written = count;
  return kSuccess;
}

Status SimBackend::flushBuffers(Handle handle, int, int flushReceive) {
  if (Status s = usable(handle)) return s;
  if (flushReceive) panel_.hostFlush();
  return kSuccess;
}

Status SimBackend::setTimeouts(std::uint32_t readMs, std::uint32_t writeMs) {
  readTimeoutMs_ = readMs;
  writeTimeoutMs_ = writeMs;
  return kSuccess;
}

Status SimBackend::checkRxQueue(Handle handle, std::uint32_t& bytesWaiting, std::uint32_t& queueStatus) {
  bytesWaiting = 0;
  queueStatus = kQueueNoOverrun;
  if (Status s = usable(handle)) return s;
  bytesWaiting = static_cast<std::uint32_t>(panel_.hostAvailable());
  queueStatus = bytesWaiting ? kQueueReady : kQueueNoOverrun;
  return kSuccess;
}

Status SimBackend::setBaudRate(Handle handle, std::uint32_t baud) {
  if (Status s = usable(handle)) return s;
  baud_ = baud;
  return kSuccess;
}

void SimBackend::cancelIo(Handle) {}

std::string SimBackend::describe() const { return "Simulated surface panel"; }

}  // namespace usbxp
