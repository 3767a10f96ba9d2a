#pragma once
// Which backend carries the panel link, chosen once at start-up: a real panel through the
// bridge chip's tty, or the embedded simulated panel. "auto" (the default) takes the real
// panel when one is attached and the simulator otherwise, and the status line says which.
//
// The choice comes from the command line (--panel=VALUE or --panel VALUE) before the
// setting "Options"/"PanelLink"; VALUE is "auto", "sim", "serial" or a device path.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/records/ChannelStruct.h"
#include "panelsim/PanelSimulator.h"
#include "platform/Clock.h"
#include "platform/Settings.h"
#include "usbxp/SerialBackend.h"
#include "usbxp/UsbXp.h"

namespace kvr {

inline constexpr const char* kPanelLinkSection = "Options";
inline constexpr const char* kPanelLinkValue = "PanelLink";
inline constexpr const char* kPanelLinkOption = "--panel";

struct PanelLinkChoice {
  enum class Kind { Auto, Serial, Simulator } kind = Kind::Auto;
  std::filesystem::path device;  // Serial with an explicit device
};

std::optional<PanelLinkChoice> parsePanelLinkChoice(std::string_view text);
// The command line wins over the setting; an unreadable value counts as "auto".
PanelLinkChoice panelLinkChoice(const platform::Settings& settings, const std::vector<std::string>& args);

struct PanelLink {
  std::unique_ptr<panelsim::PanelSimulator> simulator;  // set when the link is simulated
  std::unique_ptr<usbxp::Backend> backend;
  bool simulated = false;
  // The simulator stands in for the winch the engineer drives: it follows the logs started
  // (see followTheLog). A simulator built with a chosen winch keeps that winch.
  bool winchFollowsLog = false;
  std::string statusText;  // for the status line
};

// Builds the backend. The embedded simulator starts with no tools; mirrorDeclaredString
// gives it the declared string before the panel is opened (TelemetryHooks::beforePanelOpen).
PanelLink openPanelLink(const PanelLinkChoice& choice, platform::Clock& clock, const usbxp::SerialOptions& serial = {});
// The embedded simulated panel with a chosen string, winch, well and faults.
PanelLink simulatedPanelLink(panelsim::SimConfig config, platform::Clock& clock);
void mirrorDeclaredString(PanelLink& link, const records::ToolList& tools, bool english);

// The winch of a following simulator: at telemetry start it stands at the start depth; each
// log runs it up, down or keeps it still (station log) at the speed (ft/h or m/min); a
// stopped log stops it.
enum class WinchMotion { Up, Down, Still };
void placeSimulatedWinch(PanelLink& link, double startDepth);
void driveSimulatedWinch(PanelLink& link, WinchMotion motion, double speed);

inline constexpr const char* kSimulatedPanelStatus = "No surface panel attached: using the simulated panel";
inline constexpr const char* kChosenSimulatorStatus = "Simulated surface panel";

}  // namespace kvr
