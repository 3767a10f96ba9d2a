#pragma once
// The main menu of the logging window as data: every entry with its enabled state,
// the greying events, and the three snapshots (log, telemetry, playback).

#include <array>
#include <map>
#include <string>
#include <vector>

namespace kvr {

enum class MenuCommand {
  JobData, UnitSystem, DefineToolString, SaveSession, LoadPreviousSession,
  EditPresentations,
  SystemParameters, ToolParameters, Calibrations, LoadParameters, CreateReportList,
  StartLogUp, StartLogDown, StationLog, StopLogging,
  ChooseFile, StartPlayback, StopPlayback, PlaybackOptions,
  KvrToAscii, MergeAndSplice, CrossPlot, ProgramFolder, SystemUnits, Options,
  StartTelemetry, StopTelemetry, Monitors, TarnCLowLevelCommands, MemoryGauge,
};

struct MenuEntry {
  MenuCommand command;
  const char* text;      // with the "&" of its access key
  const char* submenu;   // nullptr: directly in the top-level menu
  bool separatorBefore;
};

struct TopMenu {
  const char* text;
  std::vector<MenuEntry> entries;
};

// The menu tree in display order.
const std::vector<TopMenu>& mainMenuTree();
const char* menuText(MenuCommand c);

class MainMenu {
 public:
  enum class Snapshot { Log, Telemetry, Playback };

  MainMenu();  // every entry enabled, then the state of "Main dialog opens"
  bool enabled(MenuCommand c) const { return enabled_.at(c); }
  void setEnabled(MenuCommand c, bool on) { enabled_[c] = on; }
  void take(Snapshot s) { snapshots_[s] = enabled_; }
  void restore(Snapshot s);

  // The events of the logging window.
  void onJobDataConfirmed();
  void onTelemetryStarted();
  void onTelemetryStopped() { restore(Snapshot::Telemetry); }
  void onLogStarted();
  void onLogStopped() { restore(Snapshot::Log); }
  void onPlaybackChosen();
  void onPlaybackStarted() { restore(Snapshot::Playback); }
  // With a session the engineer may go back to telemetry and logging at once.
  void onPlaybackStopped(bool sessionStarted = false);

 private:
  void apply(std::initializer_list<MenuCommand> grey, std::initializer_list<MenuCommand> enable);
  std::map<MenuCommand, bool> enabled_;
  std::map<Snapshot, std::map<MenuCommand, bool>> snapshots_;
};

}  // namespace kvr
