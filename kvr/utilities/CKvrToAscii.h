#pragma once
// "KVR to ASCII Converter": the dialog's behaviour without the dialog. It reads the chosen
// KVR data file through CFileManager, keeps the dialog fields, asks and tells through the
// Prompter, writes the LAS file through TextFiles and opens it for reading through Paths.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/datafile/CFileManager.h"
#include "common/datafile/FileMessages.h"
#include "kvr/utilities/LasFilter.h"
#include "kvr/utilities/LasJob.h"
#include "kvr/utilities/LasSource.h"
#include "kvr/utilities/LasWriter.h"
#include "kvr/utilities/TextOutput.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"

namespace kvr::utilities {

// The dialog fields a user edits.
struct ConverterFields {
  std::string inputFile;
  std::string outputFile;
  bool outputTyped = false;             // named by the user even where it equals the proposed name
  int stepIndex = -1;                   // into steps()
  std::optional<double> customStep;     // kvr-convert --step: magnitude in file units
  float start = 0, final = 0, offset = 0;  // display units
  int digits = 2;                       // 1 to 4
  bool tab = false;
  int spaces = 1;                       // 1 to 10
  bool wrapped = false;
  bool header = true;
  bool curveNames = true;
  bool mergeCcl = false;
  bool strictLas2 = false;
  std::vector<bool> selected;           // per channel of the chosen file
  FilterSettings filter;
};

struct ConverterLabels {
  std::string step, start, final, offset, unit;
};

class CKvrToAscii {
 public:
  CKvrToAscii(platform::Prompter& prompter, platform::Paths& paths, platform::Clock& clock, FileSystem& dataFiles,
              TextFiles& textFiles, std::uint8_t timeUnitCode);

  // Where "&Browse" starts, and the file a running depth log records (none: empty).
  void setSessionFolder(std::filesystem::path folder) { sessionFolder_ = std::move(folder); }
  void setRecordingFile(std::function<std::filesystem::path()> f) { recordingFile_ = std::move(f); }
  void setProgress(LasWriter::Progress p) { progress_ = std::move(p); }

  // "&Browse": the file dialog, then chooseInput.
  bool browse();
  // Steps after the file dialog: checks, output name, static data, channel and step lists.
  bool chooseInput(const std::filesystem::path& path);
  // "&Convert". True when the file was written completely. The output name chooseInput
  // proposed never replaces a file (the next free NAME_n.las is taken and shown in the
  // fields); a name the user typed asks before it replaces one.
  bool convert();
  // "View...": the output file in the user's editor.
  bool view();
  void deselectAll();

  ConverterFields& fields() { return fields_; }
  const ConverterFields& fields() const { return fields_; }
  bool hasInput() const { return loaded_; }
  const LasSource& source() const { return source_; }
  std::vector<std::string> channelNames() const;
  std::vector<std::string> selectedChannelNames() const;
  std::span<const StepEntry> steps() const;
  ConverterLabels labels() const;
  // "Calculate": the time-difference calculator's scale and target.
  double timeFactor() const { return timeUnit_.factor; }
  float* offsetTarget() { return &fields_.offset; }
  // The planned number of data lines of the last conversion (the progress bar's range).
  std::int64_t plannedLines() const { return plannedLines_; }
  const LasWriteResult& lastResult() const { return lastResult_; }

 private:
  void fillForSource(bool keepChannels, const std::vector<std::string>& previous, int previousStep);
  bool buildJob(LasJob& job);
  void show(const FileMessage& m) const;
  // The output file, opened as the name's origin allows (see convert()); declined when the
  // user kept an existing file.
  std::unique_ptr<TextOutput> openOutput(bool& declined);
  static constexpr int kMaxOutputNumber = 1000;

  platform::Prompter& prompter_;
  platform::Paths& paths_;
  platform::Clock& clock_;
  FileSystem& dataFiles_;
  TextFiles& textFiles_;
  TimeUnit timeUnit_;
  std::filesystem::path sessionFolder_;
  std::function<std::filesystem::path()> recordingFile_;
  LasWriter::Progress progress_;
  ConverterFields fields_;
  std::string proposedBase_;    // the output name chooseInput proposed: the input's, as .las
  std::string proposedOutput_;  // the proposed name last shown (the base or a numbered one)
  LasSource source_;
  bool loaded_ = false;
  std::int64_t plannedLines_ = 0;
  LasWriteResult lastResult_;
};

}  // namespace kvr::utilities
