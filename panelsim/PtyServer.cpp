#include "panelsim/PtyServer.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace panelsim {

PtyServer::PtyServer(PanelSimulator& panel, std::filesystem::path link) : panel_(panel), link_(std::move(link)) {}

PtyServer::~PtyServer() {
  closePty();
  if (!link_.empty()) {
    std::error_code ec;
    std::filesystem::remove(link_, ec);
  }
}

void PtyServer::closePty() {
  if (master_ >= 0) ::close(master_);
  if (slave_ >= 0) ::close(slave_);
  master_ = slave_ = -1;
}

std::string PtyServer::open() {
  closePty();
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return "error: no pseudo-terminal";
  const char* name = ::ptsname(master_);
  if (name == nullptr) return "error: no pseudo-terminal name";
  path_ = name;
  slave_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY);
  if (slave_ < 0) return "error: cannot open " + path_;
  termios tio{};
  ::tcgetattr(slave_, &tio);
  ::cfmakeraw(&tio);
  ::tcsetattr(slave_, TCSANOW, &tio);
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  if (!link_.empty()) {
    std::error_code ec;
    std::filesystem::remove(link_, ec);
    std::filesystem::create_symlink(path_, link_, ec);
  }
  return path_;
}

void PtyServer::run(const std::atomic<bool>& stop, const std::function<void(const std::string&)>& onNewPath) {
  std::vector<std::uint8_t> pending;
  std::uint8_t buf[4096];
  while (!stop.load()) {
    if (!panel_.present()) {
      // The panel went away: the host sees its line hang up.
      if (master_ >= 0) closePty(), pending.clear();
      ::usleep(10000);
      continue;
    }
    if (master_ < 0) {
      const std::string p = open();
      if (onNewPath) onNewPath(p);
    }
    pollfd p{master_, static_cast<short>(POLLIN | (pending.empty() ? 0 : POLLOUT)), 0};
    ::poll(&p, 1, 5);
    if (p.revents & POLLIN) {
      const ssize_t n = ::read(master_, buf, sizeof buf);
      if (n > 0) panel_.hostWrite(buf, static_cast<std::size_t>(n));
    }
    const std::size_t n = panel_.hostRead(buf, sizeof buf);
    pending.insert(pending.end(), buf, buf + n);
    if (!pending.empty()) {
      const ssize_t w = ::write(master_, pending.data(), pending.size());
      if (w > 0) pending.erase(pending.begin(), pending.begin() + w);
    }
  }
}

}  // namespace panelsim
