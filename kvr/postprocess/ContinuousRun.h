#pragma once
// "Process" of the Post Processing Manager: the raw stream of a loaded session converted to
// Navikor's sample table, the END_STATION events added as stations, the calibration chosen
// (the stream's own or the program's), ProcesarTABLA and ProcesarMC, then the three outputs,
// and the program's calibration put back.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "navikor/Navikor.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/ZeroedTable.h"
#include "kvr/postprocess/SessionLog.h"
#include "kvr/postprocess/Trace.h"

namespace tools {
class Library;
class TarnC;
}  // namespace tools

namespace kvr::postprocess {

enum class CalibrationChoice { Ask, Raw, Kvr };

struct ProcessOptions {
  bool axisCorrection = false;  // "Enable Axis Correction"
  bool acelCorrection = true;   // "Enable Acelerometer Correction"
  int sensorSerial = 0;         // shown in the results header
  std::string calibrationDate;  // empty: that of the calibration used
  // Ask: the stream's calibration when the program has none, the question when they differ.
  // Raw and Kvr take that one without a question (the headless program's choice).
  CalibrationChoice calibration = CalibrationChoice::Ask;
};

struct ProcessResult {
  bool completed = false;  // the analysis ran (outputs may still have failed)
  std::vector<std::string> outputs;  // the files written
  bool rawCalibrationUsed = false;
};

class ContinuousRun {
 public:
  // The TOOLS library holds the TARN-C calibrations and the program's CNavikor.
  ContinuousRun(tools::Library& tools, platform::Prompter& prompter, platform::Clock& clock, TraceSink& trace);
  ~ContinuousRun();
  ContinuousRun(const ContinuousRun&) = delete;
  ContinuousRun& operator=(const ContinuousRun&) = delete;

  ProcessResult process(const std::string& eventLogPath, const std::vector<SESSION_EVENT>& events,
                        const ProcessOptions& options);

  // The tables of the last run, kept until the next one.
  std::span<const MUESTRA> samples() const { return samples_.span(); }
  CNavikor& navikor();

 private:
  bool loadSamples(const std::string& rawPath, const std::vector<SESSION_EVENT>& events, const SESSION_EVENT& first);
  void addStations(const std::vector<SESSION_EVENT>& events, const std::vector<int>& stations);
  // False when the run must end (a calibration asked for is not there).
  bool chooseCalibration(const std::string& rawPath, CalibrationChoice choice, bool* rawUsed);
  void writeOutputs(const std::string& eventLogPath, const std::vector<SESSION_EVENT>& events,
                    const std::vector<int>& stations, const ProcessOptions& options, ProcessResult& result);
  void release();
  // The first TARN-C parameter: the earth rate removed and the headers' latitude.
  double wellLatitude() const;

  tools::Library& tools_;
  tools::TarnC& tarnC_;
  platform::Prompter& prompter_;
  platform::Clock& clock_;
  TraceSink& trace_;
  platform::ZeroedTable<MUESTRA> samples_;
  platform::ZeroedTable<MATXYZ> attitudes_;
};

}  // namespace kvr::postprocess
