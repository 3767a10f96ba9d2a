#pragma once
// The session event log of a TARN-C survey (Output/Session_n.csv): one CSV row per event,
// time, kind, the station result and the two indexer counts, then the event name. Read
// here into events, and paired into the continuous stretches between stations.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Prompter.h"
#include "kvr/postprocess/Trace.h"

namespace kvr::postprocess {

struct SESSION_EVENT {
  double Time = 0;  // tool time, s
  unsigned Tipo = 0;  // 0 good station, 1 quality below 60
  double Devi = 0, Azi = 0, Hstf = 0, Tf = 0;  // degrees
  double Qc = 0;  // percent
  unsigned Pos0 = 0, Pos180 = 0;  // indexer counts of the two station positions
  std::string Flag;  // event name, at most 255 characters
};

struct CONTINUO_SEGMENT {
  int startEvent = 0, endEvent = 0;  // indexes of the two END_STATION events
  double startTime = 0, endTime = 0, duration = 0;
  double iniDevi = 0, iniAzi = 0, iniHstf = 0, iniTf = 0;
  double finDevi = 0, finAzi = 0, finHstf = 0, finTf = 0;
};

struct SegmentList {
  std::vector<int> stations;  // END_STATION indexes in event order
  std::vector<CONTINUO_SEGMENT> segments;
};

inline constexpr std::string_view kEndStation = "END_STATION";
inline constexpr std::size_t kMaxLogLine = 1023;

// The events of a log's text: the first line is the header; LF, CR LF and CR all end lines.
std::vector<SESSION_EVENT> parseSessionLog(std::string_view text);

// Reads the file and traces what was loaded; a file that cannot be read shows its message
// and gives nothing.
std::optional<std::vector<SESSION_EVENT>> LoadSessionLog(const std::string& path, platform::Prompter& prompter,
                                                         TraceSink& trace);

// The segments between consecutive END_STATION events, without messages.
SegmentList findSegments(const std::vector<SESSION_EVENT>& events);
// The same with its traces and messages (the warning below two stations, the count found).
SegmentList FindContinuousSegments(const std::vector<SESSION_EVENT>& events, platform::Prompter& prompter,
                                   TraceSink& trace);

}  // namespace kvr::postprocess
