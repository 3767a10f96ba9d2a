#pragma once
// The moving-average filter of the converter ("Filter Options"): each chosen channel keeps
// its last W recorded values and, once two or more are held, a row's value becomes their mean.

#include <cstdint>
#include <string>
#include <vector>

namespace kvr::utilities {

struct FilterSettings {
  enum class Mode { Interval, ItemCount };
  bool active = false;
  Mode mode = Mode::Interval;
  float distanceInterval = 1.0f;  // feet or metres
  float timeInterval = 1.0f;      // seconds
  int itemCount = 5;
  std::vector<std::string> channels;  // mnemonics, among the converter's selected channels

  // The ranges of the dialog fields: distance 0.5 to 30 (English) or 0.2 to 10 (metric),
  // time 0.4 to 100 s, count 2 to 500.
  void clamp(bool english);
};

// W: the item count, or the interval over the recording step (0.1 m, 0.25 ft, 0.2 s) rounded.
int filterWindow(const FilterSettings& f, bool english, bool station);

class MovingAverage {
 public:
  MovingAverage(std::vector<std::uint32_t> columns, int window);
  bool enabled() const { return !columns_.empty() && window_ >= 1; }
  // Enters the row's values and replaces them by the means; rows in file order.
  void apply(float* row);

 private:
  std::vector<std::uint32_t> columns_;
  std::size_t window_;
  std::vector<float> ring_;  // window_ values per column
  std::vector<double> sums_;
  std::size_t held_ = 0;  // values held per column (the same for every column)
  std::size_t next_ = 0;  // ring slot of the next value
};

}  // namespace kvr::utilities
