#include <gtest/gtest.h>

#include "platform/testing/TempPaths.h"

TEST(Paths, WindowsLocationsLandUnderTheDataRoot) {
  platform::testing::TempPaths paths;
  auto root = paths.dataRoot();
  EXPECT_EQ(paths.fromWindows("C:\\"), root);
  EXPECT_EQ(paths.fromWindows("C:\\datalog.txt"), paths.telemetryLogFile());
  EXPECT_EQ(paths.fromWindows("C:\\KVRFolder"), paths.kvrFolder());
  EXPECT_EQ(paths.fromWindows("c:\\KVRFolder\\Ann\\\\x.kvr"), root / "KVRFolder" / "Ann" / "x.kvr");
  EXPECT_EQ(paths.fromWindows("Clients\\Acme\\"), root / "Clients" / "Acme");
}
