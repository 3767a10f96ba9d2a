#include "kvr/postprocess/SessionLog.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "kvr/postprocess/PostProcessTexts.h"

namespace kvr::postprocess {
namespace {

// One row with the writer's pattern into a zeroed event; kept with at least two fields.
std::optional<SESSION_EVENT> parseRow(const std::string& line) {
  SESSION_EVENT e;
  char flag[256] = {};
  const int n = std::sscanf(line.c_str(), "%lf,%u,%lf,%lf,%lf,%lf,%lf,%u,%u,%255[^,\r\n]", &e.Time, &e.Tipo, &e.Devi,
                            &e.Azi, &e.Hstf, &e.Tf, &e.Qc, &e.Pos0, &e.Pos180, flag);
  if (n < 2) return std::nullopt;
  if (n == 10) e.Flag = flag;
  return e;
}

}  // namespace

std::vector<SESSION_EVENT> parseSessionLog(std::string_view text) {
  std::vector<SESSION_EVENT> events;
  std::size_t at = 0;
  bool header = true;
  while (at < text.size()) {
    // A line ends at LF, CR or CR LF; a longer one is read in pieces of kMaxLogLine.
    std::size_t end = at;
    while (end < text.size() && end - at < kMaxLogLine && text[end] != '\n' && text[end] != '\r') ++end;
    const std::string line(text.substr(at, end - at));
    if (end < text.size() && text[end] == '\r') {
      if (++end < text.size() && text[end] == '\n') ++end;
    } else if (end < text.size() && text[end] == '\n') {
      ++end;
    }
    at = end;
    if (header) {
      header = false;
      continue;
    }
    if (line.size() <= 2) continue;
    if (auto e = parseRow(line)) events.push_back(std::move(*e));
  }
  return events;
}

std::optional<std::vector<SESSION_EVENT>> LoadSessionLog(const std::string& path, platform::Prompter& prompter,
                                                         TraceSink& trace) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    platform::tell(prompter, text::kError, text::kCsvOpen, platform::Icon::Error);
    return std::nullopt;
  }
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  auto events = parseSessionLog(bytes);
  trace.trace(format("CSV loaded: %d events found.\n\nFile: %s\n", static_cast<int>(events.size()), path.c_str()));
  for (std::size_t i = 0; i < events.size(); ++i) {
    const auto& e = events[i];
    trace.trace(format("  Event[%d]: T=%.3f  Tipo=%u  Devi=%.4f  Azi=%.4f  Hstf=%.4f  Tf=%.4f  Qc=%.4f  Pos0=%u  "
                       "Pos180=%u  Flag=%s\n",
                       static_cast<int>(i), e.Time, e.Tipo, e.Devi, e.Azi, e.Hstf, e.Tf, e.Qc, e.Pos0, e.Pos180,
                       e.Flag.c_str()));
  }
  return events;
}

SegmentList findSegments(const std::vector<SESSION_EVENT>& events) {
  SegmentList r;
  for (std::size_t i = 0; i < events.size(); ++i)
    if (events[i].Flag == kEndStation) r.stations.push_back(static_cast<int>(i));
  for (std::size_t k = 0; k + 1 < r.stations.size(); ++k) {
    const auto& a = events[static_cast<std::size_t>(r.stations[k])];
    const auto& b = events[static_cast<std::size_t>(r.stations[k + 1])];
    CONTINUO_SEGMENT s;
    s.startEvent = r.stations[k];
    s.endEvent = r.stations[k + 1];
    s.startTime = a.Time;
    s.endTime = b.Time;
    s.duration = b.Time - a.Time;
    s.iniDevi = a.Devi, s.iniAzi = a.Azi, s.iniHstf = a.Hstf, s.iniTf = a.Tf;
    s.finDevi = b.Devi, s.finAzi = b.Azi, s.finHstf = b.Hstf, s.finTf = b.Tf;
    r.segments.push_back(s);
  }
  return r;
}

SegmentList FindContinuousSegments(const std::vector<SESSION_EVENT>& events, platform::Prompter& prompter,
                                   TraceSink& trace) {
  SegmentList r = findSegments(events);
  trace.trace(format("Found %d END_STATION events.\n", static_cast<int>(r.stations.size())));
  if (r.stations.size() < 2) {
    platform::tell(prompter, text::kWarning, text::kNeedTwoStations, platform::Icon::Warning);
    return r;
  }
  trace.trace(format("\n=== %d CONTINUO segments found ===\n", static_cast<int>(r.segments.size())));
  for (std::size_t k = 0; k < r.segments.size(); ++k) {
    const auto& s = r.segments[k];
    trace.trace(format("  CONTINUO[%d]: T=[%.3f -> %.3f]  dur=%.1f sec (%.1f min)\n    INI: Devi=%.4f Azi=%.4f "
                       "Hstf=%.4f Tf=%.4f\n    FIN: Devi=%.4f Azi=%.4f Hstf=%.4f Tf=%.4f\n",
                       static_cast<int>(k), s.startTime, s.endTime, s.duration, s.duration / 60, s.iniDevi, s.iniAzi,
                       s.iniHstf, s.iniTf, s.finDevi, s.finAzi, s.finHstf, s.finTf));
  }
  platform::tell(prompter, text::kSegmentsCaption,
                 format(text::kSegmentsFound, static_cast<int>(r.segments.size()), static_cast<int>(r.stations.size())),
                 platform::Icon::Information);
  return r;
}

}  // namespace kvr::postprocess
