// kvr-calibrate: one calibration without a window. The program's calibration engine and the
// TOOLS procedures against the simulated panel on virtual time, with the operator's answers
// given on the command line; prints the calibration's output and "file: PATH" of its report.

#include <cstdlib>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/common/CommandLine.h"
#include "common/records/SystemMode.h"
#include "kvr/app/CKVRApp.h"
#include "kvr/app/CalibrationCommands.h"
#include "kvr/app/LoggingStation.h"
#include "kvr/calibration/CalibrationMessages.h"
#include "kvr/utilities/BatchPrompter.h"
#include "panelsim/Faults.h"
#include "platform/RootPaths.h"
#include "platform/SystemClock.h"
#include "platform/testing/ManualLoop.h"
#include "usbxp/SimBackend.h"

namespace {

constexpr const char* kUsage =
    "usage: kvr-calibrate --root DIR --tools NAME,NAME,... --calibration N [--tool NAME] [--file PATH]\n"
    "                     [--user U] [--client C] [--well W] [--fault NAME[=VALUE]]... [--yes]\n"
    "\n"
    "Runs one calibration of a tool of the string on the simulated panel, end to end, prints what the\n"
    "calibration shows and \"file: PATH\" of its report (CaliReport in the session folder). Exit status 0\n"
    "when the calibration ran to its end, 1 when it was refused, cancelled or timed out, 2 on bad arguments.\n"
    "\n"
    "  --root DIR        data root: the main folder (ToolList.txt) and KVRFolder below it\n"
    "  --tools           tool names as listed in ToolList.txt, top of the string first\n"
    "  --calibration N   the calibration's number in the tool's list, from 1 (1 reads the stored calibration)\n"
    "  --tool NAME       the tool to calibrate (default: the first of the string with calibrations)\n"
    "  --file PATH       the file a calibration opens or saves (sensor correction tables, .sct)\n"
    "  --user, --client, --well   the job data that name the session folder (default CAL, SHOP, BENCH)\n"
    "  --fault NAME[=V]  a fault of the simulated panel (below); may be repeated\n"
    "  --yes             answer OK, Continue and Yes to the calibration's questions (default Cancel)\n"
    "\n"
    "Faults of the simulated panel:\n";

struct Options {
  std::string root, tool, file, user = "CAL", client = "SHOP", well = "BENCH";
  std::vector<std::string> tools, faults;
  int calibration = 0;
  bool yes = false;
};

std::optional<Options> parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    const char* v = nullptr;
    if (a == "--yes") o.yes = true;
    else if (a == "--root" && (v = value())) o.root = v;
    else if (a == "--tools" && (v = value())) o.tools = cli::splitList(v);
    else if (a == "--tool" && (v = value())) o.tool = v;
    else if (a == "--file" && (v = value())) o.file = v;
    else if (a == "--user" && (v = value())) o.user = v;
    else if (a == "--client" && (v = value())) o.client = v;
    else if (a == "--well" && (v = value())) o.well = v;
    else if (a == "--fault" && (v = value())) o.faults.push_back(v);
    else if (a == "--calibration" && (v = value())) {
      if (!cli::integer(v, 1, 255, o.calibration)) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (o.root.empty() || o.tools.empty() || o.calibration == 0) return std::nullopt;
  return o;
}

// The batch answers, and the one file the command line names for the file dialogs.
class CalibratePrompter final : public platform::Prompter {
 public:
  CalibratePrompter(bool yes, std::string file)
      : batch_(std::cerr, yes ? platform::Answer::Ok : platform::Answer::Cancel), file_(std::move(file)) {}
  platform::Answer ask(const platform::Message& m) override { return batch_.ask(m); }
  std::optional<std::string> openFile(const platform::FileRequest&) override { return path(); }
  std::optional<std::string> saveFile(const platform::FileRequest&) override { return path(); }
  std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return std::nullopt; }
  std::optional<platform::Colour> chooseColour(platform::Colour) override { return std::nullopt; }
  std::optional<std::string> inputText(const platform::TextRequest&) override { return std::nullopt; }
  int failures() const { return batch_.failures(); }

 private:
  std::optional<std::string> path() const {
    if (file_.empty()) return std::nullopt;
    return file_;
  }
  kvr::utilities::BatchPrompter batch_;
  std::string file_;
};

// The output window on stdout.
class PrintedView final : public kvr::CalibrationView {
 public:
  void appendOutput(const std::string& text) override {
    std::cout << text << std::flush;
    output += text;
  }
  void showProgress(const std::string&) override {}
  void setProgress(int) override {}
  void hideProgress() override {}
  std::string output;
};

int fail(const std::string& text) { return cli::fail("kvr-calibrate", text); }

}  // namespace

int main(int argc, char** argv) {
  const auto parsed = parse(argc, argv);
  if (const auto end = cli::helpOrRefusal(argc, argv, parsed, kUsage + panelsim::faultHelp())) return *end;
  const Options& o = *parsed;
  panelsim::Faults faults;
  for (const auto& f : o.faults)
    if (auto err = panelsim::applyFault(faults, f)) return fail(*err);

  platform::RootPaths paths(o.root);
  kvr::ProgramSettings program = kvr::CKVRApp::batchSettings(paths, records::kModeEnglish | records::kModeHigh);
  CalibratePrompter prompter(o.yes, o.file);
  platform::testing::ManualLoop loop;
  loop.clock().setCalendarBase(platform::SystemClock().localTime());  // the report carries the real date
  panelsim::SimConfig config;
  config.winch.direction = panelsim::Direction::Still;
  config.faults = faults;
  kvr::LoggingStation station({loop, loop.clock(), prompter, paths, program},
                              kvr::simulatedPanelLink(config, loop.clock()), true);

  if (auto err = station.startBatchJob(o.user, o.client, o.well, o.tools)) return fail(*err);
  if (!station.dialog().startTelemetry()) return fail("telemetry did not start");
  loop.advance(1000);

  PrintedView view;
  kvr::Calibrations dialog(station, prompter, loop, loop.clock(), paths, view);
  auto& cal = dialog.manager();
  if (!cal.hasTools()) return fail("no tool of the string has calibrations");
  if (!o.tool.empty()) {
    std::size_t guard = 0;
    while (cal.toolName() != o.tool && guard++ < o.tools.size()) cal.next();
    if (cal.toolName() != o.tool) return fail("the string has no tool " + o.tool + " with calibrations");
  }
  const auto names = cal.calibrationNames();
  if (static_cast<std::size_t>(o.calibration) > names.size())
    return fail(cal.title() + " has " + std::to_string(names.size()) + " calibrations");
  std::cout << cal.title() << ": " << names[static_cast<std::size_t>(o.calibration - 1)] << '\n';

  cal.start(static_cast<std::size_t>(o.calibration - 1));
  const bool ended = loop.advanceUntil([&] { return !cal.running(); }, 600000, 50);
  station.dialog().stopTelemetry();
  if (cal.report()) std::cout << "\nfile: " << cal.report()->path().string() << '\n';
  if (!ended) return fail("the calibration did not end");
  if (view.output.find(kvr::cal_text::kTimeout) != std::string::npos) return fail("the tool did not answer in time");
  if (prompter.failures() > 0) return 1;
  return cal.completed() ? 0 : fail("the calibration was cancelled");
}
