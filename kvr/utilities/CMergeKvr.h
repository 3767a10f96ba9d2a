#pragma once
// "Merge and Splice": combines two KVR data files into a new one in the session folder.
// Merge puts the channels of two passes side by side on a common depth axis; splice joins
// two depth intervals of the same tool string. Every file goes through CFileManager.

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "common/datafile/CFileManager.h"
#include "common/datafile/DataFileInspection.h"
#include "common/datafile/FilePorts.h"
#include "platform/Prompter.h"
#include "toolslib/Library.h"

namespace kvr::utilities {

inline constexpr float kNullValue = -100000000.0f;
inline constexpr float kPairingTolerance = 0.125f;

enum class MergeAction { Merge, Splice };

struct DepthRange {
  float from = 0;
  float to = 0;
};

// A depth box shows its value rounded; an untouched box gives back the exact depth it was
// filled with, so the files' own first and last depths are never refused as outside the file.
inline float depthFromBox(float exact, double shown, double inBox) { return inBox == shown ? exact : static_cast<float>(inBox); }

class CMergeKvr {
 public:
  static constexpr const char* kFileFilter = "KVR Data files (*.kvr)|*.kvr||";
  static constexpr const char* kMergeName = "MERGE_FILE";
  static constexpr const char* kSpliceName = "SPLICE_FILE";
  // Floats per block of rows read while merging and while splicing.
  static constexpr std::size_t kMergeBlockFloats = 5000;
  static constexpr std::size_t kSpliceBlockFloats = 10000;

  // With a TOOLS library every stored parameter block is read through its family's list,
  // so a file of other list lengths is refused as the playback would refuse it; the
  // families' lists are put back afterwards. Without one, blocks are copied by their
  // stored counts.
  CMergeKvr(platform::Prompter& prompter, FileSystem& files, std::function<std::filesystem::path()> sessionFolder,
            std::function<bool()> logRunning, tools::Library* toolsLibrary = nullptr);

  // The menu command is refused, silently, while a log runs.
  bool mayOpen() const { return !logRunning_(); }

  // "&Browse" for File 1 (slot 0) or File 2 (slot 1): the file dialog, then choose().
  bool browse(int slot);
  // Opens the file, reads its static data and runs the summary check; the file stays open.
  // On success the slot's depth range is set to the file's first and last depth.
  bool choose(int slot, const std::filesystem::path& file);
  bool chosen(int slot) const { return inputs_[slot].open; }
  const std::filesystem::path& file(int slot) const { return inputs_[slot].path; }
  const DataFileSummary& summary(int slot) const { return inputs_[slot].contents.summary; }

  // "&Procced": runs the chosen action; true when an output file was written.
  bool proceed();
  // Closes both inputs and clears the fields.
  void clear();

  MergeAction action = MergeAction::Merge;
  std::string suffix;  // "Identical Channel Name Suffix Renaming:"
  std::array<DepthRange, 2> ranges{};
  // When set, the output is this file (".kvr" is added) instead of the next numbered
  // file of the session folder.
  std::filesystem::path outputFile;
  const std::filesystem::path& lastOutput() const { return lastOutput_; }

 private:
  struct Input {
    std::unique_ptr<CFileManager> fm;
    DataFileContents contents;
    std::filesystem::path path;
    bool open = false;
  };

  int readStatic(Input& in);
  bool merge();
  bool splice();
  bool spliceRangesValid();
  // Reads the static data again, leaving the input at its first row.
  bool rewind(Input& in);
  bool createOutput(CFileManager& out, const char* name);
  bool writeStatic(CFileManager& out, const records::ToolList& tools, const records::ChannelList& channels,
                   const std::vector<const std::vector<records::ToolParameterS>*>& blocks, const Input& from);
  bool mergeRows(CFileManager& out, const std::vector<bool>& file2Kept);
  bool spliceRows(CFileManager& out, int first);
  void finish(const char* successText, CFileManager& out);
  void show(const char* title, const std::string& text);

  platform::Prompter& prompter_;
  FileSystem& files_;
  std::function<std::filesystem::path()> sessionFolder_;
  std::function<bool()> logRunning_;
  tools::Library* tools_;
  std::array<Input, 2> inputs_;
  std::filesystem::path lastOutput_;
};

}  // namespace kvr::utilities
