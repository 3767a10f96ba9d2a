#include "cli/common/CommandLine.h"
#include "cli/kvr-survey/SurveyArgs.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace kvr::survey {

const char* const kUsage =
    "usage: kvr-survey --root DIR --user U --client C --well W --tools NAME,... --latitude L --inclination I\n"
    "                  --azimuth A --toolface T [--stations N] [--survey up|down --length D --speed S]\n"
    "                  [--start-depth D] [--station-time S] [--gyro-noise SIGMA] [--gyro-bias X,Y,Z] [--sct FILE]\n"
    "                  [--acel-noise SIGMA] [--toolface-rate R]\n"
    "                  [--fault NAME]... [--yes] [--roll-test | --axis-correction]\n"
    "\n"
    "Runs a TARN-C survey session without a window on the simulated panel (virtual time): initializes\n"
    "the tool, takes N north-seeking stations (a continuous survey between the first two when asked)\n"
    "and prints \"file: PATH\" for the survey report pair, the session event log and the raw stream,\n"
    "then one line per station. Exit status 0 when every station was taken, 1 on any refusal (the\n"
    "message is on stderr), 2 on bad arguments.\n"
    "\n"
    "  --root DIR          data root: the main folder (ToolList.txt) and KVRFolder below it\n"
    "  --user, --client, --well   the job data that name the session folder\n"
    "  --tools             tool names as listed in ToolList.txt, one of them TARN-C\n"
    "  --latitude L        the well's latitude, degrees (the tool's and the survey's)\n"
    "  --inclination I, --azimuth A, --toolface T   the simulated well and tool, degrees\n"
    "  --stations N        north-seeking stations to take (default 1)\n"
    "  --survey up|down    a continuous survey after the first station, then a reset station\n"
    "  --length D          metres of the continuous survey (default 50)\n"
    "  --speed S           its line speed, m/min (default 10)\n"
    "  --start-depth D     the depth of the first station, m (default 1500)\n"
    "  --station-time S    Total Station Time, s (default the option's, 80)\n"
    "  --gyro-noise SIGMA  white gyro noise of the simulated tool, deg/h per frame\n"
    "  --acel-noise SIGMA  white accelerometer noise of the simulated tool, g per frame\n"
    "  --toolface-rate R   the tool turns in the hole at R deg/s while the continuous survey runs\n"
    "  --gyro-bias X,Y,Z   constant gyro biases of the simulated tool, deg/h\n"
    "  --sct FILE          the tool's sensor correction table, loaded into the tool and the program\n"
    "  --fault NAME        a fault of the simulated panel (see panelsim --help); may be repeated\n"
    "  --yes               answer Yes to the program's questions (default No)\n"
    "  --roll-test         instead of stations, a roll test of the horizontal tool: a simulated operator\n"
    "                      points it EAST, then WEST, as the prompts ask; prints \"file: PATH\" of the\n"
    "                      report and its graded summary (give --inclination 90 --azimuth 90)\n"
    "  --axis-correction   the same for an axis correction: the operator turns the tool about its axis\n"
    "                      to 0, 90, 180 and 270 degrees from --toolface\n";

namespace {

}  // namespace

std::optional<SurveyArgs> parseSurveyArgs(int argc, char** argv) {
  SurveyArgs o;
  bool lat = false, inc = false, azi = false, tf = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--yes") {
      o.yes = true;
      continue;
    }
    if (a == "--roll-test" || a == "--axis-correction") {
      if (!o.procedure.empty()) return std::nullopt;
      o.procedure = a.substr(2);
      continue;
    }
    if (i + 1 >= argc) return std::nullopt;
    const char* v = argv[++i];
    double d = 0;
    auto num = [&](double& target) { return cli::number(v, target); };
    bool ok = true;
    if (a == "--root") o.root = v;
    else if (a == "--user") o.user = v;
    else if (a == "--client") o.client = v;
    else if (a == "--well") o.well = v;
    else if (a == "--tools") o.tools = cli::splitList(v);
    else if (a == "--fault") o.faults.push_back(v);
    else if (a == "--sct") o.sct = v;
    else if (a == "--latitude") ok = lat = num(o.latitude);
    else if (a == "--inclination") ok = inc = num(o.inclination);
    else if (a == "--azimuth") ok = azi = num(o.azimuth);
    else if (a == "--toolface") ok = tf = num(o.toolface);
    else if (a == "--length") ok = num(o.length) && o.length > 0;
    else if (a == "--speed") ok = num(o.speed) && o.speed > 0;
    else if (a == "--start-depth") ok = num(o.startDepth);
    else if (a == "--stations") ok = num(d) && d >= 1 && d <= 1000 && d == std::floor(d), o.stations = static_cast<int>(d);
    else if (a == "--station-time") ok = num(d), o.stationTime = d;
    else if (a == "--gyro-noise") ok = num(d) && d >= 0, o.gyroNoise = d;
    else if (a == "--acel-noise") ok = num(d) && d >= 0, o.acelNoise = d;
    else if (a == "--toolface-rate") ok = num(o.toolfaceRate) && std::fabs(o.toolfaceRate) <= 10;
    else if (a == "--survey") ok = (o.survey = v) == "up" || o.survey == "down";
    else if (a == "--gyro-bias") {
      std::vector<double> b;
      for (const auto& part : cli::splitList(v)) ok = ok && cli::number(part.c_str(), d) && (b.push_back(d), true);
      ok = ok && b.size() == 3;
      o.gyroBias = b;
    } else {
      return std::nullopt;
    }
    if (!ok) return std::nullopt;
  }
  if (o.root.empty() || o.tools.empty() || !lat || !inc || !azi || !tf) return std::nullopt;
  return o;
}

}  // namespace kvr::survey
