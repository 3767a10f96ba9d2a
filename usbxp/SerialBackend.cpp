#include "usbxp/SerialBackend.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>

namespace usbxp {
namespace fs = std::filesystem;

namespace {

std::string firstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n' || line.back() == ' ')) line.pop_back();
  return line;
}

// The USB device of a tty is an ancestor of its sysfs "device" link that has a product file.
std::string productOf(const fs::path& ttyDir) {
  std::error_code ec;
  fs::path dir = fs::canonical(ttyDir / "device", ec);
  if (ec) return {};
  for (int up = 0; up < 5 && !dir.empty() && dir != dir.root_path(); ++up, dir = dir.parent_path()) {
    if (fs::exists(dir / "product", ec)) return firstLine(dir / "product");
  }
  return {};
}

unsigned deviceNumber(const std::string& name) {
  unsigned n = 0;
  for (char c : name)
    if (c >= '0' && c <= '9') n = n * 10 + static_cast<unsigned>(c - '0');
  return n;
}

std::int64_t nowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Waits for the descriptor to become ready; false on time-out. Sets gone on a hang-up.
bool waitFor(int fd, short events, std::int64_t deadline, bool& gone) {
  for (;;) {
    const std::int64_t left = deadline - nowMs();
    if (left <= 0) return false;
    pollfd p{fd, events, 0};
    const int r = ::poll(&p, 1, static_cast<int>(left));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    if (p.revents & events) return true;
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) {
      gone = true;
      return false;
    }
  }
}

}  // namespace

std::vector<SerialDevice> scanUsbSerialDevices(const SerialOptions& options) {
  std::vector<std::pair<unsigned, SerialDevice>> found;
  std::error_code ec;
  const fs::path ttys = options.sysfsRoot / "class" / "tty";
  for (fs::directory_iterator it(ttys, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind("ttyUSB", 0) != 0) continue;
    found.push_back({deviceNumber(name), SerialDevice{options.devRoot / name, productOf(it->path())}});
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<SerialDevice> out;
  for (auto& f : found) out.push_back(std::move(f.second));
  return out;
}

SerialBackend::SerialBackend(SerialOptions options) : options_(std::move(options)) {}

SerialBackend::~SerialBackend() {
  for (auto& [handle, fd] : open_) ::close(fd);
}

void SerialBackend::rescan() {
  std::vector<SerialDevice> list;
  if (!options_.explicitDevice.empty()) {
    std::error_code ec;
    if (fs::exists(options_.explicitDevice, ec)) list.push_back({options_.explicitDevice, kPanelProductString});
  } else {
    list = scanUsbSerialDevices(options_);
  }
  std::lock_guard lock(mutex_);
  devices_ = std::move(list);
}

Status SerialBackend::getNumDevices(std::uint32_t& count) {
  rescan();
  std::lock_guard lock(mutex_);
  count = static_cast<std::uint32_t>(devices_.size());
  return kSuccess;
}

Status SerialBackend::getProductString(std::uint32_t index, char* buffer, std::size_t size, int option) {
  std::lock_guard lock(mutex_);
  if (index >= devices_.size()) return kDeviceNotFound;
  if (buffer == nullptr || size == 0 || option != kProductDescription) return kInvalidParameter;
  const std::string& s = devices_[index].product;
  const std::size_t n = std::min(s.size(), size - 1);
  std::memcpy(buffer, s.data(), n);
  buffer[n] = '\0';
  return kSuccess;
}

Status SerialBackend::open(std::uint32_t index, Handle& handle) {
  fs::path node;
  {
    std::lock_guard lock(mutex_);
    if (index >= devices_.size()) return kDeviceNotFound;
    node = devices_[index].node;
  }
  const int fd = ::open(node.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return kDeviceNotFound;
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) {
    ::close(fd);
    return kDeviceNotFound;
  }
  ::cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
    ::close(fd);
    return kDeviceNotFound;
  }
  std::lock_guard lock(mutex_);
  handle = nextHandle_++;
  open_[handle] = fd;
  lastOpened_ = node.string();
  return kSuccess;
}

int SerialBackend::fdOf(Handle handle) const {
  std::lock_guard lock(mutex_);
  auto it = open_.find(handle);
  return it == open_.end() ? -1 : it->second;
}

Status SerialBackend::close(Handle handle) {
  std::lock_guard lock(mutex_);
  auto it = open_.find(handle);
  if (it == open_.end()) return kInvalidHandle;
  ::close(it->second);
  open_.erase(it);
  return kSuccess;
}

Status SerialBackend::read(Handle handle, std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) {
  got = 0;
  const int fd = fdOf(handle);
  if (fd < 0) return kInvalidHandle;
  const std::int64_t deadline = nowMs() + readTimeoutMs_;
  bool gone = false;
  while (got < count) {
    const ssize_t n = ::read(fd, buffer + got, count - got);
    if (n > 0) {
      got += static_cast<std::uint32_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return kDeviceGone;
    // Nothing there yet (or end of input on a hung-up line): wait within the time-out.
    if (!waitFor(fd, POLLIN, deadline, gone)) break;
  }
  if (gone && got == 0) return kDeviceGone;
  return kSuccess;  // a time-out with fewer bytes is not an error; the count says what came
}

Status SerialBackend::write(Handle handle, const std::uint8_t* buffer, std::uint32_t count, std::uint32_t& written) {
  written = 0;
  const int fd = fdOf(handle);
  if (fd < 0) return kInvalidHandle;
  const std::int64_t deadline = nowMs() + writeTimeoutMs_;
  bool gone = false;
  while (written < count) {
    const ssize_t n = ::write(fd, buffer + written, count - written);
    if (n > 0) {
      written += static_cast<std::uint32_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return kDeviceGone;
    if (!waitFor(fd, POLLOUT, deadline, gone)) return gone ? kDeviceGone : kWriteTimeout;
  }
  return kSuccess;
}

Status SerialBackend::flushBuffers(Handle handle, int flushTransmit, int flushReceive) {
  const int fd = fdOf(handle);
  if (fd < 0) return kInvalidHandle;
  const int which = flushTransmit && flushReceive ? TCIOFLUSH : flushTransmit ? TCOFLUSH : TCIFLUSH;
  if (!flushTransmit && !flushReceive) return kSuccess;
  return ::tcflush(fd, which) == 0 ? kSuccess : kDeviceGone;
}

Status SerialBackend::setTimeouts(std::uint32_t readMs, std::uint32_t writeMs) {
  readTimeoutMs_ = readMs;
  writeTimeoutMs_ = writeMs;
  return kSuccess;
}

Status SerialBackend::checkRxQueue(Handle handle, std::uint32_t& bytesWaiting, std::uint32_t& queueStatus) {
  bytesWaiting = 0;
  queueStatus = kQueueNoOverrun;
  const int fd = fdOf(handle);
  if (fd < 0) return kInvalidHandle;
  // A pulled cable or a closed pseudo-terminal shows as a hang-up, not as an empty queue.
  pollfd p{fd, POLLIN, 0};
  if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) && !(p.revents & POLLIN))
    return kDeviceGone;
  int n = 0;
  if (::ioctl(fd, FIONREAD, &n) != 0) return kDeviceGone;
  bytesWaiting = static_cast<std::uint32_t>(std::max(n, 0));
  queueStatus = bytesWaiting > 0 ? kQueueReady : kQueueNoOverrun;
  return kSuccess;
}

Status SerialBackend::setBaudRate(Handle handle, std::uint32_t baud) {
  const int fd = fdOf(handle);
  if (fd < 0) return kInvalidHandle;
  if (baud != 500000) return kInvalidParameter;  // the only rate the panel speaks
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) return kDeviceGone;
  ::cfsetispeed(&tio, B500000);
  ::cfsetospeed(&tio, B500000);
  return ::tcsetattr(fd, TCSANOW, &tio) == 0 ? kSuccess : kInvalidParameter;
}

void SerialBackend::cancelIo(Handle handle) {
  const int fd = fdOf(handle);
  if (fd >= 0) ::tcflush(fd, TCIOFLUSH);
}

std::string SerialBackend::describe() const {
  std::lock_guard lock(mutex_);
  if (!lastOpened_.empty()) return "Surface panel on " + lastOpened_;
  if (!options_.explicitDevice.empty()) return "Surface panel on " + options_.explicitDevice.string();
  return "Surface panel (USB)";
}

}  // namespace usbxp
