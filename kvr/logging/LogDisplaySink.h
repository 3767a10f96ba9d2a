#pragma once
// Where recorded rows go to be drawn: the log windows of the presentation formats and
// their chart data files. The logging controller hands over one row per command 103.

#include <cstddef>
#include <cstdint>

namespace kvr {

class LogDisplaySink {
 public:
  virtual ~LogDisplaySink() = default;
  // Start of a log (or playback) in the direction given (0 down, 1 up, 2 station).
  virtual void startLog(std::uint8_t direction) = 0;
  virtual void drawRow(const float* row, std::size_t width) = 0;
  virtual void endLog() = 0;
};

}  // namespace kvr
