#include <gtest/gtest.h>

#include "kvr/core/MainMenu.h"

using kvr::MainMenu;
using C = kvr::MenuCommand;

TEST(MainMenu, OpensWithTheDocumentedEntriesGreyed) {
  MainMenu m;
  for (C c : {C::DefineToolString, C::SaveSession, C::EditPresentations, C::StartLogUp, C::StartLogDown, C::StopLogging,
              C::StopPlayback, C::StartTelemetry, C::StopTelemetry, C::Monitors}) {
    EXPECT_FALSE(m.enabled(c)) << kvr::menuText(c);
  }
  for (C c : {C::JobData, C::UnitSystem, C::StationLog, C::ChooseFile, C::KvrToAscii, C::Options}) {
    EXPECT_TRUE(m.enabled(c)) << kvr::menuText(c);
  }
}

TEST(MainMenu, SnapshotsPutTheMenuBackAsItWas) {
  MainMenu m;
  m.onJobDataConfirmed();
  EXPECT_TRUE(m.enabled(C::StartTelemetry));
  m.onTelemetryStarted();
  EXPECT_FALSE(m.enabled(C::StartTelemetry));
  EXPECT_TRUE(m.enabled(C::StopTelemetry));
  m.onLogStarted();
  EXPECT_TRUE(m.enabled(C::StopLogging));
  EXPECT_FALSE(m.enabled(C::MergeAndSplice));
  m.onLogStopped();
  EXPECT_TRUE(m.enabled(C::MergeAndSplice));
  EXPECT_FALSE(m.enabled(C::StopLogging));
  m.onTelemetryStopped();
  EXPECT_TRUE(m.enabled(C::StartTelemetry));
  EXPECT_FALSE(m.enabled(C::StopTelemetry));
  EXPECT_TRUE(m.enabled(C::DefineToolString));
}

TEST(MainMenu, EveryEntryHasItsText) {
  EXPECT_STREQ(kvr::menuText(C::MergeAndSplice), "&Merge and Splice KVR files");
  EXPECT_STREQ(kvr::menuText(C::SystemParameters), "&System Parameters");
  EXPECT_EQ(kvr::mainMenuTree().size(), 7u);
}
