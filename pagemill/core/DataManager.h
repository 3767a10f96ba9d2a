#pragma once
// One opened log: the chart data file, its format (as stored, in KVR pixels, and in page
// units for the current unit mode), its graphic objects and the block index of its value
// stream. Rows are read a block at a time; nothing holds the whole stream.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "common/presentation/Annotation.h"
#include "common/presentation/ByteFile.h"
#include "common/presentation/ChartDataFile.h"

namespace pagemill {

enum class OpenResult { Ok, CannotOpen, ReadError /* -1 */, Invalid /* -2 */ };

// The viewer's messages for a file that opened but could not be read.
inline constexpr const char* kFileNotRead = "File Could not be read";
inline constexpr const char* kFileNotValid = "File format not valid\nThis file could be corrupted or it's not a valid version";

struct BlockInfo {
  std::uint64_t number = 0;
  float firstDepth = 0, lastDepth = 0;
  std::uint64_t values = 0;
};

class CDataManager {
 public:
  // Opens and reads the file; writable for the viewer (File > Save), read-only to print.
  OpenResult open(const std::filesystem::path& path, bool writable, bool englishMode);
  // The same over a file already open (tests, fuzzing).
  OpenResult open(std::unique_ptr<presentation::ByteFile> file, bool englishMode);
  bool isOpen() const { return reader_ != nullptr; }
  void close();

  // The unit mode decides the page unit and the log width K.
  void setEnglishMode(bool english);
  bool englishMode() const { return english_; }
  int logWidth() const;

  const presentation::ChartHeader& header() const { return header_; }
  bool recordedUp() const { return header_.loggingUp; }
  // As stored (KVR pixels): what the curve editor changes and File > Save writes.
  presentation::CFormat& storedFormat() { return header_.format; }
  // In page units, rebuilt from the stored format.
  const presentation::CFormat& pageFormat() const { return pageFormat_; }
  void rebuildPageFormat();

  int valuesPerRecord() const { return header_.valuesPerFrame(); }
  std::uint64_t recordCount() const { return reader_ ? reader_->frameCount() : 0; }
  // Records per depth unit (4 English formats, 10 Metric) and row height in page units.
  int recordsPerDepthUnit() const { return header_.format.english ? 4 : 10; }
  int rowHeight() const;
  std::uint64_t blockRecords() const { return 200u * static_cast<std::uint64_t>(recordsPerDepthUnit()); }
  float firstDepth() const { return firstDepth_; }
  float lastDepth() const { return lastDepth_; }
  const std::vector<BlockInfo>& blocks() const { return blocks_; }

  // Appends up to count records from first; returns the records given.
  std::size_t readRecords(std::uint64_t first, std::size_t count, std::vector<float>& out) const;
  // The first record (in file order) whose depth reaches depth, by the block index.
  std::uint64_t recordAtDepth(float depth) const;

  std::vector<presentation::Annotation>& objects() { return objects_; }
  const std::vector<presentation::Annotation>& objects() const { return objects_; }

  // Rewrites the header from the stored format and the annotation table; 0 or -1.
  int save();

 private:
  void buildBlockIndex();

  std::unique_ptr<presentation::ByteFile> file_;
  std::unique_ptr<presentation::ChartDataReader> reader_;
  presentation::ChartHeader header_;
  presentation::CFormat pageFormat_;
  std::vector<presentation::Annotation> objects_;
  std::vector<BlockInfo> blocks_;
  float firstDepth_ = 0, lastDepth_ = 0;
  bool english_ = true;
};

}  // namespace pagemill
