#pragma once
// The one reader and writer of KVR data files (layout in DataFileLayout.h). Every routine
// returns 0, -1 for an input or output failure or -2 for an integrity mismatch; callers show
// the messages of FileMessages.h.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "common/datafile/DataFileLayout.h"
#include "common/datafile/FilePorts.h"
#include "common/datafile/SampleRing.h"
#include "common/records/ChannelStruct.h"
#include "common/records/JobRecord.h"
#include "common/records/SysParameter.h"
#include "common/records/ToolParameter.h"

namespace kvr {

class CFileManager {
 public:
  explicit CFileManager(FileSystem& fs);
  ~CFileManager();
  CFileManager(const CFileManager&) = delete;
  CFileManager& operator=(const CFileManager&) = delete;

  // --- naming ---
  // Reads and rewrites FileCounter.txt in the session folder and sets the suffix; -1 when the
  // counter file cannot be written.
  int nextFileNumber(const std::filesystem::path& sessionFolder);
  const std::string& suffix() const { return suffix_; }
  // Tool names of kind 1 each followed by "_", then "UP", "DOWN" or "STATION" ("PLAY-" before
  // it for playback output).
  static std::string logFileName(const records::ToolList& tools, std::uint8_t direction, bool playback);

  // --- writing ---
  // A new data file session folder + name + suffix + ".kvr", numbered by FileCounter.txt. A
  // number whose name is already taken is passed over and the number used is written back, so
  // no recorded file is ever replaced. kCounterUnwritable when the counter cannot be written
  // (nothing is created), -1 when the file cannot be created.
  static constexpr int kCounterUnwritable = -3;
  int createNumberedOutput(const std::filesystem::path& sessionFolder, const std::string& name);
  // Session folder + name + suffix + ".kvr", replacing a file of that name (a name the user chose
  // and confirmed).
  int createOutputFile(const std::filesystem::path& sessionFolder, const std::string& name);
  const std::filesystem::path& lastFilePath() const { return lastPath_; }
  bool outputOpen() const { return out_ != nullptr; }
  int writeToolList(const records::ToolList& tools);
  int writeChannelList(const records::ChannelList& channels);
  int writeParameterBlock(std::span<const records::ToolParameterS> parameters);
  int writeDirection(std::uint8_t direction);
  // The first four records of the system parameter table; -1 when the table is shorter.
  int writeMainSystemParameters(std::span<const records::SysParameterS> table);
  int writeJobRecord(const records::JobRecord& job);
  // Appends the ring's rows between its flushed and write positions. After a short write
  // the flushed position marks the first byte that did not reach the file, so the next flush
  // goes on from there and no row is lost or written twice.
  int flushRows(SampleRing& ring);
  // Flushes the rows and closes the file.
  int closeOutput(SampleRing& ring);
  int closeOutput();

  // --- reading ---
  int openInput(const std::filesystem::path& path);
  bool inputOpen() const { return in_ != nullptr; }
  void closeInput();
  int readToolList(records::ToolList& tools);
  int readChannelList(records::ChannelList& channels);
  // The stored count must equal target.size(), the count the TOOLS library expects.
  int readParameterBlock(std::span<records::ToolParameterS> target);
  // A block whatever its length, for inspectors; the count is checked against the file size.
  int readStoredParameterBlock(std::vector<records::ToolParameterS>& block);
  int readDirection(std::uint8_t& direction);
  // Replaces the first four records of the table (which grows to four when shorter).
  int readMainSystemParameters(std::vector<records::SysParameterS>& table);
  int readJobRecord(records::JobRecord& job);
  int readJobRecordBytes(std::vector<std::uint8_t>& record1640);
  // Reads buffer.size() values; -1 when fewer remain (valuesRead says how many were read).
  int readRows(std::span<float> buffer, std::size_t& valuesRead);
  // Reads as many whole rows of rowWidth values as fit in the buffer and remain in the file;
  // the bytes of an incomplete last row are never returned. Returns the number of rows.
  std::size_t readWholeRows(std::span<float> buffer, std::size_t rowWidth);
  // Walks the static data checking every count pair, fills the summary and positions the file
  // at the section asked for (1 to 7; any other number: where it stood). A file without a
  // whole row fails with -1 after positioning; other failures leave the position unchanged.
  int summaryCheck(int section, DataFileSummary& summary);
  std::uint64_t inputPosition() const;
  std::uint64_t inputSize() const;
  // Moves the read position (playback reads its last rows again); -1 past the end.
  int seekInput(std::uint64_t position);

 private:
  int writeBytes(const std::vector<std::uint8_t>& bytes);
  int writeRingSpan(SampleRing& ring, std::size_t from, std::size_t to);
  int readExact(std::uint8_t* data, std::size_t n);
  int readU32(std::uint32_t& v);
  int readCount(std::uint32_t& n, std::uint64_t recordSize);
  int readEntries(std::vector<std::uint8_t>& bytes, std::uint32_t& n);
  int summaryWalk(DataFileSummary& s);

  FileSystem& fs_;
  std::unique_ptr<OutputFile> out_;
  std::unique_ptr<InputFile> in_;
  std::filesystem::path lastPath_;
  std::string suffix_;
  std::size_t flushedBytesInFloat_ = 0;  // bytes of the float at the flushed position already written
};

}  // namespace kvr
