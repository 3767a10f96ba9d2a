#include "usbxp/ScriptedBackend.h"

#include <algorithm>
#include <cstring>

namespace usbxp {

void ScriptedBackend::queue(const std::vector<std::uint8_t>& bytes) { queue(bytes.data(), bytes.size()); }

void ScriptedBackend::queue(const std::uint8_t* bytes, std::size_t n) {
  std::lock_guard lock(mutex_);
  incoming_.insert(incoming_.end(), bytes, bytes + n);
}

std::vector<std::uint8_t> ScriptedBackend::written() const {
  std::lock_guard lock(mutex_);
  return written_;
}

void ScriptedBackend::clearWritten() {
  std::lock_guard lock(mutex_);
  written_.clear();
}

Status ScriptedBackend::check(Handle handle) {
  ++calls_;
  if (handle == kNoHandle || handle != open_) return kInvalidHandle;
  return gone_ ? kDeviceGone : kSuccess;
}

Status ScriptedBackend::getNumDevices(std::uint32_t& count) {
  ++calls_;
  count = gone_ ? 0 : static_cast<std::uint32_t>(products_.size());
  return kSuccess;
}

Status ScriptedBackend::getProductString(std::uint32_t index, char* buffer, std::size_t size, int) {
  ++calls_;
  if (index >= products_.size() || size == 0) return kDeviceNotFound;
  const std::size_t n = std::min(products_[index].size(), size - 1);
  std::memcpy(buffer, products_[index].data(), n);
  buffer[n] = '\0';
  return kSuccess;
}

Status ScriptedBackend::open(std::uint32_t index, Handle& handle) {
  ++calls_;
  if (gone_ || index >= products_.size()) return kDeviceNotFound;
  handle = open_ = 7;
  openedIndex_ = index;
  return kSuccess;
}

Status ScriptedBackend::close(Handle handle) {
  if (Status s = check(handle); s == kInvalidHandle) return s;
  open_ = kNoHandle;
  return kSuccess;
}

Status ScriptedBackend::read(Handle handle, std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) {
  got = 0;
  if (Status s = check(handle)) return s;
  std::lock_guard lock(mutex_);
  got = static_cast<std::uint32_t>(std::min<std::size_t>(count, incoming_.size()));
  std::copy_n(incoming_.begin(), got, buffer);
  incoming_.erase(incoming_.begin(), incoming_.begin() + got);
  return kSuccess;
}

Status ScriptedBackend::write(Handle handle, const std::uint8_t* buffer, std::uint32_t count, std::uint32_t& written) {
  written = 0;
  if (Status s = check(handle)) return s;
  std::lock_guard lock(mutex_);
  written_.insert(written_.end(), buffer, buffer + count);
  written = count;
  // The four-byte sequences that ask for an answer.
  if (count == 4 && buffer[0] == 0x0A && buffer[1] == 0x01 && buffer[3] == 0x0B) {
    if (buffer[2] == 0x07 && pingAnswer_ >= 0) incoming_.push_back(static_cast<std::uint8_t>(pingAnswer_));
    if (buffer[2] == 0x18 && initAnswer_ >= 0) incoming_.push_back(static_cast<std::uint8_t>(initAnswer_));
  }
  return kSuccess;
}

Status ScriptedBackend::flushBuffers(Handle handle, int, int) { return check(handle); }

Status ScriptedBackend::setTimeouts(std::uint32_t, std::uint32_t) { return kSuccess; }

Status ScriptedBackend::checkRxQueue(Handle handle, std::uint32_t& bytesWaiting, std::uint32_t& queueStatus) {
  bytesWaiting = 0;
  queueStatus = kQueueNoOverrun;
  if (Status s = check(handle)) return s;
  if (failQuery_) {
    failQuery_ = false;
    return kReadError;
  }
  std::lock_guard lock(mutex_);
  bytesWaiting = static_cast<std::uint32_t>(incoming_.size());
  queueStatus = bytesWaiting ? kQueueReady : kQueueNoOverrun;
  return kSuccess;
}

Status ScriptedBackend::setBaudRate(Handle handle, std::uint32_t) { return check(handle); }

}  // namespace usbxp
