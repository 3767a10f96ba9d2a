#include "kvr/link/PanelLink.h"

#include <cstring>

#include "usbxp/SimBackend.h"

namespace kvr {

std::optional<PanelLinkChoice> parsePanelLinkChoice(std::string_view text) {
  if (text == "auto" || text.empty()) return PanelLinkChoice{PanelLinkChoice::Kind::Auto, {}};
  if (text == "sim" || text == "simulator") return PanelLinkChoice{PanelLinkChoice::Kind::Simulator, {}};
  if (text == "serial") return PanelLinkChoice{PanelLinkChoice::Kind::Serial, {}};
  if (text.front() == '/' || text.rfind("./", 0) == 0)
    return PanelLinkChoice{PanelLinkChoice::Kind::Serial, std::filesystem::path(text)};
  return std::nullopt;
}

PanelLinkChoice panelLinkChoice(const platform::Settings& settings, const std::vector<std::string>& args) {
  const std::string prefix = std::string(kPanelLinkOption) + "=";
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::optional<std::string> value;
    if (args[i].rfind(prefix, 0) == 0) value = args[i].substr(prefix.size());
    else if (args[i] == kPanelLinkOption && i + 1 < args.size()) value = args[i + 1];
    if (value)
      if (auto c = parsePanelLinkChoice(*value)) return *c;
  }
  if (auto c = parsePanelLinkChoice(settings.getString(kPanelLinkSection, kPanelLinkValue, "auto"))) return *c;
  return {};
}

namespace {

bool panelAttached(usbxp::Backend& serial) {
  std::uint32_t count = 0;
  if (serial.getNumDevices(count) != usbxp::kSuccess) return false;
  for (std::uint32_t i = 0; i < count; ++i) {
    char name[256] = {};
    if (serial.getProductString(i, name, sizeof name, usbxp::kProductDescription) == usbxp::kSuccess &&
        std::strcmp(name, usbxp::kPanelProductString) == 0)
      return true;
  }
  return false;
}

}  // namespace

PanelLink openPanelLink(const PanelLinkChoice& choice, platform::Clock& clock, const usbxp::SerialOptions& serial) {
  PanelLink link;
  if (choice.kind != PanelLinkChoice::Kind::Simulator) {
    usbxp::SerialOptions options = serial;
    if (!choice.device.empty()) options.explicitDevice = choice.device;
    auto backend = std::make_unique<usbxp::SerialBackend>(options);
    if (choice.kind == PanelLinkChoice::Kind::Serial || panelAttached(*backend)) {
      link.statusText = backend->describe();
      link.backend = std::move(backend);
      return link;
    }
  }
  link = simulatedPanelLink({}, clock);
  link.winchFollowsLog = true;
  link.statusText = choice.kind == PanelLinkChoice::Kind::Simulator ? kChosenSimulatorStatus : kSimulatedPanelStatus;
  return link;
}

PanelLink simulatedPanelLink(panelsim::SimConfig config, platform::Clock& clock) {
  PanelLink link;
  link.simulator = std::make_unique<panelsim::PanelSimulator>(std::move(config), clock);
  link.backend = std::make_unique<usbxp::SimBackend>(*link.simulator, clock);
  link.simulated = true;
  link.statusText = kChosenSimulatorStatus;
  return link;
}

void mirrorDeclaredString(PanelLink& link, const records::ToolList& tools, bool english) {
  if (!link.simulator) return;
  std::vector<std::uint8_t> codes;
  for (const auto& t : tools)
    if (t.isTool()) codes.push_back(t.code());
  link.simulator->setToolString(codes);
  link.simulator->setEnglish(english);
}

void placeSimulatedWinch(PanelLink& link, double startDepth) {
  if (!link.simulator || !link.winchFollowsLog) return;
  link.simulator->setDirection(panelsim::Direction::Still);
  link.simulator->setDepth(startDepth);
}

void driveSimulatedWinch(PanelLink& link, WinchMotion motion, double speed) {
  if (!link.simulator || !link.winchFollowsLog) return;
  if (motion != WinchMotion::Still) link.simulator->setSpeed(speed);
  link.simulator->setDirection(motion == WinchMotion::Up     ? panelsim::Direction::Up
                               : motion == WinchMotion::Down ? panelsim::Direction::Down
                                                             : panelsim::Direction::Still);
}

}  // namespace kvr
