#include "kvr/core/MainMenu.h"

namespace kvr {

using C = MenuCommand;

const std::vector<TopMenu>& mainMenuTree() {
  static const std::vector<TopMenu> tree{
      {"&Job",
       {{C::JobData, "&Job Data", nullptr, false},
        {C::UnitSystem, "Unit System", nullptr, false},
        {C::DefineToolString, "&Define ToolString", nullptr, false},
        {C::SaveSession, "&Save Session", nullptr, false},
        {C::LoadPreviousSession, "&Load Previous Session", nullptr, false}}},
      {"&Presentation", {{C::EditPresentations, "&Edit Presentations", nullptr, false}}},
      {"P&arameters",
       {{C::SystemParameters, "&System Parameters", "&Proccessing", false},
        {C::ToolParameters, "&Tool Parameters", nullptr, false},
        {C::Calibrations, "&Calibrations", nullptr, false},
        {C::LoadParameters, "&Load Parameters", nullptr, true},
        {C::CreateReportList, "Create &Report List", nullptr, false}}},
      {"&Logging",
       {{C::StartLogUp, "Start Log &UP", nullptr, false},
        {C::StartLogDown, "Start Log &DOWN", nullptr, false},
        {C::StationLog, "S&tation Log", nullptr, false},
        {C::StopLogging, "&Stop Logging", nullptr, false}}},
      {"P&layback",
       {{C::ChooseFile, "&Choose a File", nullptr, false},
        {C::StartPlayback, "&Start Playback", nullptr, false},
        {C::StopPlayback, "S&top Playback", nullptr, false},
        {C::PlaybackOptions, "Playback &Options", nullptr, false}}},
      {"&Utilities",
       {{C::KvrToAscii, "KVR to &ASCII", nullptr, false},
        {C::MergeAndSplice, "&Merge and Splice KVR files", nullptr, false},
        {C::CrossPlot, "&Cross Plot Generator", nullptr, false},
        {C::ProgramFolder, "&Program Folder", "KVR &Settings", false},
        {C::SystemUnits, "System &Units", "KVR &Settings", false},
        {C::Options, "&Options", "KVR &Settings", false}}},
      {"&Telemetry",
       {{C::StartTelemetry, "&Start Telemetry", nullptr, false},
        {C::StopTelemetry, "S&top Telemetry", nullptr, false},
        {C::Monitors, "&Monitors", nullptr, false},
        // Greyed until a string with a TARN-C tool is confirmed.
        {C::TarnCLowLevelCommands, "TARN-C &Low Level Commands", nullptr, true},
        // Greyed until a string with a VUNT memory gauge is confirmed.
        {C::MemoryGauge, "VUNT Memory &Gauge", nullptr, false}}},
  };
  return tree;
}

const char* menuText(MenuCommand c) {
  for (const auto& top : mainMenuTree()) {
    for (const auto& e : top.entries) {
      if (e.command == c) return e.text;
    }
  }
  return "";
}

MainMenu::MainMenu() {
  for (const auto& top : mainMenuTree()) {
    for (const auto& e : top.entries) enabled_[e.command] = true;
  }
  apply({C::DefineToolString, C::SaveSession, C::EditPresentations, C::StartLogUp, C::StartLogDown, C::StopLogging,
         C::StopPlayback, C::StartTelemetry, C::StopTelemetry, C::Monitors, C::TarnCLowLevelCommands, C::MemoryGauge},
        {});
  take(Snapshot::Telemetry);
}

void MainMenu::apply(std::initializer_list<MenuCommand> grey, std::initializer_list<MenuCommand> enable) {
  for (auto c : grey) enabled_[c] = false;
  for (auto c : enable) enabled_[c] = true;
}

void MainMenu::restore(Snapshot s) {
  auto it = snapshots_.find(s);
  if (it == snapshots_.end()) return;
  for (const auto& [c, on] : it->second) enabled_[c] = on;
}

void MainMenu::onJobDataConfirmed() {
  apply({}, {C::DefineToolString, C::SaveSession, C::EditPresentations, C::StartLogUp, C::StartLogDown, C::ChooseFile,
             C::StopPlayback, C::StartTelemetry, C::Monitors});
}

void MainMenu::onTelemetryStarted() {
  take(Snapshot::Telemetry);
  apply({C::ChooseFile, C::StartPlayback, C::StopPlayback, C::StartTelemetry, C::UnitSystem, C::DefineToolString},
        {C::Calibrations, C::StopTelemetry});
}

void MainMenu::onLogStarted() {
  take(Snapshot::Log);
  apply({C::JobData, C::DefineToolString, C::LoadPreviousSession, C::StartLogUp, C::StartLogDown, C::StationLog,
         C::ChooseFile, C::StopPlayback, C::StartTelemetry, C::EditPresentations, C::MergeAndSplice},
        {C::StopLogging});
}

void MainMenu::onPlaybackChosen() {
  take(Snapshot::Playback);
  apply({C::StopPlayback, C::StartLogUp, C::StartLogDown, C::StartTelemetry, C::MergeAndSplice, C::StopTelemetry},
        {C::StartPlayback, C::EditPresentations});
}

void MainMenu::onPlaybackStopped(bool sessionStarted) {
  take(Snapshot::Playback);
  apply({C::StartPlayback, C::StopPlayback, C::StartLogUp, C::StartLogDown, C::StartTelemetry},
        {C::EditPresentations});
  // The played file's string is the declared one now; telemetry and logs check it themselves.
  if (sessionStarted) apply({}, {C::StartTelemetry, C::StartLogUp, C::StartLogDown});
}

}  // namespace kvr
