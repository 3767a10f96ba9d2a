// The whole link through a real pseudo-terminal served by the panelsim program, found as the
// panel's USB serial device. Real time here, but every wait is on data with poll() and a
// bounded time-out.

#include <gtest/gtest.h>

#include "kvr/link/tests/SimLink.h"
#include "platform/SystemClock.h"
#include "usbxp/SerialBackend.h"
#include "usbxp/tests/PanelsimProcess.h"

namespace {
using namespace usbxp::testing;

TEST(SerialLink, TheWholeLinkRunsThroughAPseudoTerminal) {
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

}  // namespace
