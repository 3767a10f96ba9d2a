#pragma once
// The index column of a converted file: the text of line k's index value. The default layout
// writes the value with the chosen decimals; strict LAS 2.0 counts in whole units of its last
// decimal, so STRT + k x STEP is exactly the text of every line.

#include <cstdint>
#include <string>

#include "kvr/utilities/LasJob.h"
#include "kvr/utilities/LasSource.h"

namespace kvr::utilities {

class IndexGrid {
 public:
  IndexGrid(const LasSource& source, const LasJob& job);

  char* write(char* out, std::int64_t line) const;  // room: las::kDoubleTextRoom
  std::string text(std::int64_t line) const;
  std::string stepText() const;  // strict layout only
  double value(std::int64_t line) const;
  double step() const { return step_ * factor_; }
  // Unit of the index as strict LAS 2.0 names it ("FT", "M", "S", "MIN", "HR", "D").
  const std::string& unit() const { return unit_; }
  int decimals() const { return decimals_; }

 private:
  bool strict_;
  double start_, step_, factor_, offset_;
  int decimals_;
  std::int64_t startUnits_ = 0, stepUnits_ = 0;
  std::string unit_;
};

}  // namespace kvr::utilities
