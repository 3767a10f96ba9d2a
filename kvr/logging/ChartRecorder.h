#pragma once
// The chart data files of a log: one per presentation format of DEFAULT_FORMAT.TXT, each
// row of the log appended as that format's value record. The live log windows draw from
// the same formats and files.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/presentation/ChartDataFile.h"
#include "common/presentation/Format.h"
#include "common/records/ChannelStruct.h"
#include "kvr/logging/ChartViews.h"
#include "kvr/logging/LogDisplaySink.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

namespace kvr {

inline constexpr const char* kFormatFileFailedTitle = "FATAL ERROR";
inline constexpr const char* kFormatFileFailedText =
    "Error while trying to create a Format output file\nCheck for enough disk space and restart the computer";
// A format whose chart data file cannot be written as it stands is left out of the log.
inline constexpr const char* kFormatSkippedTitle = "WARNING";
inline constexpr const char* kFormatNameRefused =
    "\" is not recorded: a Format name cannot hold \"/\" or \"\\\" or be \".\" or \"..\"";
inline constexpr const char* kFormatNameRepeated = "\" is not recorded: an earlier Format has the same name";
inline constexpr const char* kFormatWithoutTracks = "\" is not recorded: the Format has no tracks";

class ChartRecorder final : public LogDisplaySink {
 public:
  struct Context {
    std::filesystem::path mainFolder;           // DEFAULT_FORMAT.TXT
    std::filesystem::path sessionFolder;        // the files' folder when the log records no data file
    const records::ChannelList* channels = nullptr;     // the sample row's channels
    std::function<std::filesystem::path()> dataFile;  // the data file being recorded
    int modeWord = 10;                          // the system mode word (row height)
    presentation::HeaderTexts job;              // client, well and field names, logging date
  };
  ChartRecorder(platform::Prompter& prompter, const platform::Clock& clock, std::function<Context()> context)
      : prompter_(prompter), clock_(clock), context_(std::move(context)) {}

  // The log windows, when there are any (none for a run without a screen).
  void setViews(ChartViews* views) { views_ = views; }
  // The formats of the presentation manager, in slot order. Without one (a run without the
  // manager) each log reads DEFAULT_FORMAT.TXT of the main folder.
  void setFormatSource(std::function<std::vector<presentation::CFormat>()> formats) { formats_ = std::move(formats); }

  void startLog(std::uint8_t direction) override;
  void drawRow(const float* row, std::size_t width) override;
  void endLog() override;

  // The chart data files of the last log, in format order, beside its data file and named by
  // format and data file; their formats and writers stay
  // until the next log starts, so the windows can still scroll back.
  const std::vector<std::filesystem::path>& files() const { return paths_; }
  // The header texts of the last log (job, data file, creation date and time).
  const presentation::HeaderTexts& header() const { return header_; }

 private:
  struct Active {
    presentation::CFormat format;
    presentation::ChartDataWriter writer;
  };
  platform::Prompter& prompter_;
  const platform::Clock& clock_;
  ChartViews* views_ = nullptr;
  std::function<Context()> context_;
  std::function<std::vector<presentation::CFormat>()> formats_;
  std::vector<std::unique_ptr<Active>> active_;
  std::vector<std::filesystem::path> paths_;
  std::vector<float> record_;
  presentation::HeaderTexts header_;
};

}  // namespace kvr
