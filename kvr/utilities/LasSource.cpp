#include "kvr/utilities/LasSource.h"

#include <cmath>

#include "common/records/SysParameter.h"
#include "common/records/SystemMode.h"

namespace kvr::utilities {

bool LasSource::english() const { return records::isEnglish(modeWord); }

FileKind LasSource::kind() const {
  if (station()) return FileKind::Station;
  return english() ? FileKind::EnglishDepth : FileKind::MetricDepth;
}

int readSource(CFileManager& files, LasSource& source) {
  DataFileSummary summary;
  if (int r = files.summaryCheck(kSectionChannels, summary); r != 0) return r;
  source.direction = summary.direction;
  source.firstValue = summary.firstValue;
  source.lastValue = summary.lastValue;
  source.rowWidth = summary.rowWidth;
  source.wholeRows = summary.wholeRows;
  if (int r = files.readChannelList(source.channels); r != 0) return r;
  // A column outside the row would read another channel's value, or past the row.
  for (const auto& c : source.channels) {
    if (c.column() >= source.rowWidth) return -2;
  }
  if (int r = files.summaryCheck(kSectionMainParameters, summary); r != 0) return r;
  std::vector<records::SysParameterS> table;
  if (int r = files.readMainSystemParameters(table); r != 0) return r;
  const float mode = table[records::kSvyMode].value;
  source.modeWord = std::isfinite(mode) && std::fabs(mode) < 2e9f ? static_cast<std::int32_t>(mode) : 0;
  source.startDepth = records::getStartStamp(table[records::kSimStartDepth]).depth;
  return files.readJobRecord(source.job);
}

TimeUnit timeUnitFor(std::uint8_t timeCode) {
  switch (timeCode) {
    case 21: return {"Min", 1.0 / 60.0};
    case 22: return {"Hour", 1.0 / 3600.0};
    case 23: return {"Day", 1.0 / 86400.0};
    default: return {"Sec", 1.0};
  }
}

namespace {
constexpr StepEntry kEnglishSteps[] = {{"30 ft", 30}, {"10 ft", 10}, {"6 ft", 6},      {"2 ft", 2},
                                       {"1 ft", 1},   {"0.5 ft", 0.5}, {"0.25 ft", 0.25}};
constexpr StepEntry kMetricSteps[] = {{"10 m", 10}, {"5 m", 5},     {"2 m", 2},    {"1 m", 1},
                                      {"0.3 m", 0.3}, {"0.2 m", 0.2}, {"0.1 m", 0.1}};
constexpr StepEntry kStationSteps[] = {
    {"1 hr", 3600},  {"30 min", 1800}, {"20 min", 1200}, {"10 min", 600},  {"5 min", 300},   {"2 min", 120},
    {"1 min", 60},   {"30 sec", 30},   {"20 sec", 20},   {"10 sec", 10},   {"5 sec", 5},     {"2 sec", 2},
    {"1 sec", 1},    {"0.5 sec", 0.5}, {"0.2 sec", 0.2}, {"0.1 sec", 0.1}};
}  // namespace

std::span<const StepEntry> stepEntries(FileKind kind) {
  switch (kind) {
    case FileKind::EnglishDepth: return kEnglishSteps;
    case FileKind::MetricDepth: return kMetricSteps;
    case FileKind::Station: return kStationSteps;
  }
  return kEnglishSteps;
}

int defaultStepIndex(FileKind kind) {
  switch (kind) {
    case FileKind::EnglishDepth: return 4;  // "1 ft"
    case FileKind::MetricDepth: return 4;   // "0.3 m"
    case FileKind::Station: return 12;      // "1 sec"
  }
  return 0;
}

}  // namespace kvr::utilities
