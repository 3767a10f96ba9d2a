// kvr-playback: a recorded data file replayed without a window, through the same playback,
// row display and chart data files as KVR, with the playback options given on the command line.

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "cli/common/CommandLine.h"
#include "common/datafile/CFileManager.h"
#include "common/datafile/PosixFiles.h"
#include "common/records/SystemMode.h"
#include "kvr/app/CKVRApp.h"
#include "kvr/app/LoggingStation.h"
#include "kvr/playback/PlaybackMessages.h"
#include "kvr/utilities/BatchPrompter.h"
#include "platform/RootPaths.h"
#include "platform/SystemClock.h"
#include "platform/testing/ManualLoop.h"

#ifdef VAREXA_CHART_PNG
#include "kvr/logging/ui/ChartPng.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: kvr-playback FILE.kvr --root DIR [--user U] [--client C] [--well W]\n"
    "                    [--offset D] [--min D] [--max D] [--channels string|file]\n"
    "                    [--no-output] [--computations]\n"
    "\n"
    "Replays a recorded KVR data file through playback: the rows in the depth window, shifted by\n"
    "the offset, drawn into one chart data file per presentation format and written to a new data\n"
    "file (\"PLAY-\" before the direction) in the session folder. Prints \"file: PATH\" for every file\n"
    "written, then the rows replayed. Exit status 0 when the file was replayed, 1 on any refusal\n"
    "(the message is on stderr), 2 on bad arguments.\n"
    "\n"
    "  --root DIR          data root: the main folder (DEFAULT_FORMAT.TXT) and KVRFolder below it\n"
    "  --user, --client, --well   the session of the output (default: the file's own job data)\n"
    "  --offset D          added to the depth of every row (\"PBDOFF\", default 0)\n"
    "  --min D, --max D    depth window (\"PBMIND\", \"PBMAXD\", default 0 and 49000)\n"
    "  --channels          string: channels made anew from the file's tool string (default);\n"
    "                      file: the file's own channel list (\"PBCHSRC\")\n"
    "  --no-output         write no data file (\"PBOFS\" \"DON'T CREATE\")\n"
    "  --computations      run the tool computations: DUNE spinner average and flow rate,\n"
    "                      TARN-B values from their raw readings (\"PBCOMP\" \"YES\")\n";

struct Options {
  std::string file, root, user, client, well;
  std::optional<float> offset, minDepth, maxDepth;
  bool fileChannels = false, noOutput = false, computations = false;
};

bool number(const char* text, std::optional<float>& out) {
  if (!text) return false;
  char* end = nullptr;
  const double d = std::strtod(text, &end);
  if (end == text || *end != '\0' || !std::isfinite(d) || std::fabs(d) > 1e7) return false;
  out = static_cast<float>(d);
  return true;
}

std::optional<Options> parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    const char* v = nullptr;
    if (a == "--no-output") {
      o.noOutput = true;
    } else if (a == "--computations") {
      o.computations = true;
    } else if (a == "--root" && (v = value())) {
      o.root = v;
    } else if (a == "--user" && (v = value())) {
      o.user = v;
    } else if (a == "--client" && (v = value())) {
      o.client = v;
    } else if (a == "--well" && (v = value())) {
      o.well = v;
    } else if (a == "--channels" && (v = value())) {
      if (std::strcmp(v, "string") != 0 && std::strcmp(v, "file") != 0) return std::nullopt;
      o.fileChannels = std::strcmp(v, "file") == 0;
    } else if (a == "--offset") {
      if (!number(value(), o.offset)) return std::nullopt;
    } else if (a == "--min") {
      if (!number(value(), o.minDepth)) return std::nullopt;
    } else if (a == "--max") {
      if (!number(value(), o.maxDepth)) return std::nullopt;
    } else if (!a.empty() && a[0] != '-' && o.file.empty()) {
      o.file = a;
    } else {
      return std::nullopt;
    }
  }
  if (o.file.empty() || o.root.empty()) return std::nullopt;
  return o;
}

int fail(const std::string& text) { return cli::fail("kvr-playback", text); }

}  // namespace

int main(int argc, char** argv) {
  const auto parsed = parse(argc, argv);
  if (const auto end = cli::helpOrRefusal(argc, argv, parsed, kUsage)) return *end;
  const Options& o = *parsed;

  platform::RootPaths paths(o.root);
  // The mode word and the main system parameters come with the file.
  kvr::ProgramSettings program = kvr::CKVRApp::batchSettings(paths, records::kDefaultModeWord);
  auto& table = program.systemParameters;
  if (o.offset) table[records::kPbDepthOffset].value = *o.offset;
  if (o.minDepth) table[records::kPbMinDepth].value = *o.minDepth;
  if (o.maxDepth) table[records::kPbMaxDepth].value = *o.maxDepth;
  table[records::kPbChannelSource].selectedChoice = o.fileChannels ? 1 : 0;
  table[records::kPbOutputFile].selectedChoice = o.noOutput ? 1 : 0;
  table[records::kPbComputations].selectedChoice = o.computations ? 1 : 0;

  // The session of the output: the file's own job data unless the command line names one.
  records::JobRecord job;
  {
    kvr::PosixFileSystem fs;
    kvr::CFileManager reader(fs);
    kvr::DataFileSummary summary;
    if (reader.openInput(o.file) != 0) return fail("the requested file could not be opened: " + o.file);
    if (reader.summaryCheck(kvr::kSectionJobRecord, summary) != 0 || reader.readJobRecord(job) != 0)
      return fail("the job data of " + o.file + " could not be read");
  }
  if (!o.user.empty()) job.userName = o.user;
  if (!o.client.empty()) job.client = o.client;
  if (!o.well.empty()) job.wellName = o.well;

  kvr::utilities::BatchPrompter prompter(std::cerr, platform::Answer::Yes);
  platform::testing::ManualLoop loop;
  loop.clock().setCalendarBase(platform::SystemClock().localTime());
  // No panel is needed; the station's link stays the idle simulator.
  kvr::LoggingStation station({loop, loop.clock(), prompter, paths, program},
                              kvr::simulatedPanelLink(panelsim::SimConfig{}, loop.clock()), true);
  if (!station.session().confirmJobData(job)) return fail("the job data did not start a session");
  station.menu().onJobDataConfirmed();

  auto& playback = station.playback();
  if (!playback.loadFile(o.file)) return fail("the file was not chosen for playback");
  if (!playback.startPlayback()) return fail("the playback did not start");
  loop.runPending();
  if (playback.running()) return fail("the playback did not end");

  if (playback.outputName() != kvr::msg::kNotCreated) std::cout << "file: " << playback.outputName().string() << '\n';
  for (const auto& cdf : station.charts().files()) std::cout << "file: " << cdf.string() << '\n';
#ifdef VAREXA_CHART_PNG
  kvr::ui::listChartPngsBeside(station.charts().files(), station.charts().header(), station.tools().modeWord(),
                               std::cout, std::cerr, "kvr-playback");
#endif
  std::cout << "Rows: " << playback.rowsReplayed() << '\n';
  return prompter.failures() > 0 ? 1 : 0;
}
