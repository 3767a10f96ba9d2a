#pragma once
// Test helpers for the serial road: a temporary folder, a fake sysfs with the panel's USB
// adapter, and the panelsim program on a pseudo-terminal (PANELSIM_PROGRAM names it).

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace usbxp::testing {
namespace fs = std::filesystem;

struct TempDir {
  TempDir() {
    path = fs::temp_directory_path() / ("varexa-serial-" + std::to_string(::getpid()));
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~TempDir() { fs::remove_all(path); }
  fs::path path;
};

// A sysfs tree with two USB serial adapters: ttyUSB0 another chip, ttyUSB1 the panel.
inline void fakeSysfs(const fs::path& root, const fs::path& panelNode) {
  const auto add = [&](const std::string& tty, const std::string& usbDevice, const std::string& product) {
    const fs::path device = root / "sys/devices/pci0/usb1" / usbDevice;
    const fs::path iface = device / (usbDevice + ":1.0") / tty;
    fs::create_directories(iface);
    std::ofstream(device / "product") << product << "\n";
    fs::create_directories(root / "sys/class/tty" / tty);
    fs::create_directory_symlink(iface, root / "sys/class/tty" / tty / "device");
  };
  add("ttyUSB0", "1-1", "CP2102 USB to UART Bridge Controller");
  add("ttyUSB1", "1-2", "1401");
  add("ttyS0", "1-3", "1401");  // not a USB serial node: never listed
  fs::create_directories(root / "dev");
  fs::create_symlink(panelNode, root / "dev/ttyUSB1");
}

// The panelsim program with a pipe on its standard output.
class Panelsim {
 public:
  explicit Panelsim(std::vector<std::string> args) {
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    args.insert(args.begin(), PANELSIM_PROGRAM);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    EXPECT_EQ(::posix_spawn(&pid_, PANELSIM_PROGRAM, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    out_ = fds[0];
  }
  ~Panelsim() {
    if (pid_ > 0) stop();
    ::close(out_);
  }
  // The next line of output, waiting at most timeoutMs.
  std::string line(int timeoutMs = 3000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      if (auto nl = buffer_.find('\n'); nl != std::string::npos) {
        std::string l = buffer_.substr(0, nl);
        buffer_.erase(0, nl + 1);
        return l;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      if (left.count() <= 0) return {};
      pollfd p{out_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return {};
      char buf[256];
      const ssize_t n = ::read(out_, buf, sizeof buf);
      if (n <= 0) return {};
      buffer_.append(buf, static_cast<std::size_t>(n));
    }
  }
  // Everything up to the end of its output, waiting at most timeoutMs in all.
  std::string rest(int timeoutMs = 3000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      pollfd p{out_, POLLIN, 0};
      if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
      char buf[4096];
      const ssize_t n = ::read(out_, buf, sizeof buf);
      if (n <= 0) break;
      buffer_.append(buf, static_cast<std::size_t>(n));
    }
    return std::exchange(buffer_, {});
  }
  // Ends the program with SIGTERM; its exit status.
  int stop() {
    ::kill(pid_, SIGTERM);
    int status = -1;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string buffer_;
};

}  // namespace usbxp::testing
