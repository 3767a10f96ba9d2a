#include "kvr/link/CUSBPort.h"

#include <cstring>

namespace kvr {

bool CUSBPort::Open() {
  found_ = false;
  std::uint32_t count = 0;
  if (note(lib_.getNumDevices(count)) != usbxp::kSuccess || count == 0) return false;
  std::uint32_t panel = count;
  for (std::uint32_t i = 0; i < count; ++i) {
    char name[256] = {};
    if (lib_.getProductString(i, name, sizeof name, usbxp::kProductDescription) != usbxp::kSuccess) continue;
    if (std::strcmp(name, usbxp::kPanelProductString) == 0) {
      panel = i;
      break;
    }
  }
  if (panel == count) return false;
  usbxp::Handle h = usbxp::kNoHandle;
  if (note(lib_.open(panel, h)) != usbxp::kSuccess) return false;
  handle_ = h;
  lib_.setBaudRate(h, kLineRate);
  found_ = true;
  open_ = true;
  SetTimeouts(kTimeoutMs, kTimeoutMs);
  return true;
}

bool CUSBPort::Close() {
  if (!open_) return false;
  lib_.close(handle_);
  handle_ = usbxp::kNoHandle;
  open_ = false;
  return true;
}

std::uint32_t CUSBPort::Read(std::uint8_t* buffer, std::uint32_t n) {
  std::uint32_t got = 0;
  const usbxp::Status s = note(lib_.read(handle_, buffer, n, got));
  if (s == usbxp::kIoPending) lib_.cancelIo(handle_);
  return s == usbxp::kSuccess ? got : 0;
}

std::uint32_t CUSBPort::Write(const std::uint8_t* buffer, std::uint32_t n) {
  std::uint32_t written = 0;
  const usbxp::Status s = note(lib_.write(handle_, buffer, n, written));
  if (s == usbxp::kIoPending) lib_.cancelIo(handle_);
  return s == usbxp::kSuccess ? written : 0;
}

bool CUSBPort::ReadByte(std::uint8_t& byte) { return Read(&byte, 1) == 1; }

bool CUSBPort::WriteByte(std::uint8_t byte) { return Write(&byte, 1) == 1; }

std::uint32_t CUSBPort::BytesWaiting() {
  std::uint32_t bytes = 0, status = 0;
  if (note(lib_.checkRxQueue(handle_, bytes, status)) != usbxp::kSuccess) return kQueryFailed;
  if (status != usbxp::kQueueNoOverrun && status != usbxp::kQueueReady) return 0;
  return bytes;
}

bool CUSBPort::Flush() { return note(lib_.flushBuffers(handle_, 1, 1)) == usbxp::kSuccess; }

void CUSBPort::SetTimeouts(std::uint32_t readMs, std::uint32_t writeMs) { lib_.setTimeouts(readMs, writeMs); }

}  // namespace kvr
