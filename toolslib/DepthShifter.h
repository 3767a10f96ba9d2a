#pragma once
// Lines a sensor's readings up on depth. The recorded depth of a log up is the bottom of the
// string and of a log down the reference sensor (the top-most depth-offset tool), so a
// sensor higher or lower than that point met each depth some rows earlier. After every kept
// row the shift stores that row's readings; the next rows take the readings from the right
// number of rows back.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

namespace tools {

class DepthShifter {
 public:
  static constexpr std::size_t kMaxDelayRows = 2000;
  enum class Mode { None, Up, Down };

  explicit DepthShifter(std::size_t width) : width_(width), history_((kMaxDelayRows + 1) * width, 0.0f) {}

  // Delays from the sensor's depth offset, the reference offset and the depth step (all mm).
  void configure(double sensorMm, double referenceMm, double stepMm) {
    if (stepMm <= 0) stepMm = 1;
    const double ref = referenceMm > 0 ? referenceMm : sensorMm;
    upRows_ = rows(sensorMm / stepMm);
    downRows_ = rows((ref - sensorMm) / stepMm);
    reset();
  }
  void reset() {
    count_ = 0;
    head_ = 0;
    mode_ = Mode::None;
  }

  std::size_t upRows() const { return upRows_; }
  std::size_t downRows() const { return downRows_; }
  Mode mode() const { return mode_; }

  // The readings to record for the row in progress: `current` delayed by the direction of
  // the last shift (undelayed before any shift or while the history is still short).
  void output(const float* current, float* out) const {
    const std::size_t k = mode_ == Mode::Up ? upRows_ : mode_ == Mode::Down ? downRows_ : 0;
    if (k == 0 || count_ < k) {
      std::copy(current, current + width_, out);
      return;
    }
    // head_ is the slot the next push fills; k rows back is head_ - k.
    const std::size_t slots = kMaxDelayRows + 1;
    const std::size_t slot = (head_ + slots - k) % slots;
    std::copy(history_.begin() + slot * width_, history_.begin() + (slot + 1) * width_, out);
  }

  void push(const float* current, Mode direction) {
    if (direction != mode_) {
      count_ = 0;
      head_ = 0;
      mode_ = direction;
    }
    std::copy(current, current + width_, history_.begin() + head_ * width_);
    head_ = (head_ + 1) % (kMaxDelayRows + 1);
    if (count_ < kMaxDelayRows) ++count_;
  }

 private:
  static std::size_t rows(double r) {
    if (!(r > 0)) return 0;
    return static_cast<std::size_t>(std::min(std::round(r), static_cast<double>(kMaxDelayRows)));
  }
  std::size_t width_;
  std::vector<float> history_;
  std::size_t head_ = 0;
  std::size_t count_ = 0;
  std::size_t upRows_ = 0;
  std::size_t downRows_ = 0;
  Mode mode_ = Mode::None;
};

}  // namespace tools
