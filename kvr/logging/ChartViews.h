#pragma once
// The log windows fed by the chart recorder: one view per format of a log, drawing the
// rows the recorder appends to that format's chart data file.

#include <cstddef>
#include <span>

#include "common/presentation/ChartDataFile.h"
#include "common/presentation/Format.h"
#include "common/presentation/HeaderBox.h"

namespace kvr {

struct ChartViewStart {
  std::size_t index = 0;  // slot order: the i-th view of the log
  bool loggingUp = false;
  int step = -1;          // signed row height in pixels
  presentation::HeaderTexts header;
};

class ChartViews {
 public:
  virtual ~ChartViews() = default;
  // A new log starts: the views of the last one go before their formats do.
  virtual void logStarted() = 0;
  // A format of the log: format and writer live until the next log starts.
  virtual void formatStarted(const ChartViewStart& start, presentation::CFormat& format,
                             const presentation::ChartDataWriter& writer) = 0;
  // The frame was appended to format index's file (writeFailed: its buffer was lost).
  virtual void frameAdded(std::size_t index, std::span<const float> record, bool writeFailed) = 0;
  virtual void logEnded() = 0;
};

}  // namespace kvr
