#include "kvr/playback/PlaybackComputations.h"

#include <numeric>
#include <span>

#include "common/records/ToolCodes.h"

namespace kvr {

namespace {
constexpr double kSpeedFactor = 0.101;
constexpr double kLineSpeedTerm = SpinnerComputation::kLineSpeed * kSpeedFactor;

std::optional<std::size_t> columnOf(const records::ChannelList& channels, const char* name,
                                    std::optional<std::uint8_t> code = std::nullopt) {
  for (const auto& c : channels) {
    if (c.mnemonic == name && (!code || (c.toolCode & 0xFF) == *code)) return static_cast<std::size_t>(c.baseColumn) + c.index;
  }
  return std::nullopt;
}
}  // namespace

double spinnerFlowRate(double x) { return ((x - kLineSpeedTerm) / kSpeedFactor + 3.35) * 0.83 * 28.739519 * 34; }

void SpinnerComputation::reset() {
  ring_.fill(0.0f);
  index_ = 0;
}

void SpinnerComputation::processBlock(float* rows, std::size_t rowCount, std::size_t width, bool lastOfFile) {
  const auto [lspd, spinner, prate] = columns_;
  for (std::size_t i = 0; i < rowCount; ++i) {
    float* row = rows + i * width;
    row[lspd] = kLineSpeed;
    ring_[index_] = row[spinner];
    index_ = (index_ + 1) % kRingValues;
    const double sum = std::accumulate(ring_.begin(), ring_.end(), 0.0);
    const float m = static_cast<float>(sum / kRingValues);
    if (i < kLag) {
      row[spinner] = m;
    } else {
      // The average of the 30 rows up to this one is centred on the row 15 rows back.
      float* earlier = rows + (i - kLag) * width;
      earlier[spinner] = m;
      earlier[prate] = static_cast<float>(spinnerFlowRate(m));
    }
    row[prate] = static_cast<float>(spinnerFlowRate(m));
  }
  if (lastOfFile && rowCount > 0) drain(rows, rowCount, width);
}

// The last 15 rows of the file have no rows after them: each takes the average of what is
// left of the window centred on it, the oldest value dropping out row by row.
void SpinnerComputation::drain(float* rows, std::size_t rowCount, std::size_t width) {
  double total = std::accumulate(ring_.begin(), ring_.end(), 0.0);
  double count = kRingValues;
  for (std::size_t k = 0; k < kLag; ++k) {
    count -= 1;
    total -= ring_[index_];
    index_ = (index_ + 1) % kRingValues;
    // Row k of the last 15; rows before this block were replayed already.
    const std::size_t back = kLag - 1 - k;
    if (back >= rowCount) continue;
    float* row = rows + (rowCount - 1 - back) * width;
    const float average = static_cast<float>(total / count);
    row[columns_.spinner] = average;
    row[columns_.flowRate] = static_cast<float>(spinnerFlowRate(average));
  }
}

PlaybackComputations::PlaybackComputations(tools::Library& library, const records::ToolList& tools,
                                           const records::ChannelList& channels)
    : library_(library) {
  bool hasDune = false;
  for (const auto& t : tools) hasDune = hasDune || (t.isTool() && t.code() == records::kDune);
  const auto lspd = columnOf(channels, "LSPD");
  const auto spinner = columnOf(channels, "SPINNER", records::kDune);
  const auto prate = columnOf(channels, "PRATE", records::kDune);
  if (hasDune && lspd && spinner && prate) spinner_.emplace(SpinnerColumns{*lspd, *spinner, *prate});
  for (const auto& c : channels) {
    if ((c.toolCode & 0xFF) == records::kTarnB && c.mnemonic == "RATEX") tarnB_.push_back(c.baseColumn);
  }
}

void PlaybackComputations::start(const records::ToolList& tools) {
  for (const auto& t : tools) {
    if (!t.isTool() || (t.code() != records::kTarnB && t.code() != records::kTarnC)) continue;
    if (auto* f = library_.family(t.code())) f->init();
  }
  if (spinner_) spinner_->reset();
}

void PlaybackComputations::processBlock(float* rows, std::size_t rowCount, std::size_t width, bool lastOfFile) {
  if (!tarnB_.empty()) {
    tools::Family* family = library_.family(records::kTarnB);
    const std::size_t floats = family ? family->rowFloats() : 0;
    for (std::size_t i = 0; family && i < rowCount; ++i) {
      for (std::size_t base : tarnB_) {
        if (base + floats <= width) family->recomputeRaw(std::span<float>(rows + i * width + base, floats));
      }
    }
  }
  if (!spinner_) return;
  const auto& c = spinner_->columns();
  if (c.lineSpeed < width && c.spinner < width && c.flowRate < width) spinner_->processBlock(rows, rowCount, width, lastOfFile);
}

}  // namespace kvr
