#include "kvr/app/ChartRecorder.h"

#include <fstream>
#include <sstream>

#include "common/presentation/ByteFile.h"
#include "common/presentation/LogStart.h"
#include "common/presentation/PresentationFile.h"

namespace kvr {

namespace {
std::string readText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}
}  // namespace

void ChartRecorder::startLog(std::uint8_t direction) {
  active_.clear();
  paths_.clear();
  const Context c = context_();
  const auto read = presentation::readPresentation(readText(c.mainFolder / "DEFAULT_FORMAT.TXT"));
  if (read.outcome == presentation::PresentationRead::Outcome::Invalid || !c.channels) return;
  const std::string dataName = c.dataFile().stem().string();
  for (const auto& f : read.formats) {
    auto a = std::make_unique<Active>();
    a->format = f;
    presentation::bindChannels(a->format, *c.channels);
    presentation::normaliseReversed(a->format);
    const auto path = c.mainFolder / (f.name + dataName + ".cdf");
    auto file = presentation::openByteFile(path, presentation::OpenMode::CreateTruncate);
    if (!file || a->writer.create(std::move(file), a->format, direction == 1) != 0) {
      // The formats after a failed one are not recorded.
      platform::tell(prompter_, kFormatFileFailedTitle, kFormatFileFailedText, platform::Icon::Error);
      break;
    }
    paths_.push_back(path);
    active_.push_back(std::move(a));
  }
}

void ChartRecorder::drawRow(const float* row, std::size_t width) {
  for (auto& a : active_) {
    presentation::valueRecord(a->format, std::span<const float>(row, width), record_);
    a->writer.appendFrame(record_);
  }
}

void ChartRecorder::endLog() {
  for (auto& a : active_) a->writer.flush();
  active_.clear();
}

}  // namespace kvr
