#pragma once
// Rows of a data file read in blocks, and rows written to the output through the sample
// ring and CFileManager's flush.

#include <cstddef>
#include <vector>

#include "common/datafile/CFileManager.h"
#include "common/datafile/SampleRing.h"

namespace kvr::utilities {

// The whole rows of an input positioned at its first row; an incomplete last row is never
// returned.
class RowSource {
 public:
  RowSource(CFileManager& fm, std::size_t rowWidth, std::size_t blockFloats);
  // The current row, or nullptr at the end.
  const float* row() const { return at_ < rows_ ? buffer_.data() + at_ * width_ : nullptr; }
  void advance();

 private:
  void fill();
  CFileManager& fm_;
  std::size_t width_;
  std::vector<float> buffer_;
  std::size_t rows_ = 0;
  std::size_t at_ = 0;
};

// Collects output rows in a sample ring and flushes it before it would wrap onto rows not
// yet written.
class RowSink {
 public:
  RowSink(CFileManager& fm, std::size_t rowWidth);
  // The next row to fill (rowWidth floats); commit() keeps it.
  float* next() { return ring_.data() + ring_.write(); }
  // Returns -1 when a flush failed.
  int commit();
  int finish();

 private:
  CFileManager& fm_;
  SampleRing ring_;
  std::size_t pending_ = 0;  // rows since the last flush
};

}  // namespace kvr::utilities
