#include "kvr/utilities/CCrossPlot.h"

#include <fstream>
#include <iterator>
#include <string>

#include "kvr/utilities/PathFile.h"

namespace kvr::utilities {

namespace {
constexpr const char* kKeepPreviousTitle = "QUESTION";
constexpr const char* kKeepPreviousText = "Do you want to keep previous data file ?";
constexpr const char* kErrorTitle = "ERROR";
constexpr const char* kOpenFailedText = "The requested file could not be opened";
constexpr const char* kNoStationsText = "The data file does not hold any survey station";
constexpr const char* kSaveFailedText = "Error while writing the well path file";

const PathTable kEmpty;
}  // namespace

bool CCrossPlot::loadData() {
  platform::FileRequest request;
  request.filter = kFileFilter;
  request.defaultExtension = "las";
  auto file = prompter_.openFile(request);
  if (!file) return false;
  auto answer = prompter_.ask(platform::Message{kKeepPreviousTitle, kKeepPreviousText, platform::Buttons::YesNo,
                                                platform::Icon::Question});
  return load(*file, answer == platform::Answer::Yes);
}

bool CCrossPlot::load(const std::filesystem::path& file, bool keepPrevious) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    platform::tell(prompter_, kErrorTitle, kOpenFailedText, platform::Icon::Error);
    return false;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    platform::tell(prompter_, kErrorTitle, kOpenFailedText, platform::Icon::Error);
    return false;
  }
  return loadText(text, keepPrevious);
}

bool CCrossPlot::loadText(std::string_view text, bool keepPrevious) {
  StationReader reader(text);
  WellPathResult path = computeWellPath(reader);
  if (path.outcome == WellPathResult::Outcome::BadLine) {
    platform::tell(prompter_, kErrorTitle, path.badLineText, platform::Icon::Error);
    return false;
  }
  if (path.rows.empty()) {
    platform::tell(prompter_, kErrorTitle, kNoStationsText, platform::Icon::Error);
    return false;
  }
  if (path.outcome == WellPathResult::Outcome::Truncated)
    platform::tell(prompter_, kTooManyStationsTitle, kTooManyStationsText, platform::Icon::Error);
  table_ = std::make_shared<const PathTable>(std::move(path.rows));
  keepPrevious_ = keepPrevious;
  newTable_ = true;
  setAutomaticRanges(settings_, *table_);
  return true;
}

void CCrossPlot::plotNow() {
  if (newTable_) {
    if (!keepPrevious_) view_.clearPaths();
    view_.addPath(table_);
    newTable_ = false;
  }
  view_.setSettings(settings_);
  view_.setPlotted();
}

bool CCrossPlot::saveFile() {
  if (!table_) return false;
  platform::FileRequest request;
  request.filter = kFileFilter;
  request.defaultExtension = "las";
  auto file = prompter_.saveFile(request);
  if (!file) return false;
  return save(*file);
}

bool CCrossPlot::save(const std::filesystem::path& file) {
  if (!table_) return false;
  if (writePathFile(file, *table_)) return true;
  platform::tell(prompter_, kErrorTitle, kSaveFailedText, platform::Icon::Error);
  return false;
}

const PathTable& CCrossPlot::table() const { return table_ ? *table_ : kEmpty; }

PlotSettings CCrossPlot::automaticSettings() const {
  PlotSettings s = settings_;
  double h = s.horizontalGrid, v = s.verticalGrid;
  setAutomaticRanges(s, table());
  s.horizontalGrid = h;
  s.verticalGrid = v;
  return s;
}

}  // namespace kvr::utilities
