// kvr-postprocess: the continuous-mode analysis of a TARN-C session without the desktop.

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "cli/common/CommandLine.h"
#include "common/records/ToolCodes.h"
#include "kvr/postprocess/PostProcessManager.h"
#include "kvr/utilities/BatchPrompter.h"
#include "platform/SystemClock.h"
#include "toolslib/Library.h"
#include "toolslib/families/TarnC.h"

namespace {

constexpr const char* kUsage =
    "usage: kvr-postprocess SESSION.csv [options]\n"
    "Processes a TARN-C session (Output/Session_n.csv and its DataSessionn.raw) into\n"
    "MCResults_n.las, MCDepth_n.las and MCReport_n.txt beside the event log, and prints\n"
    "\"file: PATH\" for each file written. Messages go to standard error.\n"
    "\n"
    "  --calibration raw|kvr   use the stream's calibration or the --sct table without asking\n"
    "                          (default: the stream's when there is no table, else ask)\n"
    "  --yes                   answer Yes when asked whether to use the stream's calibration\n"
    "                          (default: No, the table is kept)\n"
    "  --sct FILE              the program's sensor correction table\n"
    "  --latitude DEG          the well latitude (the TARN-C parameter; default 0)\n"
    "  --axis-correction       enable axis correction (the calibration's IMU mounting)\n"
    "  --no-acelerometer-correction\n"
    "                          disable the accelerometer corrections\n"
    "  --trace                 write the diagnostic traces to standard error\n"
    "  --help                  this text\n";

int fail(const std::string& message) {
  cli::fail("kvr-postprocess", message);
  return 2;  // a refused command line
}

class StderrTrace final : public kvr::postprocess::TraceSink {
 public:
  void trace(std::string_view text) override { std::cerr << text; }
};

}  // namespace

int main(int argc, char** argv) {
  namespace pp = kvr::postprocess;
  std::string session, sct;
  double latitude = 0;
  bool yes = false, trace = false, axis = false, acel = true;
  pp::CalibrationChoice choice = pp::CalibrationChoice::Ask;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--calibration" && hasValue) {
      const std::string v = argv[++i];
      if (v == "raw") choice = pp::CalibrationChoice::Raw;
      else if (v == "kvr") choice = pp::CalibrationChoice::Kvr;
      else return fail("--calibration takes raw or kvr");
    } else if (arg == "--sct" && hasValue) {
      sct = argv[++i];
    } else if (arg == "--latitude" && hasValue) {
      char* end = nullptr;
      latitude = std::strtod(argv[++i], &end);
      if (*end != '\0' || !(latitude >= -90 && latitude <= 90)) return fail("--latitude takes degrees from -90 to 90");
    } else if (arg == "--yes") {
      yes = true;
    } else if (arg == "--trace") {
      trace = true;
    } else if (arg == "--axis-correction") {
      axis = true;
    } else if (arg == "--no-acelerometer-correction") {
      acel = false;
    } else if (!arg.empty() && arg[0] == '-') {
      return fail("unknown option " + arg + " (see --help)");
    } else if (session.empty()) {
      session = arg;
    } else {
      return fail("only one session event log can be given");
    }
  }
  if (session.empty()) return fail("no session event log given (see --help)");

  tools::Library lib;
  auto& tarnC = *static_cast<tools::TarnC*>(lib.family(records::kTarnC));
  tarnC.getParameterList()[tools::TarnC::kLatitude].value = static_cast<float>(latitude);
  tarnC.init();
  if (!sct.empty()) {
    std::string error;
    if (!tarnC.loadCorrectionTable(sct, &error)) return fail(error);
  }
  kvr::utilities::BatchPrompter prompter(std::cerr, yes ? platform::Answer::Ok : platform::Answer::Cancel);
  platform::SystemClock clock;
  StderrTrace toStderr;
  pp::NullTrace quiet;
  pp::PostProcessManager manager(lib, prompter, clock, trace ? static_cast<pp::TraceSink&>(toStderr) : quiet);
  manager.options.axisCorrection = axis;
  manager.options.acelCorrection = acel;
  manager.options.calibration = choice;
  if (!manager.load(session)) return 1;
  const pp::ProcessResult r = manager.process();
  for (const auto& path : r.outputs) std::printf("file: %s\n", path.c_str());
  return r.completed && r.outputs.size() == 3 ? 0 : 1;
}
