// Choosing the panel link at start-up: the command line before the setting, and the
// simulator whenever no panel is attached.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "kvr/link/PanelLink.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/MemorySettings.h"

namespace kvr {
namespace {
namespace fs = std::filesystem;
using Kind = PanelLinkChoice::Kind;

TEST(PanelLink, TheCommandLineWinsOverTheSetting) {
  platform::testing::MemorySettings settings;
  EXPECT_EQ(panelLinkChoice(settings, {}).kind, Kind::Auto);
  settings.setString(kPanelLinkSection, kPanelLinkValue, "sim");
  EXPECT_EQ(panelLinkChoice(settings, {}).kind, Kind::Simulator);
  EXPECT_EQ(panelLinkChoice(settings, {"--panel=serial"}).kind, Kind::Serial);
  const auto device = panelLinkChoice(settings, {"kvr", "--panel", "/dev/pts/7"});
  EXPECT_EQ(device.kind, Kind::Serial);
  EXPECT_EQ(device.device, "/dev/pts/7");
  EXPECT_EQ(panelLinkChoice(settings, {"--panel=bogus"}).kind, Kind::Simulator) << "an unreadable option is ignored";
  settings.setString(kPanelLinkSection, kPanelLinkValue, "bogus");
  EXPECT_EQ(panelLinkChoice(settings, {}).kind, Kind::Auto);
}

TEST(PanelLink, AutoTakesAnAttachedPanelAndTheSimulatorOtherwise) {
  platform::testing::ManualLoop loop;
  const fs::path root = fs::temp_directory_path() / ("varexa-link-" + std::to_string(::getpid()));
  fs::remove_all(root);
  usbxp::SerialOptions options{root / "sys", root / "dev", {}};

  PanelLink none = openPanelLink({}, loop.clock(), options);
  EXPECT_TRUE(none.simulated);
  EXPECT_EQ(none.statusText, kSimulatedPanelStatus);
  ASSERT_TRUE(none.simulator);
  records::ToolEntry dune;
  dune.toolCode = 230;
  dune.setKind(1);
  mirrorDeclaredString(none, {dune}, false);
  EXPECT_EQ(none.simulator->config().toolCodes, (std::vector<std::uint8_t>{230}));
  EXPECT_FALSE(none.simulator->config().winch.english);

  const fs::path device = root / "sys/devices/usb1/1-1";
  fs::create_directories(device / "1-1:1.0/ttyUSB0");
  std::ofstream(device / "product") << "1401\n";
  fs::create_directories(root / "sys/class/tty/ttyUSB0");
  fs::create_directory_symlink(device / "1-1:1.0/ttyUSB0", root / "sys/class/tty/ttyUSB0/device");
  PanelLink panel = openPanelLink({}, loop.clock(), options);
  EXPECT_FALSE(panel.simulated);
  EXPECT_FALSE(panel.simulator);

  PanelLink chosen = openPanelLink({Kind::Simulator, {}}, loop.clock(), options);
  EXPECT_TRUE(chosen.simulated);
  EXPECT_EQ(chosen.statusText, kChosenSimulatorStatus);
  fs::remove_all(root);
}

}  // namespace
}  // namespace kvr
