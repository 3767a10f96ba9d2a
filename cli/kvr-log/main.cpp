// kvr-log: a logging run without a window. The same logging controller as KVR, with the
// operator's answers given on the command line, against the simulated panel on virtual time
// (an hour of logging in seconds) or a real panel in real time.

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/common/CommandLine.h"
#include "common/records/SystemMode.h"
#include "kvr/app/CKVRApp.h"
#include "kvr/app/LoggingStation.h"
#include "kvr/utilities/BatchPrompter.h"
#include "panelsim/Faults.h"
#include "platform/RootPaths.h"
#include "platform/SystemClock.h"
#include "platform/ThreadLoop.h"
#include "platform/testing/ManualLoop.h"
#include "usbxp/SimBackend.h"

#ifdef VAREXA_CHART_PNG
#include "kvr/logging/ui/ChartPng.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: kvr-log --root DIR --user U --client C --well W --tools NAME,NAME,... --direction up|down|station\n"
    "               [--start-depth D] [--speed S] [--length L] [--units english|metric]\n"
    "               [--resolution hi|medium|low] [--panel sim|DEVICE] [--fault NAME[=VALUE]]... [--yes]\n"
    "               [--wall-pace F]\n"
    "\n"
    "Records one log through the logging controller and prints \"file: PATH\" for every file written,\n"
    "then the telemetry counters. Exit status 0 when the log was recorded, 1 on any refusal (the\n"
    "message is on stderr), 2 on bad arguments.\n"
    "\n"
    "  --root DIR        data root: the main folder (ToolList.txt, DEFAULT_FORMAT.TXT) and KVRFolder below it\n"
    "  --user, --client, --well   the job data that name the session folder\n"
    "  --tools           tool names as listed in ToolList.txt, top of the string first\n"
    "  --direction       up, down or station\n"
    "  --start-depth D   depth at the start of the log (simulated panel), in feet or metres\n"
    "  --speed S         line speed in the unit system's unit: ft/h (English) or m/min (metric)\n"
    "  --length L        depth interval to log, or the seconds of a station log (default 100 / 60)\n"
    "  --units           english or metric (default metric)\n"
    "  --resolution      hi, medium or low depth step (default hi)\n"
    "  --panel sim|DEVICE  the simulated panel on virtual time (default) or a tty in real time\n"
    "  --fault NAME[=V]  a fault of the simulated panel (below); may be repeated\n"
    "  --yes             answer Yes to the program's questions (default No)\n"
    "  --wall-pace F     with the simulated panel, run at most F times faster than real time\n"
    "\n"
    "Faults of the simulated panel:\n";

struct Options {
  std::string root, user, client, well, direction, panel = "sim";
  std::vector<std::string> tools, faults;
  std::optional<double> startDepth, speed, length;
  bool english = false;
  std::string resolution = "hi";
  bool yes = false;
  double wallPace = 0;
};

std::optional<Options> parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    auto num = [&](std::optional<double>& target) {
      const char* v = value();
      double d = 0;
      if (!v || !cli::number(v, d)) return false;
      target = d;
      return true;
    };
    const char* v = nullptr;
    if (a == "--yes") {
      o.yes = true;
    } else if (a == "--root" && (v = value())) {
      o.root = v;
    } else if (a == "--user" && (v = value())) {
      o.user = v;
    } else if (a == "--client" && (v = value())) {
      o.client = v;
    } else if (a == "--well" && (v = value())) {
      o.well = v;
    } else if (a == "--tools" && (v = value())) {
      o.tools = cli::splitList(v);
    } else if (a == "--direction" && (v = value())) {
      o.direction = v;
    } else if (a == "--units" && (v = value())) {
      if (std::strcmp(v, "english") != 0 && std::strcmp(v, "metric") != 0) return std::nullopt;
      o.english = std::strcmp(v, "english") == 0;
    } else if (a == "--resolution" && (v = value())) {
      o.resolution = v;
    } else if (a == "--panel" && (v = value())) {
      o.panel = v;
    } else if (a == "--fault" && (v = value())) {
      o.faults.push_back(v);
    } else if (a == "--start-depth") {
      if (!num(o.startDepth)) return std::nullopt;
    } else if (a == "--speed") {
      if (!num(o.speed)) return std::nullopt;
    } else if (a == "--length") {
      if (!num(o.length)) return std::nullopt;
    } else if (a == "--wall-pace") {
      std::optional<double> p;
      if (!num(p) || *p <= 0) return std::nullopt;
      o.wallPace = *p;
    } else {
      return std::nullopt;
    }
  }
  if (o.root.empty() || o.tools.empty()) return std::nullopt;
  if (o.direction != "up" && o.direction != "down" && o.direction != "station") return std::nullopt;
  if (o.resolution != "hi" && o.resolution != "medium" && o.resolution != "low") return std::nullopt;
  return o;
}

std::int32_t modeWordOf(const Options& o) {
  std::int32_t word = o.english ? records::kModeEnglish : records::kModeMetric;
  if (o.resolution == "hi") word |= records::kModeHigh;
  if (o.resolution == "medium") word |= records::kModeMedium;
  return word;
}

// Drives the run on one loop type: ManualLoop (virtual time) or ThreadLoop (real time).
struct Runner {
  std::function<void(std::int64_t ms)> run;  // lets the loop run for ms of its own time
  std::function<std::int64_t()> now;
};

int fail(const std::string& text) { return cli::fail("kvr-log", text); }

}  // namespace

int main(int argc, char** argv) {
  auto parsed = parse(argc, argv);
  if (const auto end = cli::helpOrRefusal(argc, argv, parsed, kUsage + panelsim::faultHelp())) return *end;
  const Options& o = *parsed;
  panelsim::Faults faults;
  for (const auto& f : o.faults) {
    if (auto err = panelsim::applyFault(faults, f)) return fail(*err);
  }
  const bool simulated = o.panel == "sim";

  platform::RootPaths paths(o.root);
  kvr::ProgramSettings program = kvr::CKVRApp::batchSettings(paths, modeWordOf(o));

  kvr::utilities::BatchPrompter prompter(std::cerr, o.yes ? platform::Answer::Ok : platform::Answer::Cancel);
  platform::testing::ManualLoop virtualLoop;
  virtualLoop.clock().setCalendarBase(platform::SystemClock().localTime());  // files carry the real date
  platform::ThreadLoop realLoop;
  platform::EventLoop& loop = simulated ? static_cast<platform::EventLoop&>(virtualLoop) : realLoop;
  platform::Clock& clock = simulated ? static_cast<platform::Clock&>(virtualLoop.clock()) : realLoop.clock();

  kvr::PanelLink link;
  if (simulated) {
    panelsim::SimConfig config;
    config.winch.english = o.english;
    config.winch.startDepth = o.startDepth.value_or(o.english ? 5000.0 : 1500.0);
    config.winch.speed = o.speed.value_or(o.english ? 1800.0 : 10.0);
    config.winch.direction = o.direction == "up"     ? panelsim::Direction::Up
                             : o.direction == "down" ? panelsim::Direction::Down
                                                     : panelsim::Direction::Still;
    config.faults = faults;
    link = kvr::simulatedPanelLink(config, clock);
  } else {
    kvr::PanelLinkChoice choice;
    choice.kind = kvr::PanelLinkChoice::Kind::Serial;
    choice.device = o.panel;
    link = kvr::openPanelLink(choice, clock);
  }

  kvr::LoggingStation station({loop, clock, prompter, paths, program}, std::move(link), simulated);
  Runner runner;
  auto started = std::chrono::steady_clock::now();
  if (simulated) {
    runner.now = [&] { return virtualLoop.now(); };
    runner.run = [&](std::int64_t ms) {
      virtualLoop.advance(ms);
      if (o.wallPace > 0) {
        // Keep virtual time at most wallPace times ahead of the wall clock.
        auto due = started + std::chrono::milliseconds(static_cast<std::int64_t>(virtualLoop.now() / o.wallPace));
        std::this_thread::sleep_until(due);
      }
    };
  } else {
    runner.now = [&] { return realLoop.clock().nowMs(); };
    runner.run = [&](std::int64_t ms) {
      struct Stop : platform::EventTarget {
        platform::ThreadLoop& l;
        explicit Stop(platform::ThreadLoop& loop) : l(loop) {}
        void onTimer(int) override { l.quit(); }
        void onCommand(int, std::int64_t) override {}
      } stop(realLoop);
      realLoop.startTimer(&stop, 1, static_cast<int>(ms));
      realLoop.run();
      realLoop.forget(&stop);
    };
  }

  if (auto err = station.startBatchJob(o.user, o.client, o.well, o.tools)) return fail(*err);

  auto& dialog = station.dialog();
  if (!dialog.startTelemetry()) return fail("telemetry did not start");
  runner.run(1000);  // a few frames, so the panel's unit bit is known

  const bool stationLog = o.direction == "station";
  const std::uint8_t direction = stationLog ? 2 : (o.direction == "up" ? 1 : 0);
  if (!dialog.startLog(direction, stationLog)) {
    dialog.stopTelemetry();
    return fail("the log did not start");
  }
  const double length = o.length.value_or(stationLog ? 60.0 : 100.0);
  runner.run(250);  // the first rows of the log give its start depth
  const double startDepth = station.tools().currentDepth();
  const std::int64_t startMs = runner.now();
  // A generous budget: the whole interval at a tenth of the set speed.
  const double speedPerSecond =
      o.english ? o.speed.value_or(1800.0) / 3600.0 : o.speed.value_or(10.0) / 60.0;
  const double budgetS = stationLog ? length + 5 : 10.0 * length / std::max(speedPerSecond, 1e-6) + 30;
  while (true) {
    runner.run(250);
    const double elapsedS = static_cast<double>(runner.now() - startMs) / 1000.0;
    const bool done = stationLog ? station.tools().logTime() >= length
                                 : std::fabs(station.tools().currentDepth() - startDepth) >= length;
    if (done || elapsedS > budgetS) break;
  }
  dialog.stopLogging();
  runner.run(0);
  dialog.stopTelemetry();

  std::cout << "file: " << dialog.outputFile().string() << '\n';
  for (const auto& cdf : station.charts().files()) std::cout << "file: " << cdf.string() << '\n';
#ifdef VAREXA_CHART_PNG
  // Each format's log as a picture beside its chart data file.
  kvr::ui::listChartPngsBeside(station.charts().files(), station.charts().header(), station.tools().modeWord(),
                               std::cout, std::cerr, "kvr-log");
#endif
  const auto& c = dialog.counters();
  std::cout << "Telemetry Frames: " << c.goodFrames << '\n'
            << "Frame Errors: " << c.frameErrors << '\n'
            << "CRC Errors: " << c.crcErrors << '\n'
            << "Read Cycles: " << c.readCycles << '\n'
            << "Frame Rate: " << c.frameRate << '\n'
            << "Rows: " << dialog.rowsDrawn() << '\n';
  return dialog.flushFailures() > 0 ? 1 : 0;
}
