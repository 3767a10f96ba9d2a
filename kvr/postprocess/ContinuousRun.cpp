#include "kvr/postprocess/ContinuousRun.h"

#include <atomic>
#include <limits>
#include <thread>
#include <new>

#include "common/records/ToolCodes.h"
#include "kvr/postprocess/McOutputs.h"
#include "kvr/postprocess/PostProcessTexts.h"
#include "kvr/postprocess/RawStreamFile.h"
#include "toolslib/Library.h"
#include "toolslib/families/TarnC.h"

namespace kvr::postprocess {
namespace {
constexpr double kPi = 3.1415926535898;
double radians(double degrees) { return degrees * kPi / 180; }
}  // namespace

ContinuousRun::ContinuousRun(tools::Library& tools, platform::Prompter& prompter, platform::Clock& clock,
                             TraceSink& trace)
    : tools_(tools),
      tarnC_(*static_cast<tools::TarnC*>(tools.family(records::kTarnC))),
      prompter_(prompter),
      clock_(clock),
      trace_(trace) {}

ContinuousRun::~ContinuousRun() { release(); }

CNavikor& ContinuousRun::navikor() { return tools_.navikor(); }

double ContinuousRun::wellLatitude() const {
  const auto& params = tarnC_.getParameterList();
  return params.empty() ? 0.0 : params.front().value;
}

void ContinuousRun::release() {
  CNavikor& nav = navikor();
  if (nav.sampleTable == samples_.data()) {
    nav.sampleTable = nullptr;
    nav.attitudeTable = nullptr;
    nav.sampleCount = 0;
  }
  samples_.reset();
  attitudes_.reset();
}

bool ContinuousRun::loadSamples(const std::string& rawPath, const std::vector<SESSION_EVENT>& events,
                                const SESSION_EVENT& first) {
  RawStreamFile raw(prompter_, trace_);
  if (!raw.open(rawPath)) return false;
  const long count = raw.sampleCount();
  // Navikor counts samples in an int; beyond that, or beyond memory, nothing is read.
  const auto tooMany = [&] {
    release();
    platform::tell(prompter_, text::kError, format(text::kTooManySamples, count), platform::Icon::Error);
    return false;
  };
  if (count > std::numeric_limits<int>::max()) return tooMany();
  try {
    samples_ = platform::ZeroedTable<MUESTRA>(static_cast<std::size_t>(count));
    attitudes_ = platform::ZeroedTable<MATXYZ>(samples_.size());
  } catch (const std::bad_alloc&) {
    return tooMany();
  }
  // Signed: the 180-degree count may be the lower one.
  const double pos0 = first.Pos0, span = static_cast<double>(first.Pos180) - pos0;
  const double scale = span != 0 ? 180 / span : 0;
  // Fresh pages cost a fault and the kernel's zeroing each: a second thread takes them, the
  // attitude table's first and then the sample table's from its end, until it meets the reader.
  std::atomic<std::size_t> readUpTo{0};
  std::jthread populating([this, &readUpTo] {
    constexpr std::size_t kPiece = 16384;
    attitudes_.populate(0, attitudes_.size());
    for (std::size_t end = samples_.size(); end >= kPiece && end - kPiece > readUpTo.load(); end -= kPiece)
      samples_.populate(end - kPiece, end);
  });
  const bool read = raw.readSamples([&](std::span<const RawSample> block, long at) {
    MUESTRA* out = samples_.data() + at;
    for (const RawSample& r : block) {
      const auto& v = r.v;
      out->ag.gyro = CARTXYZ(v[2], v[3], v[4]);
      out->ag.gyroTemp = CARTXYZ(v[11], v[12], v[13]);
      out->ag.acel = CARTXYZ(v[5], v[6], v[7]);
      out->ag.acelTemp = CARTXYZ(v[8], v[9], v[10]);
      out->inStop = 0;
      out->rotpos = (v[14] - pos0) * scale;
      out->time = v[1];
      out->depth = v[0];
      ++out;
    }
    readUpTo = static_cast<std::size_t>(at) + block.size();
  });
  populating.join();
  if (!read) {
    release();
    return false;
  }
  platform::tell(prompter_, text::kTestCaption,
                 format(text::kTestComplete, static_cast<int>(events.size()), count, count / 15.0),
                 platform::Icon::Information);
  if (span == 0) {
    release();
    platform::tell(prompter_, text::kError, text::kEqualPositions, platform::Icon::Error);
    return false;
  }
  CNavikor& nav = navikor();
  nav.sampleTable = samples_.data();
  nav.sampleCount = static_cast<int>(samples_.size());
  nav.attitudeTable = attitudes_.data();
  return true;
}

void ContinuousRun::addStations(const std::vector<SESSION_EVENT>& events, const std::vector<int>& stations) {
  CNavikor& nav = navikor();
  nav.stopCount = 0;
  for (std::size_t k = 0; k < stations.size(); ++k) {
    const std::size_t i = static_cast<std::size_t>(stations[k]);
    const SESSION_EVENT& e = events[i];
    ESTACIONout r;
    r.attitude = POS_PARAM{radians(e.Devi), radians(e.Azi), radians(e.Hstf), radians(e.Tf)};
    r.quality = e.Qc;
    // The station began at the event before it (its START_STATION); a first row has none.
    const double start = i > 0 ? events[i - 1].Time : e.Time;
    nav.AgregarParada(r, static_cast<int>(e.Tipo), ESTACIONin{}, ESTACIONin{}, start, e.Time, 0);
    trace_.trace(format("  Parada[%d]: T=%.3f  Devi=%.4f  Azi=%.4f  Hstf=%.4f  Tf=%.4f\n", static_cast<int>(k), start,
                        r.attitude.Devi, r.attitude.Azi, r.attitude.Hstf, r.attitude.Tf));
  }
  trace_.trace(format("Loaded %d paradas.\n", nav.stopCount));
}

bool ContinuousRun::chooseCalibration(const std::string& rawPath, CalibrationChoice choice, bool* rawUsed) {
  const auto& g = tools_.globals();
  const bool ok = tarnC_.ReadTARN_C_CALFromRawFile(rawPath);
  trace_.trace(format("RAW Calibration read from file: %s\n  SN: %s\n  Date: %s\n", ok ? "SUCCESS" : "FAILURE",
                      g.TARNC_RAW_Cal_Sensor_SN.c_str(), g.TARNC_RAW_Cal_Date.c_str()));
  trace_.trace(format("KVR Calibration: SN: %s, Date: %s\n", g.TARNC_Cal_Sensor_SN.c_str(), g.TARNC_Cal_Date.c_str()));
  const bool rawThere = ok && g.TARNC_RAW_Cal_Loaded != 0;
  const bool kvrThere = tarnC_.CheckTARN_C_CorrectionTableActive() == 1 && g.TARNC_Cal_Sensor_SN != "N/A" &&
                        !g.TARNC_Cal_Sensor_SN.empty();
  bool useRaw = false;
  switch (choice) {
    case CalibrationChoice::Raw:
      if (!rawThere) {
        platform::tell(prompter_, text::kError, text::kNoRawCalibration, platform::Icon::Error);
        return false;
      }
      useRaw = true;
      break;
    case CalibrationChoice::Kvr:
      if (!kvrThere) {
        platform::tell(prompter_, text::kError, text::kNoKvrCalibration, platform::Icon::Error);
        return false;
      }
      break;
    case CalibrationChoice::Ask:
      if (!rawThere) {
        trace_.trace("RAW calibration could not be loaded. Keeping current KVR calibration.\n");
        const auto* kvr = tarnC_.kvrCalibration();
        navikor().SetIMU2HOUSING(kvr ? kvr->imuTilt : 0, kvr ? kvr->imuDirection : 0);
        return true;
      }
      if (!kvrThere) {
        useRaw = true;
      } else if (g.TARNC_Cal_Sensor_SN != g.TARNC_RAW_Cal_Sensor_SN || g.TARNC_Cal_Date != g.TARNC_RAW_Cal_Date) {
        const std::string question =
            format(text::kMismatch, g.TARNC_Cal_Sensor_SN.c_str(), g.TARNC_Cal_Date.c_str(),
                   g.TARNC_RAW_Cal_Sensor_SN.c_str(), g.TARNC_RAW_Cal_Date.c_str());
        useRaw = prompter_.ask({text::kMismatchCaption, question, platform::Buttons::YesNo,
                                platform::Icon::Question}) == platform::Answer::Yes;
      }
      break;
  }
  if (useRaw)
    tarnC_.CargarCalibracionDLLdelRAW(&navikor());
  else
    tarnC_.CargarCalibracionDLLdelKVR(&navikor());
  *rawUsed = useRaw;
  return true;
}

void ContinuousRun::writeOutputs(const std::string& eventLogPath, const std::vector<SESSION_EVENT>& events,
                                 const std::vector<int>& stations, const ProcessOptions& options,
                                 ProcessResult& result) {
  OutputContext c;
  c.eventLogPath = eventLogPath;
  c.events = &events;
  c.stations = stations;
  c.samples = samples_.span();
  c.navikor = &navikor();
  c.sensorSerial = options.sensorSerial;
  // Unless the dialog was given one, the date of the calibration the run used.
  const auto& g = tools_.globals();
  c.calibrationDate = !options.calibrationDate.empty() ? options.calibrationDate
                      : result.rawCalibrationUsed        ? g.TARNC_RAW_Cal_Date
                                                         : g.TARNC_Cal_Date;
  c.latitude = wellLatitude();
  c.now = clock_.localTime();
  struct Step {
    Output which;
    bool (*write)(const OutputContext&, const std::string&);
    const char *failure, *done, *caption;
  };
  const Step steps[] = {
      {Output::SurveyLas, writeSurveyLas, text::kSurveyCreate, text::kSurveyDone, text::kSurveyCaption},
      {Output::DepthLas, writeDepthLas, text::kDepthCreate, text::kDepthDone, text::kDepthCaption},
      {Output::Report, writeReport, text::kReportCreate, text::kReportDone, text::kReportCaption},
  };
  // The depth file and the report are written on a second thread beside the results file;
  // the messages follow in the order of the files.
  bool written[3] = {};
  std::string paths[3];
  for (int i = 0; i < 3; ++i) paths[i] = outputPath(eventLogPath, steps[i].which);
  {
    std::jthread others([&] {
      for (int i = 1; i < 3; ++i) written[i] = steps[i].write(c, paths[i]);
    });
    written[0] = steps[0].write(c, paths[0]);
  }
  for (int i = 0; i < 3; ++i) {
    const Step& s = steps[i];
    if (!written[i]) {
      platform::tell(prompter_, text::kError, s.failure, platform::Icon::Error);
      continue;
    }
    result.outputs.push_back(paths[i]);
    platform::tell(prompter_, s.caption, format(s.done, paths[i].c_str()), platform::Icon::Information);
  }
}

ProcessResult ContinuousRun::process(const std::string& eventLogPath, const std::vector<SESSION_EVENT>& events,
                                     const ProcessOptions& options) {
  ProcessResult result;
  release();
  // Without a station nothing anchors the attitudes nor gives the indexer counts.
  const std::vector<int> stations = findSegments(events).stations;
  if (stations.empty()) {
    platform::tell(prompter_, text::kWarning, text::kNeedTwoStations, platform::Icon::Warning);
    return result;
  }
  const std::string rawPath = rawStreamPathFor(eventLogPath);
  if (!loadSamples(rawPath, events, events[static_cast<std::size_t>(stations.front())])) return result;
  CNavikor& nav = navikor();
  addStations(events, stations);
  if (!chooseCalibration(rawPath, options.calibration, &result.rawCalibrationUsed)) {
    release();
    return result;
  }
  // The earth rate the integration removes is that of the well's latitude.
  nav.SetLatitud(wellLatitude());
  nav.acelCorrOn = options.acelCorrection;
  if (!options.axisCorrection) {
    nav.SetIMU2HOUSING(0, 0);
  } else if (nav.imuTilt != 0 || nav.imuDirection != 0) {
    trace_.trace("Applying axis correction based on IMU angle and direction from calibration.\n");
    nav.SetIMU2HOUSING(nav.imuTilt, nav.imuDirection);
  }
  nav.ProcesarTABLA();
  nav.ProcesarMC();
  trace_.trace(format("ProcesarMC complete. Movimientos: %d\n", nav.movementCount));
  writeOutputs(eventLogPath, events, stations, options, result);
  tarnC_.CargarCalibracionDLLdelKVR(&nav);
  result.completed = true;
  return result;
}

}  // namespace kvr::postprocess
