#pragma once
// The three outputs of a continuous-mode run, written beside the event log: the survey LAS
// (MCResults_n.las, an attitude per sample with the station and movement reports in its
// comments), the depth LAS (MCDepth_n.las, time and depth per sample) and the report
// (MCReport_n.txt, the configuration and every movement).

#include <span>
#include <string>
#include <vector>

#include "navikor/Navikor.h"
#include "platform/Clock.h"
#include "kvr/postprocess/SessionLog.h"

namespace kvr::postprocess {

struct OutputContext {
  std::string eventLogPath;
  const std::vector<SESSION_EVENT>* events = nullptr;
  std::vector<int> stations;  // END_STATION indexes
  std::span<const MUESTRA> samples;
  CNavikor* navikor = nullptr;  // after ProcesarMC: movements, attitudes, settings
  int sensorSerial = 0;
  std::string calibrationDate;
  double latitude = 0;  // degrees, the tool parameter
  platform::CalendarTime now;
};

enum class Output { SurveyLas, DepthLas, Report };

// "%sMCResults_%s.las", "%sMCDepth_%s.las", "%sMCReport_%s.txt" of the event log's folder
// and its title after the last underscore.
std::string outputPath(const std::string& eventLogPath, Output which);

// Each creates its file exclusively; false when it could not be created or written.
bool writeSurveyLas(const OutputContext& c, const std::string& path);
bool writeDepthLas(const OutputContext& c, const std::string& path);
bool writeReport(const OutputContext& c, const std::string& path);

}  // namespace kvr::postprocess
