#include "kvr/utilities/LasIndex.h"

#include <cmath>
#include <cstring>

#include "kvr/utilities/LasNumber.h"

namespace kvr::utilities {

namespace {

// Fewest decimals (up to 4) that write x exactly, or -1.
int decimalsNeeded(double x) {
  double scaled = x;
  for (int d = 0; d <= 4; ++d, scaled *= 10) {
    if (std::fabs(scaled - std::round(scaled)) <= 1e-6 * std::max(1.0, std::fabs(scaled))) return d;
  }
  return -1;
}

const char* strictTimeUnit(const char* label) {
  if (std::strcmp(label, "Min") == 0) return "MIN";
  if (std::strcmp(label, "Hour") == 0) return "HR";
  if (std::strcmp(label, "Day") == 0) return "D";
  return "S";
}

}  // namespace

IndexGrid::IndexGrid(const LasSource& source, const LasJob& job)
    : strict_(job.strictLas2),
      start_(job.start),
      step_(job.step),
      factor_(source.station() ? job.indexFactor : 1.0),
      offset_(job.offset),
      decimals_(job.digits) {
  unit_ = source.station() ? strictTimeUnit(job.timeUnitLabel) : source.english() ? "FT" : "M";
  if (!strict_) return;
  int need = decimalsNeeded(step_ * factor_);
  if (need < 0 && source.station()) {
    // A step that is no whole count of 0.0001 in the shown time unit: seconds then.
    offset_ /= factor_;
    factor_ = 1.0;
    unit_ = "S";
    need = decimalsNeeded(step_);
  }
  decimals_ = std::max(decimals_, need < 0 ? 4 : need);
  const double scale = std::pow(10.0, decimals_);
  startUnits_ = std::llround((start_ * factor_ + offset_) * scale);
  stepUnits_ = std::llround(step_ * factor_ * scale);
}

double IndexGrid::value(std::int64_t line) const {
  if (strict_) return static_cast<double>(startUnits_ + line * stepUnits_) / std::pow(10.0, decimals_);
  return (start_ + static_cast<double>(line) * step_) * factor_ + offset_;
}

char* IndexGrid::write(char* out, std::int64_t line) const {
  if (strict_) return las::formatScaled(out, startUnits_ + line * stepUnits_, decimals_);
  return las::formatFixed(out, value(line), decimals_);
}

std::string IndexGrid::text(std::int64_t line) const {
  char buf[las::kDoubleTextRoom];
  return std::string(buf, write(buf, line));
}

std::string IndexGrid::stepText() const {
  char buf[las::kDoubleTextRoom];
  return std::string(buf, las::formatScaled(buf, stepUnits_, decimals_));
}

}  // namespace kvr::utilities
