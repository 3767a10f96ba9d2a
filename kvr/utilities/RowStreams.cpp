#include "kvr/utilities/RowStreams.h"

#include <algorithm>

namespace kvr::utilities {

RowSource::RowSource(CFileManager& fm, std::size_t rowWidth, std::size_t blockFloats)
    : fm_(fm), width_(rowWidth), buffer_(std::max<std::size_t>(1, blockFloats / std::max<std::size_t>(1, rowWidth)) *
                                         std::max<std::size_t>(1, rowWidth)) {
  fill();
}

void RowSource::fill() {
  rows_ = width_ == 0 ? 0 : fm_.readWholeRows(buffer_, width_);
  at_ = 0;
}

void RowSource::advance() {
  if (at_ >= rows_) return;
  if (++at_ == rows_) fill();
}

RowSink::RowSink(CFileManager& fm, std::size_t rowWidth) : fm_(fm) { ring_.allocate(rowWidth); }

int RowSink::commit() {
  ring_.setWrite(ring_.advance(ring_.write(), ring_.rowWidth()));
  if (++pending_ < SampleRing::kRows - 1) return 0;
  pending_ = 0;
  return fm_.flushRows(ring_);
}

int RowSink::finish() {
  pending_ = 0;
  return fm_.flushRows(ring_);
}

}  // namespace kvr::utilities
