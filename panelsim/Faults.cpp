#include "panelsim/Faults.h"

#include <charconv>
#include <cstdlib>

namespace panelsim {
namespace {

bool parseDouble(std::string_view text, double& out) {
  if (text.empty()) return false;
  std::string s(text);
  char* end = nullptr;
  out = std::strtod(s.c_str(), &end);
  return end == s.c_str() + s.size();
}

bool parseCount(std::string_view text, std::uint32_t& out) {
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && p == text.data() + text.size() && out > 0;
}

// "AT,FOR" in seconds; FOR defaults to the given value.
bool parseWindow(std::string_view text, double& at, double& duration, double defaultFor) {
  const auto comma = text.find(',');
  duration = defaultFor;
  if (!parseDouble(text.substr(0, comma), at) || at < 0) return false;
  if (comma != std::string_view::npos && (!parseDouble(text.substr(comma + 1), duration) || duration <= 0))
    return false;
  return true;
}

}  // namespace

std::optional<std::string> applyFault(Faults& f, std::string_view text) {
  const auto eq = text.find('=');
  const std::string_view name = text.substr(0, eq);
  const bool hasValue = eq != std::string_view::npos;
  const std::string_view value = hasValue ? text.substr(eq + 1) : std::string_view{};
  const std::string bad = "bad value for fault " + std::string(name) + ": " + std::string(value);
  auto probability = [&](double& out) -> std::optional<std::string> {
    if (!hasValue) {
      out = 0.01;
      return std::nullopt;
    }
    if (!parseDouble(value, out) || out < 0 || out > 1) return bad;
    return std::nullopt;
  };
  auto every = [&](std::uint32_t& out) -> std::optional<std::string> {
    if (!hasValue) {
      out = 10;
      return std::nullopt;
    }
    if (!parseCount(value, out)) return bad;
    return std::nullopt;
  };
  const struct {
    const char* name;
    bool TarnCFaults::*flag;
  } tarnc[] = {{"tarnc-no-ack", &TarnCFaults::noAck},         {"tarnc-short-table", &TarnCFaults::shortTable},
               {"tarnc-endless-table", &TarnCFaults::endlessTable}, {"tarnc-equal-counts", &TarnCFaults::equalCounts},
               {"tarnc-jammed", &TarnCFaults::jammed},         {"tarnc-short-move", &TarnCFaults::shortMove},
               {"tarnc-slow-moves", &TarnCFaults::slowMoves},  {"tarnc-vibration", &TarnCFaults::vibration},
               {"tarnc-imu-silent", &TarnCFaults::imuSilent}};
  for (const auto& t : tarnc) {
    if (name != t.name) continue;
    if (hasValue) return "fault " + std::string(name) + " takes no value";
    f.tarnc.*t.flag = true;
    return std::nullopt;
  }
  auto count = [&](std::uint32_t& out, std::uint32_t byDefault) -> std::optional<std::string> {
    if (!hasValue) out = byDefault;
    else if (!parseCount(value, out)) return bad;
    return std::nullopt;
  };
  if (name == "gauge-no-ack" || name == "gauge-link-down") {
    if (hasValue) return "fault " + std::string(name) + " takes no value";
    (name == "gauge-no-ack" ? f.gauge.noAck : f.gauge.linkDown) = true;
    return std::nullopt;
  }
  if (name == "gauge-stall-half-a") return count(f.gauge.stallHalfA, 3);
  if (name == "gauge-drop-half-b") return count(f.gauge.dropHalfB, 3);
  if (name == "gauge-dead-after-page") return count(f.gauge.deadAfterPage, 2);
  if (name == "gauge-frame-skip") return count(f.gauge.frameSkip, 50);
  if (name == "no-ping") f.noPing = true;
  else if (name == "silent-calibration") f.silentCalibration = true;
  else if (name == "init-error") f.initError = true;
  else if (name == "drop-bytes") return probability(f.dropBytes);
  else if (name == "corrupt-bytes") return probability(f.corruptBytes);
  else if (name == "bad-downhole-crc") return every(f.badDownholeCrc);
  else if (name == "bad-panel-crc") return every(f.badPanelCrc);
  else if (name == "cut-frames") return every(f.cutFrames);
  else if (name == "reject-commands") return every(f.badCommandCrc);
  else if (name == "stall") {
    if (!hasValue) f.stallAtS = 5, f.stallForS = 2;
    else if (!parseWindow(value, f.stallAtS, f.stallForS, 2)) return bad;
  } else if (name == "disconnect") {
    if (!hasValue) f.disconnectAtS = 5, f.disconnectForS = 3;
    else if (!parseWindow(value, f.disconnectAtS, f.disconnectForS, 3)) return bad;
  } else {
    return "unknown fault: " + std::string(name);
  }
  if ((name == "no-ping" || name == "init-error" || name == "silent-calibration") && hasValue) return "fault " + std::string(name) + " takes no value";
  return std::nullopt;
}

std::string faultHelp() {
  return "  no-ping              ping is never answered\n"
         "  init-error           initialise is answered with 0xCC (initialisation error)\n"
         "  drop-bytes[=P]       each byte of a telemetry frame is lost with probability P (0.01)\n"
         "  corrupt-bytes[=P]    each byte of a telemetry frame has one bit flipped with probability P (0.01)\n"
         "  bad-downhole-crc[=N] every Nth telemetry frame carries a wrong downhole CRC (10)\n"
         "  bad-panel-crc[=N]    every Nth telemetry frame carries a wrong panel CRC (10)\n"
         "  cut-frames[=N]       every Nth telemetry frame stops short of its end (10)\n"
         "  reject-commands[=N]  every Nth command frame is taken as damaged and not delivered (10)\n"
         "  stall[=AT,FOR]       AT s after the first telemetry frame the panel sends nothing for FOR s (5,2)\n"
         "  disconnect[=AT,FOR]  AT s after the first telemetry frame the panel goes away for FOR s (5,3)\n"
         "  silent-calibration   the tools never send their stored calibration when asked (a time-out)\n"
         "  tarnc-no-ack         the TARN-C tool carries out commands but never acknowledges them\n"
         "  tarnc-short-table    the TARN-C position table comes with three words instead of four\n"
         "  tarnc-endless-table  the TARN-C tool never leaves status 10 after sending its table\n"
         "  tarnc-equal-counts   the TARN-C table gives 180 degrees the count of 0 degrees\n"
         "  tarnc-jammed         the TARN-C indexer shows status 6 but never turns\n"
         "  tarnc-short-move     TARN-C indexer moves stop 40 counts short of their target\n"
         "  tarnc-slow-moves     the TARN-C indexer turns at a fifth of its speed\n"
         "  tarnc-vibration      the TARN-C tool vibrates: status 4, noisy sensors\n"
         "  tarnc-imu-silent     the TARN-C inertial pack sends nothing: status 0, zero readings\n"
         "  gauge-no-ack         the memory gauge carries out commands but never acknowledges them\n"
         "  gauge-stall-half-a[=N]  the first N half-A page transfers stop after three frames (3)\n"
         "  gauge-drop-half-b[=N]   the first N half-B page requests go unanswered (3)\n"
         "  gauge-dead-after-page[=N]  the memory gauge answers nothing after N pages (2)\n"
         "  gauge-link-down      the memory gauge's link is down: nothing is answered\n"
         "  gauge-frame-skip[=N] every Nth payload frame of the memory gauge is skipped and flagged (50)\n";
}

}  // namespace panelsim
