// The serial backend: the panel found through sysfs by its product string; the panelsim program.

#include <gtest/gtest.h>

#include "usbxp/SerialBackend.h"
#include "usbxp/tests/PanelsimProcess.h"

namespace {
using namespace usbxp::testing;

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

TEST(Panelsim, HelpDocumentsTheStringTheWellAndEveryFault) {
  Panelsim sim({"--help"});
  const std::string text = sim.rest();
  for (const char* word : {"--tools", "--latitude", "--inclination", "--azimuth", "--toolface", "no-ping",
                           "init-error", "drop-bytes", "corrupt-bytes", "bad-downhole-crc", "bad-panel-crc",
                           "cut-frames", "stall", "disconnect"})
    EXPECT_NE(text.find(word), std::string::npos) << word;
}

}  // namespace
