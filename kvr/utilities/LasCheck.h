#pragma once
// Checks any LAS file against CWLS LAS 2.0 and lists every departure with its line number:
// line ends, tabs, the sections and their order, header line syntax, the required ~V and ~W
// lines, the index curve, the data lines (numbers, counts, wrapping) and whether STRT, STOP
// and STEP agree with the index column. Reads bytes only; never trusts a count in them.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kvr::utilities {

struct LasDeparture {
  std::size_t line;  // 1-based; 0 for the file as a whole
  std::string text;
};

struct LasCheckReport {
  std::vector<LasDeparture> departures;  // in line order per kind; repeats past a cap are counted
  std::size_t lines = 0;
  std::size_t dataSteps = 0;
  bool conforms() const { return departures.empty(); }
};

// Beyond this many lines of one kind of departure, the rest are summed up in one entry.
constexpr std::size_t kDeparturesPerKind = 20;

LasCheckReport checkLas2(std::string_view bytes);

}  // namespace kvr::utilities
