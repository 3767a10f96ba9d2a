#pragma once
// The chart data file (.cdf): a binary copy of the format as drawn, the value records of
// the log (the depth and each enabled curve per frame), and Pagemill's annotation table.
// Results: 0 success, -1 short read or write, -2 counts or offsets that disagree.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "common/presentation/ByteFile.h"
#include "common/presentation/Format.h"

namespace presentation {

constexpr std::size_t kFormatHeaderSize = 124;
constexpr std::size_t kTrackRecordSize = 88;
constexpr std::size_t kCurveRecordSize = 204;
constexpr std::uint8_t kLayoutMarker = 241;
constexpr std::size_t kWriteBufferFloats = 500;

// What a reader learns from the bytes before the value records.
struct ChartHeader {
  CFormat format;            // only the curves the file holds, all enabled, normalised
  bool loggingUp = false;
  bool storedLayout = false; // marker 241: track positions and overlap flags were stored
  std::uint32_t dataOffset = 0;
  std::uint32_t annotationOffset = 0;
  int valuesPerFrame() const { return format.valuesPerRecord(); }
};

// Bytes 0 .. data offset of a new file: both offset words (annotation offset 0), the
// format header and the track and curve records of the enabled curves.
std::vector<std::uint8_t> encodeChartHeader(const CFormat& format, bool loggingUp);

// Reads and checks the header against the file's size; 0, -1 or -2.
int readChartHeader(ByteFile& file, ChartHeader& out);

// Frames of the value stream by number, read with one seek each.
class FrameSource {
 public:
  virtual ~FrameSource() = default;
  virtual int valuesPerFrame() const = 0;
  virtual std::uint64_t frameCount() const = 0;
  // Appends up to count frames from first to out; returns the frames given.
  virtual std::size_t readFrames(std::uint64_t first, std::size_t count, std::vector<float>& out) const = 0;
};

// KVR's side: creates the file and appends frames through a 500-float write buffer.
class ChartDataWriter final : public FrameSource {
 public:
  // 0, or -1 when the header cannot be written (the file is kept open either way).
  int create(std::unique_ptr<ByteFile> file, const CFormat& format, bool loggingUp);
  // One value record of valuesPerFrame() floats. -1 when the buffer could not be
  // written: that frame and the unwritten buffer are dropped, the file keeps whole frames.
  int appendFrame(std::span<const float> record);
  int flush();

  int valuesPerFrame() const override { return n_; }
  std::uint64_t frameCount() const override { return fileFrames_ + buffer_.size() / static_cast<std::size_t>(n_); }
  std::size_t readFrames(std::uint64_t first, std::size_t count, std::vector<float>& out) const override;
  std::uint32_t dataOffset() const { return dataOffset_; }

 private:
  std::unique_ptr<ByteFile> file_;
  std::uint32_t dataOffset_ = 0;
  int n_ = 1;
  std::uint64_t fileFrames_ = 0;
  std::vector<float> buffer_;
};

// Reader of a whole file (KVR redraw of an old log, Pagemill).
class ChartDataReader final : public FrameSource {
 public:
  explicit ChartDataReader(ByteFile& file) : file_(file) {}
  int open();  // 0, -1 or -2
  const ChartHeader& header() const { return header_; }
  int valuesPerFrame() const override { return header_.valuesPerFrame(); }
  std::uint64_t frameCount() const override { return frames_; }
  std::size_t readFrames(std::uint64_t first, std::size_t count, std::vector<float>& out) const override;

 private:
  ByteFile& file_;
  ChartHeader header_;
  std::uint64_t frames_ = 0;
};

// Decodes count frames of n floats from little-endian bytes.
void decodeFrames(std::span<const std::uint8_t> bytes, std::vector<float>& out);

// Pagemill: writes the header anew for a changed format (KVR pixel quantities). When its
// size changes the value records and the annotation table move with it. 0, -1.
int rewriteChartHeader(ByteFile& file, ChartHeader& header, const CFormat& format);

}  // namespace presentation
