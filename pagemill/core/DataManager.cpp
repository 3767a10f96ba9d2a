#include "pagemill/core/DataManager.h"

#include <algorithm>

#include "common/presentation/RenderRules.h"

namespace pagemill {

OpenResult CDataManager::open(const std::filesystem::path& path, bool writable, bool englishMode) {
  close();
  auto file = presentation::openByteFile(path, writable ? presentation::OpenMode::ReadWrite
                                                        : presentation::OpenMode::ReadOnly);
  if (!file) return OpenResult::CannotOpen;
  return open(std::move(file), englishMode);
}

OpenResult CDataManager::open(std::unique_ptr<presentation::ByteFile> file, bool englishMode) {
  close();
  if (!file) return OpenResult::CannotOpen;
  english_ = englishMode;
  auto reader = std::make_unique<presentation::ChartDataReader>(*file);
  const int r = reader->open();
  if (r != 0) return r == -2 ? OpenResult::Invalid : OpenResult::ReadError;
  if (presentation::readAnnotations(*file, reader->header(), objects_) != 0) return OpenResult::ReadError;
  header_ = reader->header();
  file_ = std::move(file);
  reader_ = std::move(reader);
  rebuildPageFormat();
  buildBlockIndex();
  return OpenResult::Ok;
}

void CDataManager::close() {
  reader_.reset();
  file_.reset();
  header_ = {};
  pageFormat_ = {};
  objects_.clear();
  blocks_.clear();
  firstDepth_ = lastDepth_ = 0;
}

void CDataManager::setEnglishMode(bool english) {
  english_ = english;
  if (isOpen()) rebuildPageFormat();
}

int CDataManager::logWidth() const { return presentation::paperLogWidth(english_); }

void CDataManager::rebuildPageFormat() {
  pageFormat_ = header_.format;
  presentation::toPageUnits(pageFormat_, logWidth());
}

int CDataManager::rowHeight() const { return presentation::paperRowHeight(header_.format.scale, header_.format.english); }

std::size_t CDataManager::readRecords(std::uint64_t first, std::size_t count, std::vector<float>& out) const {
  return reader_ ? reader_->readFrames(first, count, out) : 0;
}

void CDataManager::buildBlockIndex() {
  blocks_.clear();
  const std::uint64_t n = recordCount();
  if (n == 0) return;
  const auto per = static_cast<std::size_t>(blockRecords());
  const auto width = static_cast<std::size_t>(valuesPerRecord());
  std::vector<float> block;
  block.reserve(per * width);
  for (std::uint64_t first = 0, number = 0; first < n; first += per, ++number) {
    block.clear();
    const std::size_t got = readRecords(first, per, block);
    if (got == 0) break;
    blocks_.push_back({number, block.front(), block[(got - 1) * width], static_cast<std::uint64_t>(got * width)});
  }
  if (!blocks_.empty()) {
    firstDepth_ = blocks_.front().firstDepth;
    lastDepth_ = blocks_.back().lastDepth;
  }
}

std::uint64_t CDataManager::recordAtDepth(float depth) const {
  if (blocks_.empty()) return 0;
  const bool increasing = lastDepth_ >= firstDepth_;
  auto reaches = [&](float d) { return increasing ? d >= depth : d <= depth; };
  const auto per = blockRecords();
  const auto width = static_cast<std::size_t>(valuesPerRecord());
  for (const auto& b : blocks_) {
    if (!reaches(b.lastDepth)) continue;
    std::vector<float> block;
    const std::size_t got = readRecords(b.number * per, static_cast<std::size_t>(per), block);
    for (std::size_t i = 0; i < got; ++i)
      if (reaches(block[i * width])) return b.number * per + i;
    return b.number * per;
  }
  return recordCount() - 1;
}

int CDataManager::save() {
  if (!file_) return -1;
  if (presentation::rewriteChartHeader(*file_, header_, header_.format) != 0) return -1;
  // The reader keeps its own copy of the offsets; open it again on the rewritten file.
  if (presentation::writeAnnotations(*file_, header_, objects_) != 0) return -1;
  auto reader = std::make_unique<presentation::ChartDataReader>(*file_);
  if (reader->open() != 0) return -1;
  reader_ = std::move(reader);
  return 0;
}

}  // namespace pagemill
