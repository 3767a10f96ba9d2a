#pragma once
// What the converter knows of a KVR data file once it has been chosen: kind, limits,
// channels, unit system, the depth at the start of the log and the job data. Read through
// CFileManager only.

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "common/datafile/CFileManager.h"
#include "common/records/ChannelStruct.h"
#include "common/records/JobRecord.h"

namespace kvr::utilities {

enum class FileKind { EnglishDepth, MetricDepth, Station };

struct LasSource {
  std::filesystem::path path;
  std::uint8_t direction = kLogDown;
  float firstValue = 0;  // column 0 of the first and of the last whole row
  float lastValue = 0;
  std::uint32_t rowWidth = 0;
  std::uint64_t wholeRows = 0;
  records::ChannelList channels;
  std::int32_t modeWord = 10;  // integer part of "SVYMODE"
  float startDepth = 0;        // depth at the start of the log ("SIMSTARTD" slots)
  records::JobRecord job;

  bool station() const { return direction == kLogStation; }
  bool up() const { return direction == kLogUp; }
  bool english() const;
  FileKind kind() const;
};

// Reads an opened input through the summary check and the section readers. Returns 0, -1
// (short read, no rows) or -2 (integrity: counts disagree, or a channel whose column lies
// outside the row). The input stays open, positioned where the last reader left it.
int readSource(CFileManager& files, LasSource& source);

// Time unit of station logs from the "Time" code of the system units: the label shown and
// the factor from seconds to that unit.
struct TimeUnit {
  const char* label;
  double factor;
};
TimeUnit timeUnitFor(std::uint8_t timeCode);

struct StepEntry {
  const char* text;
  double value;  // file units: feet, metres or seconds
};
std::span<const StepEntry> stepEntries(FileKind kind);
int defaultStepIndex(FileKind kind);

}  // namespace kvr::utilities
