#include <gtest/gtest.h>

#include "kvr/app/CIntroDLG.h"
#include "kvr/app/MainMenu.h"
#include "platform/testing/ManualLoop.h"

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

TEST(Splash, ClosesItselfAfterTwoSeconds) {
  platform::testing::ManualLoop loop;
  bool closed = false;
  kvr::CIntroDLG splash(loop, [&] { closed = true; });
  splash.open();
  loop.advance(1999);
  EXPECT_FALSE(closed);
  loop.advance(1);
  EXPECT_TRUE(closed);
  EXPECT_FALSE(loop.timerActive(&splash, kvr::CIntroDLG::kCloseTimer));
  EXPECT_EQ(kvr::CIntroDLG::versionLine("2.5.2"), "Version: 2.5.2");
}
