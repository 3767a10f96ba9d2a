// kvr-gauge: the memory gauge's jobs without a window. The program's "Data Latch Manager" on
// the simulated panel and virtual time: optionally erase the gauge, start a new job and let it
// record, then connect and download one job into PREFIX.txt and PREFIX.BIN, with a progress
// line on standard error.

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/common/CommandLine.h"
#include "common/records/SystemMode.h"
#include "kvr/app/CKVRApp.h"
#include "kvr/app/LoggingStation.h"
#include "kvr/gauge/CDatePickerDlg.h"
#include "kvr/gauge/CDownloadDataDlg.h"
#include "kvr/gauge/CToolConexionDlg.h"
#include "kvr/utilities/BatchPrompter.h"
#include "panelsim/Faults.h"
#include "platform/RootPaths.h"
#include "platform/SystemClock.h"
#include "platform/testing/ManualLoop.h"

namespace {

constexpr const char* kUsage =
    "usage: kvr-gauge --tools NAME,NAME,... --download JOB [-o PREFIX] [--root DIR] [--date YYYY-MM-DD]\n"
    "                 [--time HH:MM:SS] [--erase] [--new-job] [--record SECONDS] [--check] [--fault NAME[=V]]...\n"
    "\n"
    "Connects to the VUNT memory gauge of the string on the simulated panel and downloads one recorded job\n"
    "into PREFIX.txt and PREFIX.BIN (never over an existing file), printing the gauge status and a progress\n"
    "line. Exit status 0 when the job was downloaded, 1 when the gauge or the files failed, 2 on bad arguments.\n"
    "\n"
    "  --tools           tool names as listed in ToolList.txt, top of the string first (one VUNT-MG)\n"
    "  --download JOB    the job to download, from 1\n"
    "  -o PREFIX         the output files without extension (default: the gauge serial number)\n"
    "  --root DIR        data root: the main folder (ToolList.txt) and KVRFolder (default: a temporary one)\n"
    "  --date, --time    the job's start date and time for the binary file (default: now)\n"
    "  --erase           erase all jobs of the gauge first (erase, then GO)\n"
    "  --new-job         start a new job, then let the gauge record for --record SECONDS (default 600)\n"
    "  --check           check that the gauge is recording before connecting\n"
    "  --fault NAME[=V]  a fault of the simulated panel (below); may be repeated\n"
    "\n"
    "Faults of the simulated panel:\n";

struct Options {
  std::string root, prefix, date, time;
  std::vector<std::string> tools, faults;
  int job = 0;
  double recordS = 600;
  bool erase = false, newJob = false, check = false;
};

std::optional<Options> parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    const char* v = nullptr;
    if (a == "--erase") o.erase = true;
    else if (a == "--new-job") o.newJob = true;
    else if (a == "--check") o.check = true;
    else if (a == "--root" && (v = value())) o.root = v;
    else if (a == "--tools" && (v = value())) o.tools = cli::splitList(v);
    else if (a == "-o" && (v = value())) o.prefix = v;
    else if (a == "--date" && (v = value())) o.date = v;
    else if (a == "--time" && (v = value())) o.time = v;
    else if (a == "--fault" && (v = value())) o.faults.push_back(v);
    else if (a == "--download" && (v = value())) {
      if (!cli::integer(v, 1, 10, o.job)) return std::nullopt;
    } else if (a == "--record" && (v = value())) {
      if (!cli::number(v, o.recordS) || !(o.recordS >= 0 && o.recordS <= 30 * 86400.0)) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (o.tools.empty() || o.job == 0) return std::nullopt;
  return o;
}

int fail(const std::string& text) { return cli::fail("kvr-gauge", text); }

// The date picker's answer from --date and --time, or the present.
std::optional<kvr::gauge::PickedDate> startDate(const Options& o) {
  kvr::gauge::CDatePickerDlg picker(platform::SystemClock().localTime());
  int y = 0, m = 0, d = 0, h = 0, mi = 0, s = 0;
  char tail = 0;
  if (!o.date.empty() &&
      (std::sscanf(o.date.c_str(), "%d-%d-%d%c", &y, &m, &d, &tail) != 3 || !picker.setDate(y, m, d)))
    return std::nullopt;
  if (!o.time.empty() &&
      (std::sscanf(o.time.c_str(), "%d:%d:%d%c", &h, &mi, &s, &tail) != 3 || !picker.setTime(h, mi, s)))
    return std::nullopt;
  return picker.picked();
}

// A data root for the run when none is given; removed at the end.
struct ScratchRoot {
  std::filesystem::path path;
  ~ScratchRoot() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
  }
};

}  // namespace

int main(int argc, char** argv) {
  const auto parsed = parse(argc, argv);
  if (const auto end = cli::helpOrRefusal(argc, argv, parsed, kUsage + panelsim::faultHelp())) return *end;
  const Options& o = *parsed;
  panelsim::Faults faults;
  for (const auto& f : o.faults)
    if (auto err = panelsim::applyFault(faults, f)) return fail(*err);
  const auto start = startDate(o);
  if (!start) return fail("--date needs YYYY-MM-DD and --time HH:MM:SS, from 1970-01-01 to 2105-12-31");

  ScratchRoot scratch;
  std::string root = o.root;
  if (root.empty()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kvr-gauge-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return fail("no temporary data root could be made");
    root = scratch.path = pattern;
  }
  platform::RootPaths paths(root);
  kvr::ProgramSettings program = kvr::CKVRApp::batchSettings(paths, records::kModeEnglish | records::kModeHigh);
  kvr::utilities::BatchPrompter prompter(std::cerr, platform::Answer::Yes);
  platform::testing::ManualLoop loop;
  panelsim::SimConfig config;
  config.winch.direction = panelsim::Direction::Still;
  config.faults = faults;
  kvr::LoggingStation station({loop, loop.clock(), prompter, paths, program},
                              kvr::simulatedPanelLink(config, loop.clock()), true);

  if (auto err = station.startBatchJob("GAUGE", "SHOP", "BENCH", o.tools)) return fail(*err);
  kvr::gauge::CDataLatchTaskPanel* panel = station.gaugePanel();
  if (panel == nullptr) return fail("the string has no VUNT memory gauge");
  if (!station.dialog().startTelemetry()) return fail("telemetry did not start");
  loop.advance(1000);

  // The one-shot sequences end with a message box; wait for their timers to stop.
  auto runSequence = [&](auto start) {
    const int before = prompter.failures();
    start();
    loop.advanceUntil([&] { return !loop.timerActive(panel, kvr::gauge::CDataLatchTaskPanel::kEraseTimer) &&
                                   !loop.timerActive(panel, kvr::gauge::CDataLatchTaskPanel::kGoTimer) &&
                                   !loop.timerActive(panel, kvr::gauge::CDataLatchTaskPanel::kNewJobTimer) &&
                                   !loop.timerActive(panel, kvr::gauge::CDataLatchTaskPanel::kCheckTimer) &&
                                   loop.pendingCommands() == 0; },
                      5000, 50);
    return prompter.failures() == before;
  };
  if (o.erase && !runSequence([&] { panel->eraseJobs(); })) return fail("the gauge was not erased");
  if (o.newJob) {
    if (!runSequence([&] { panel->newJob(); })) return fail("the gauge did not start a new job");
    loop.advance(static_cast<std::int64_t>(o.recordS * 1000));
  }
  if (o.check && !runSequence([&] { panel->checkRecording(); })) return fail("the gauge is not recording");

  bool connected = false;
  panel->setStatusDialog([&] { connected = true; });
  const int beforeConnect = prompter.failures();
  panel->connect();
  loop.advanceUntil([&] { return connected || prompter.failures() > beforeConnect; }, 60000, 50);
  if (!connected) return fail("the gauge did not connect");
  const auto status = kvr::gauge::gaugeStatus(station.library().globals());
  std::cout << "Gauge Serial Number: " << status.serialNumber << "\nTool Model: " << status.toolModel
            << "\nNumber of Recorded Jobs: " << status.recordedJobs
            << "\nAllocated Memory Samples: " << status.allocatedMemory << '\n';

  kvr::gauge::CDownloadDataDlg dialog({*panel, [&] { return start; }, {}});
  if (!dialog.open()) return 1;
  if (static_cast<std::size_t>(o.job) > dialog.jobs().size())
    return fail("the gauge holds " + std::to_string(dialog.jobs().size()) + " jobs");
  dialog.selectJob(o.job - 1);
  const std::string prefix = o.prefix.empty() ? dialog.serialText() : o.prefix;
  std::uint32_t shownPages = 0;
  auto progress = [&] {
    std::cerr << "\rpage " << dialog.pagesReceived() << ": " << dialog.samplesWritten() << " of "
              << dialog.totalSamples() << " samples" << std::flush;
  };
  dialog.setChanged([&] {
    if (!dialog.running()) {
      if (shownPages > 0) progress(), std::cerr << '\n';
      shownPages = 0;
    } else if (dialog.pagesReceived() != shownPages) {
      shownPages = dialog.pagesReceived();
      progress();
    }
  });
  if (!dialog.startDownload(prefix + ".txt", *start)) return 1;
  // A whole gauge memory takes a few hours of virtual time.
  loop.advanceUntil([&] { return !dialog.running(); }, 48LL * 3600 * 1000, 100);
  station.dialog().stopTelemetry();
  if (dialog.state() != kvr::gauge::CDownloadDataDlg::State::Finished) return fail("the download did not finish");
  std::cout << "samples: " << dialog.samplesWritten() << "\nfile: " << dialog.textPath().string()
            << "\nfile: " << dialog.binaryPath().string() << '\n';
  return 0;
}
