#pragma once
// The sample ring: 1000 rows of N floats, written one row per kept frame by the frame
// dispatch, flushed to the data file and shown on the log displays. Positions are float
// indices into the block; the last position is the ring's last float.

#include <cstddef>
#include <vector>

namespace kvr {

class SampleRing {
 public:
  static constexpr std::size_t kRows = 1000;

  // Frees the old block and allocates kRows x rowWidth floats; every position returns to the start.
  void allocate(std::size_t rowWidth) {
    rowWidth_ = rowWidth;
    data_.assign(kRows * rowWidth, 0.0f);
    write_ = flushed_ = displayed_ = 0;
  }

  std::size_t rowWidth() const { return rowWidth_; }
  std::size_t size() const { return data_.size(); }
  bool empty() const { return data_.empty(); }
  float* data() { return data_.data(); }
  const float* data() const { return data_.data(); }
  std::size_t start() const { return 0; }
  std::size_t last() const { return data_.empty() ? 0 : data_.size() - 1; }

  // Current write position, last flushed position, last displayed position.
  std::size_t write() const { return write_; }
  std::size_t flushed() const { return flushed_; }
  std::size_t displayed() const { return displayed_; }
  void setWrite(std::size_t p) { write_ = wrap(p); }
  void setFlushed(std::size_t p) { flushed_ = wrap(p); }
  void setDisplayed(std::size_t p) { displayed_ = wrap(p); }

  // A position moved on by n floats, wrapping at the end of the block.
  std::size_t advance(std::size_t p, std::size_t n) const { return data_.empty() ? 0 : (p + n) % data_.size(); }
  // Floats between two positions going forward (from == to: none).
  std::size_t distance(std::size_t from, std::size_t to) const {
    return to >= from ? to - from : data_.size() - from + to;
  }

 private:
  std::size_t wrap(std::size_t p) const { return data_.empty() ? 0 : p % data_.size(); }
  std::vector<float> data_;
  std::size_t rowWidth_ = 0;
  std::size_t write_ = 0;
  std::size_t flushed_ = 0;
  std::size_t displayed_ = 0;
};

}  // namespace kvr
