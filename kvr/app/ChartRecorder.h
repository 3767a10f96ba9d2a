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
#include "kvr/app/LogDisplaySink.h"
#include "platform/Prompter.h"

namespace kvr {

inline constexpr const char* kFormatFileFailedTitle = "FATAL ERROR";
inline constexpr const char* kFormatFileFailedText =
    "Error while trying to create a Format output file\nCheck for enough disk space and restart the computer";

class ChartRecorder final : public LogDisplaySink {
 public:
  struct Context {
    std::filesystem::path mainFolder;           // DEFAULT_FORMAT.TXT, and where the files go
    const records::ChannelList* channels;       // the sample row's channels
    std::function<std::filesystem::path()> dataFile;  // the data file being recorded
  };
  ChartRecorder(platform::Prompter& prompter, std::function<Context()> context)
      : prompter_(prompter), context_(std::move(context)) {}

  void startLog(std::uint8_t direction) override;
  void drawRow(const float* row, std::size_t width) override;
  void endLog() override;

  // The chart data files of the last log, in format order.
  const std::vector<std::filesystem::path>& files() const { return paths_; }

 private:
  struct Active {
    presentation::CFormat format;
    presentation::ChartDataWriter writer;
  };
  platform::Prompter& prompter_;
  std::function<Context()> context_;
  std::vector<std::unique_ptr<Active>> active_;
  std::vector<std::filesystem::path> paths_;
  std::vector<float> record_;
};

}  // namespace kvr
