// panelsim: the simulated surface panel and tool string on a pseudo-terminal.

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "panelsim/Faults.h"
#include "panelsim/PanelSimulator.h"
#include "panelsim/PtyServer.h"
#include "panelsim/ToolNames.h"
#include "platform/SystemClock.h"

namespace {

std::atomic<bool> gStop{false};
void onSignal(int) { gStop.store(true); }

const char* kUsage =
    "usage: panelsim --tools NAME,NAME,... [--units english|metric] [--start-depth D] [--speed S]\n"
    "                [--direction up|down|still] [--latitude L --inclination I --azimuth A --toolface T]\n"
    "                [--fluid-velocity V] [--fault NAME[=VALUE]]... [--seed N] [--start-counter N]\n"
    "                [--tool-list FILE] [--link PATH] [--sct FILE] [--gyro-noise S] [--acel-noise S]\n"
    "                [--temperature-drift D] [--gyro-drift G] [--toolface-rate R] [--turn AT,TF]...\n";

std::string help() {
  return std::string(kUsage) +
         "\n"
         "Serves a simulated surface telemetry panel and its downhole tool string on a pseudo-terminal.\n"
         "The first line printed is \"pty: PATH\"; open PATH as the panel's serial device. It runs until\n"
         "stopped (SIGTERM or SIGINT) and ends cleanly. Each downhole message the panel delivers is\n"
         "printed as a line \"downhole: 03 FE 01 00\" (hexadecimal bytes).\n"
         "\n"
         "The string:\n"
         "  --tools NAME,...     the connected tools, top first, named as in ToolList.txt (DUNE-ROLA,\n"
         "                       TARNB-FSK, ...) or by family (BRIX, TARN, TARN-B, TARN-C, DUNE, SEVO, QUIL,\n"
         "                       VUNT, HAVO, PLOV, FYRD); at most 8 block addresses in all\n"
         "  --tool-list FILE     the tool list that names the tools (default: the shipped ToolList.txt)\n"
         "\n"
         "The winch:\n"
         "  --units english|metric  depth in feet and speed in ft/h, or metres and m/min (english)\n"
         "  --start-depth D      depth at start (1000)\n"
         "  --speed S            line speed (1800 ft/h; 9 m/min in metric)\n"
         "  --direction up|down|still  (down)\n"
         "\n"
         "The well, for the gyro tools (degrees):\n"
         "  --latitude L (30)  --inclination I (0)  --azimuth A (0, from true north)  --toolface T (0)\n"
         "  --fluid-velocity V   upward fluid velocity past the spinner, ft/min (60)\n"
         "  --turn AT,TF         AT s after start the tool is turned by hand to toolface TF (repeatable)\n"
         "\n"
         "The TARN-C tool:\n"
         "  --sct FILE           its sensor block's correction table (raw readings invert it); without\n"
         "                       one the raw readings are the physical values\n"
         "  --gyro-noise S       white gyro noise per frame, deg/h (0.05)\n"
         "  --acel-noise S       white accelerometer noise per frame, g (0.00002)\n"
         "  --temperature-drift D  block temperature change, degC per hour (0)\n"
         "  --gyro-drift G       gyro drift no table removes, deg/h per degC of that change (0)\n"
         "  --toolface-rate R    the tool turning in the hole, deg/s (0)\n"
         "\n"
         "Faults (--fault may be given more than once):\n" +
         panelsim::faultHelp() +
         "\n"
         "Other:\n"
         "  --seed N             noise seed (1); the same seed repeats a run byte for byte\n"
         "  --start-counter N    first frame counter value (0)\n"
         "  --link PATH          keep a symlink at PATH to the current terminal; after a disconnect a\n"
         "                       new terminal is made, printed as another \"pty: PATH\" line\n";
}

std::filesystem::path shippedToolList() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return exe.parent_path().parent_path() / "share" / "varexa" / "ToolList.txt";
}

bool number(const std::string& text, double& out) {
  char* end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return !text.empty() && end == text.c_str() + text.size();
}

int fail(const std::string& text) {
  std::fprintf(stderr, "panelsim: %s\n%s", text.c_str(), kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  panelsim::SimConfig config;
  std::vector<std::string> toolNames;
  std::filesystem::path toolList = shippedToolList(), link;
  bool speedGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs(help().c_str(), stdout);
      return 0;
    }
    if (i + 1 >= args.size()) return fail("missing value after " + a);
    const std::string v = args[++i];
    double d = 0;
    if (a == "--tools") {
      for (std::size_t from = 0; from <= v.size();) {
        const auto comma = v.find(',', from);
        const std::string name = v.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        if (!name.empty()) toolNames.push_back(name);
        if (comma == std::string::npos) break;
        from = comma + 1;
      }
    } else if (a == "--units") {
      if (v != "english" && v != "metric") return fail("--units is english or metric");
      config.winch.english = v == "english";
    } else if (a == "--direction") {
      if (v == "up") config.winch.direction = panelsim::Direction::Up;
      else if (v == "down") config.winch.direction = panelsim::Direction::Down;
      else if (v == "still") config.winch.direction = panelsim::Direction::Still;
      else return fail("--direction is up, down or still");
    } else if (a == "--fault") {
      if (auto err = panelsim::applyFault(config.faults, v)) return fail(*err);
    } else if (a == "--tool-list") {
      toolList = v;
    } else if (a == "--link") {
      link = v;
    } else if (a == "--sct") {
      std::ifstream in(v, std::ios::binary);
      const std::string text{std::istreambuf_iterator<char>(in), {}};
      auto r = tools::tarnc::parseSct(text);
      if (!in && text.empty()) return fail("cannot read " + v);
      if (!r.calibration) return fail(v + ": " + r.error);
      config.tarnc.calibration = std::move(r.calibration);
    } else if (a == "--turn") {
      const auto comma = v.find(',');
      double at = 0, tf = 0;
      if (comma == std::string::npos || !number(v.substr(0, comma), at) || !number(v.substr(comma + 1), tf) || at < 0)
        return fail("--turn is AT,TOOLFACE");
      config.turns.push_back({at, tf});
      std::sort(config.turns.begin(), config.turns.end(), [](auto& x, auto& y) { return x.atS < y.atS; });
    } else if (number(v, d)) {
      if (a == "--start-depth") config.winch.startDepth = d;
      else if (a == "--speed") config.winch.speed = d, speedGiven = true;
      else if (a == "--latitude") config.well.latitudeDeg = d;
      else if (a == "--inclination") config.well.inclinationDeg = d;
      else if (a == "--azimuth") config.well.azimuthDeg = d;
      else if (a == "--toolface") config.well.toolfaceDeg = d;
      else if (a == "--fluid-velocity") config.well.fluidVelocityFtPerMin = d;
      else if (a == "--gyro-noise" && d >= 0) config.tarnc.gyroNoise = d;
      else if (a == "--acel-noise" && d >= 0) config.tarnc.acelNoise = d;
      else if (a == "--temperature-drift") config.tarnc.temperatureDriftPerHour = d;
      else if (a == "--gyro-drift") config.tarnc.gyroDriftPerDegC = d;
      else if (a == "--toolface-rate") config.tarnc.toolfaceRateDegPerS = d;
      else if (a == "--seed") config.seed = static_cast<std::uint32_t>(d);
      else if (a == "--start-counter") config.startCounter = static_cast<std::uint16_t>(d);
      else return fail("unknown option " + a);
    } else {
      return fail("bad value for " + a + ": " + v);
    }
  }
  if (!speedGiven && !config.winch.english) config.winch.speed = 9;
  const auto listed = panelsim::readToolListCodes(toolList);
  for (const std::string& name : toolNames) {
    const auto code = panelsim::toolCodeForName(name, listed);
    if (!code) return fail("unknown tool " + name);
    config.toolCodes.push_back(*code);
  }
  if (auto err = panelsim::PanelSimulator::checkToolString(config.toolCodes)) return fail(*err);

  std::signal(SIGTERM, onSignal);
  std::signal(SIGINT, onSignal);
  std::signal(SIGPIPE, SIG_IGN);

  platform::SystemClock clock;
  panelsim::PanelSimulator panel(config, clock);
  // Every delivered downhole message as a line, so that a host can check what arrived.
  panel.setMessageObserver([](const std::vector<std::uint8_t>& m) {
    std::string line = "downhole:";
    char hex[4];
    for (std::uint8_t b : m) std::snprintf(hex, sizeof hex, " %02X", b), line += hex;
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  });
  panelsim::PtyServer server(panel, link);
  const std::string path = server.open();
  if (path.rfind("error: ", 0) == 0) {
    std::fprintf(stderr, "panelsim: %s\n", path.c_str() + 7);
    return 1;
  }
  std::printf("pty: %s\n", path.c_str());
  std::fflush(stdout);
  server.run(gStop, [](const std::string& p) {
    std::printf("pty: %s\n", p.c_str());
    std::fflush(stdout);
  });
  return 0;
}
