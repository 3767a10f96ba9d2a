#include "kvr/logging/ChartRecorder.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <sstream>

#include "common/presentation/ByteFile.h"
#include "common/presentation/LogStart.h"
#include "common/presentation/PresManager.h"
#include "common/presentation/PresentationFile.h"
#include "common/records/SystemMode.h"
#include "common/presentation/RenderRules.h"
#include "common/records/FileNameRule.h"
#include "common/records/SystemMode.h"

namespace kvr {

namespace {
std::string readText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}
std::tm calendar(const platform::CalendarTime& c) {
  std::tm t{};
  t.tm_year = c.year - 1900;
  t.tm_mon = c.month - 1;
  t.tm_mday = c.day;
  t.tm_hour = c.hour;
  t.tm_min = c.minute;
  t.tm_sec = c.second;
  t.tm_isdst = -1;
  std::tm normalised = t;
  if (std::mktime(&normalised) != static_cast<std::time_t>(-1)) t.tm_wday = normalised.tm_wday;
  return t;
}
const char* skipReason(const presentation::CFormat& f, const std::vector<std::string>& earlierNames) {
  if (!records::nameStaysInFolder(f.name)) return kFormatNameRefused;
  if (std::find(earlierNames.begin(), earlierNames.end(), f.name) != earlierNames.end()) return kFormatNameRepeated;
  if (f.tracks.empty()) return kFormatWithoutTracks;
  return nullptr;
}

// A new file stem + ".cdf", passing over names already taken (a playback without an output
// file has no number of its own); `path` is the name used.
std::unique_ptr<presentation::ByteFile> createChartFile(const std::filesystem::path& folder, const std::string& stem,
                                                        std::filesystem::path& path) {
  constexpr int kMaxNumbersTried = 10000;
  for (int n = 0; n < kMaxNumbersTried; ++n) {
    path = folder / (stem + (n == 0 ? std::string() : "_" + std::to_string(n)) + ".cdf");
    if (auto file = presentation::openByteFile(path, presentation::OpenMode::CreateNew)) return file;
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec))) return nullptr;
  }
  return nullptr;
}
}  // namespace

void ChartRecorder::startLog(std::uint8_t direction) {
  // The windows of the last log let go of its formats first.
  if (views_) views_->logStarted();
  active_.clear();
  paths_.clear();
  const Context c = context_();
  std::vector<presentation::CFormat> formats;
  if (formats_) {
    formats = formats_();
  } else {
    // Without a presentation manager the shipped formats of the log's unit system are used.
    auto file = c.mainFolder / presentation::CPresManager::shippedFile(records::isEnglish(c.modeWord));
    if (!std::filesystem::exists(file)) file = c.mainFolder / presentation::CPresManager::kDefaultFile;
    auto read = presentation::readPresentation(readText(file));
    if (read.outcome != presentation::PresentationRead::Outcome::Invalid) formats = std::move(read.formats);
  }
  if (formats.size() > presentation::kMaxFormats) formats.resize(presentation::kMaxFormats);
  if (!c.channels) return;
  const auto dataFile = c.dataFile();
  const std::string dataName = dataFile.stem().string();
  const bool up = direction == 1;
  presentation::HeaderTexts header = c.job;
  header.logFile = dataFile.filename().string();
  const std::tm now = calendar(clock_.localTime());
  header.createdOn = presentation::creationDateText(now);
  header.createdAt = presentation::creationTimeText(now);
  header_ = header;
  // Beside the data file: two jobs' logs of one tool string never share a chart data file.
  const auto folder = dataFile.has_parent_path() ? dataFile.parent_path() : c.sessionFolder;
  std::vector<std::string> names;
  for (const auto& f : formats) {
    if (const char* why = skipReason(f, names)) {
      platform::tell(prompter_, kFormatSkippedTitle, "Format \"" + f.name + why, platform::Icon::Warning);
      continue;
    }
    names.push_back(f.name);
    auto a = std::make_unique<Active>();
    a->format = f;
    // The session's units decide every format's depth lines and the scale it prints at.
    a->format.english = records::isEnglish(c.modeWord);
    presentation::bindChannels(a->format, *c.channels);
    presentation::normaliseReversed(a->format);
    std::filesystem::path path;
    auto file = createChartFile(folder, f.name + dataName, path);
    if (!file || a->writer.create(std::move(file), a->format, up) != 0) {
      // The formats after a failed one are not recorded.
      platform::tell(prompter_, kFormatFileFailedTitle, kFormatFileFailedText, platform::Icon::Error);
      break;
    }
    paths_.push_back(path);
    active_.push_back(std::move(a));
    if (views_) {
      ChartViewStart start{active_.size() - 1, up,
                           presentation::screenStep(f.scale, active_.back()->format.english, c.modeWord, up), header};
      start.header.formatFile = f.name;
      start.header.scale = presentation::scaleText(f.scale);
      views_->formatStarted(start, active_.back()->format, active_.back()->writer);
    }
  }
}

void ChartRecorder::drawRow(const float* row, std::size_t width) {
  for (std::size_t i = 0; i < active_.size(); ++i) {
    auto& a = *active_[i];
    presentation::valueRecord(a.format, std::span<const float>(row, width), record_);
    const bool failed = a.writer.appendFrame(record_) != 0;
    if (views_) views_->frameAdded(i, record_, failed);
  }
}

void ChartRecorder::endLog() {
  for (auto& a : active_) a->writer.flush();
  if (views_) views_->logEnded();
}

}  // namespace kvr
