#include "kvr/utilities/LasFilter.h"

#include <algorithm>
#include <cmath>

namespace kvr::utilities {

void FilterSettings::clamp(bool english) {
  const float lo = english ? 0.5f : 0.2f, hi = english ? 30.0f : 10.0f;
  if (!(distanceInterval >= lo)) distanceInterval = lo;
  if (distanceInterval > hi) distanceInterval = hi;
  if (!(timeInterval >= 0.4f)) timeInterval = 0.4f;
  if (timeInterval > 100.0f) timeInterval = 100.0f;
  itemCount = std::clamp(itemCount, 2, 500);
}

int filterWindow(const FilterSettings& f, bool english, bool station) {
  if (f.mode == FilterSettings::Mode::ItemCount) return f.itemCount;
  const double w = station ? f.timeInterval / 0.2 : f.distanceInterval / (english ? 0.25 : 0.1);
  return static_cast<int>(std::lround(w));
}

MovingAverage::MovingAverage(std::vector<std::uint32_t> columns, int window)
    : columns_(std::move(columns)), window_(window < 1 ? 1 : static_cast<std::size_t>(window)) {
  ring_.assign(columns_.size() * window_, 0.0f);
  sums_.assign(columns_.size(), 0.0);
}

void MovingAverage::apply(float* row) {
  const std::size_t n = columns_.size();
  const bool full = held_ == window_;
  for (std::size_t i = 0; i < n; ++i) {
    float& v = row[columns_[i]];
    float* ring = ring_.data() + i * window_;
    if (full) sums_[i] -= ring[next_];
    ring[next_] = v;
    sums_[i] += v;
  }
  if (!full) ++held_;
  next_ = (next_ + 1) % window_;
  // Running sums drift and keep a non-finite value forever; once per turn of the ring they
  // are summed afresh from the values held.
  if (next_ == 0) {
    for (std::size_t i = 0; i < n; ++i) {
      const float* ring = ring_.data() + i * window_;
      double s = 0;
      for (std::size_t j = 0; j < held_; ++j) s += ring[j];
      sums_[i] = s;
    }
  }
  if (held_ < 2) return;
  for (std::size_t i = 0; i < n; ++i) row[columns_[i]] = static_cast<float>(sums_[i] / static_cast<double>(held_));
}

}  // namespace kvr::utilities
