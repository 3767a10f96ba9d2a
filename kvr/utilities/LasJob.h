#pragma once
// One conversion as the writer runs it: which channels, the output grid in file units, and
// the layout choices. CKvrToAscii builds it from the dialog fields; kvr-convert likewise.

#include <cstdint>
#include <string>
#include <vector>

#include "kvr/utilities/LasFilter.h"

namespace kvr::utilities {

struct LasJob {
  std::vector<std::size_t> channels;  // positions in the source's channel list, in list order
  // Output grid in file units (seconds for station logs): line k is for start + k x step,
  // k = 0 .. lines; a negative `lines` writes none.
  double start = 0;
  double step = 1;
  std::int64_t lines = 0;
  // Index value of a line: depth logs v + offset, station logs v x indexFactor + offset.
  double offset = 0;
  double indexFactor = 1;
  const char* timeUnitLabel = "Sec";  // the unit the station index is written in
  int digits = 2;
  bool tab = false;
  int spaces = 1;
  bool wrapped = false;
  bool header = true;
  bool curveNames = true;
  bool mergeCcl = false;
  // CWLS LAS 2.0 to the letter: spaces only, NULL -999.25, exact index grid, every section.
  bool strictLas2 = false;
  FilterSettings filter;
  std::string sourceName;      // input's file title
  std::string fileId;          // title + ".las"
  std::string creationTime;    // "%a, %b %d, %Y - %H:%M:%S"

  double finalValue() const { return start + static_cast<double>(lines) * step; }
};

}  // namespace kvr::utilities
