// The serial backend: the panel found through sysfs by its product string, and the whole link
// through a real pseudo-terminal served by the panelsim program. Real time here, but every
// wait is on data with poll() and a bounded time-out.

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

#include "kvr/link/tests/SimLink.h"
#include "platform/SystemClock.h"
#include "usbxp/SerialBackend.h"

extern char** environ;

namespace {
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
void fakeSysfs(const fs::path& root, const fs::path& panelNode) {
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

TEST(SerialBackend, FindsThePanelByItsUsbProductString) {
  TempDir dir;
  fakeSysfs(dir.path, "/dev/null");
  usbxp::SerialOptions options;
  options.sysfsRoot = dir.path / "sys";
  options.devRoot = dir.path / "dev";
  const auto devices = usbxp::scanUsbSerialDevices(options);
  ASSERT_EQ(devices.size(), 2u);
  EXPECT_EQ(devices[0].product, "CP2102 USB to UART Bridge Controller");
  EXPECT_EQ(devices[1].product, "1401");
  EXPECT_EQ(devices[1].node, dir.path / "dev/ttyUSB1");

  usbxp::SerialBackend none(usbxp::SerialOptions{dir.path / "nothing", dir.path / "dev", {}});
  std::uint32_t count = 7;
  EXPECT_EQ(none.getNumDevices(count), usbxp::kSuccess);
  EXPECT_EQ(count, 0u);
}

TEST(SerialBackend, TheWholeLinkRunsThroughAPseudoTerminal) {
  Panelsim sim({"--tools", "BRIX,DUNE", "--units", "metric", "--start-depth", "500", "--seed", "3"});
  const std::string first = sim.line();
  ASSERT_EQ(first.rfind("pty: ", 0), 0u) << first;
  const fs::path pty = first.substr(5);

  // The panel's tty is found through the (fake) sysfs as the second USB serial device.
  TempDir dir;
  fakeSysfs(dir.path, pty);
  usbxp::SerialOptions options;
  options.sysfsRoot = dir.path / "sys";
  options.devRoot = dir.path / "dev";
  usbxp::SerialBackend serial(options);
  platform::SystemClock clock;
  platform::testing::ManualLoop loop;  // timers only; time is the real clock's
  platform::testing::ScriptedPrompter prompter;
  kvr::testing::DeclaredString string({210, 230});
  kvr::CUSBPort usb(serial);
  kvr::FrameRing frames;
  kvr::PPort port(usb, clock, frames);
  kvr::AcquisitionFlags flags;
  kvr::TeleManager tele(port, string, flags, prompter, clock, loop);

  ASSERT_TRUE(tele.StartTelemetry()) << ::testing::PrintToString(prompter.texts());
  EXPECT_EQ(tele.discoveredAddresses(), (std::vector<std::uint8_t>{210, 211, 230}));
  EXPECT_EQ(tele.statusText(), "Telemetry on: Surface panel on " + (dir.path / "dev/ttyUSB1").string());
  EXPECT_EQ(sim.line(), "downhole: 03 FE 01 00");
  EXPECT_EQ(sim.line(), "downhole: 03 FE 02 00");

  // Read and parse until 20 good frames came, within a few seconds.
  kvr::AcquisitionCycle cycle(port, flags, clock);
  const auto deadline = clock.nowMs() + 5000;
  std::vector<std::vector<std::uint8_t>> committed;
  while (port.goodFrames() < 20 && clock.nowMs() < deadline) {
    if (cycle.poll()) port.Parse();
    while (frames.pending() >= 23) {
      std::vector<std::uint8_t> f(23);
      for (std::uint32_t i = 0; i < 23; ++i) f[i] = frames.at(frames.read() + i);
      frames.setRead(frames.read() + 23);
      committed.push_back(f);
    }
  }
  EXPECT_GE(port.goodFrames(), 20u);
  EXPECT_EQ(port.crcErrors() + port.frameErrors(), 0u);
  ASSERT_FALSE(committed.empty());
  // Metric panel block: 500 m and the English bit clear.
  const auto& f = committed.front();
  const int depth = static_cast<std::int16_t>(f[11] << 8 | f[12]);
  EXPECT_NEAR(depth, 500, 2);
  EXPECT_EQ(f[11 + 10] & 0x20, 0);

  const std::uint8_t message[] = {4, 230, 0x07, 0x12, 0x34};
  EXPECT_TRUE(tele.SendDownholeMessage(message, sizeof message));
  EXPECT_EQ(sim.line(), "downhole: 04 E6 07 12 34");
  EXPECT_TRUE(tele.StopTelemetry());
  EXPECT_EQ(sim.stop(), 0) << "ends cleanly on SIGTERM";
}

TEST(Panelsim, HelpDocumentsTheStringTheWellAndEveryFault) {
  Panelsim sim({"--help"});
  const std::string text = sim.rest();
  for (const char* word : {"--tools", "--latitude", "--inclination", "--azimuth", "--toolface", "no-ping",
                           "init-error", "drop-bytes", "corrupt-bytes", "bad-downhole-crc", "bad-panel-crc",
                           "cut-frames", "stall", "disconnect"})
    EXPECT_NE(text.find(word), std::string::npos) << word;
}

}  // namespace
