#include "kvr/calibration/CSysParManager.h"

#include <cstdio>

#include "kvr/calibration/WholeNumber.h"

namespace kvr {

namespace {
constexpr std::size_t kMainCount = 4;
constexpr std::size_t kPlaybackCount = 7;
}  // namespace

CSysParManager::CSysParManager(std::vector<records::SysParameterS>& table, Range range)
    : table_(table), first_(range == Range::Main ? records::kSvyMode : records::kPbDepthOffset) {
  const std::size_t count = range == Range::Main ? kMainCount : kPlaybackCount;
  for (std::size_t i = first_; i < first_ + count && i < table_.size(); ++i) draft_.push_back(table_[i]);
}

const char* CSysParManager::title() const {
  return first_ == records::kSvyMode ? "Main System Parameters" : "Playback Options";
}

bool CSysParManager::isChoice(std::size_t row) const { return record(row).type == 1; }

std::string CSysParManager::valueText(std::size_t row) const {
  const auto& r = record(row);
  if (isChoice(row)) return r.selectedChoice < r.choiceTexts.size() ? r.choiceTexts[r.selectedChoice] : std::string();
  char text[64];
  std::snprintf(text, sizeof text, "%.5f", static_cast<double>(r.value));
  return text;
}

bool CSysParManager::commitNumber(std::size_t row, std::string_view text) {
  if (row >= draft_.size() || isChoice(row)) return false;
  // "12x", an empty box, and "nan" or "inf" (a depth offset of either would spoil every row)
  // leave the old value.
  const auto v = wholeFiniteNumber(text);
  if (!v) return false;
  draft_[row].value = static_cast<float>(*v);
  return true;
}

bool CSysParManager::commitChoice(std::size_t row, int choice) {
  if (row >= draft_.size() || !isChoice(row)) return false;
  auto& r = draft_[row];
  if (choice < 0 || choice >= r.choiceCount || static_cast<std::size_t>(choice) >= r.choiceValues.size()) return false;
  r.selectedChoice = static_cast<std::uint8_t>(choice);
  // "SVYMODE" holds the system mode word in its value, which every recorded file takes and
  // its playback reads back for the step and the units: its choice never overwrites it.
  if (first_ + row != records::kSvyMode) r.value = r.choiceValues[static_cast<std::size_t>(choice)];
  return true;
}

void CSysParManager::ok() {
  for (std::size_t i = 0; i < draft_.size() && first_ + i < table_.size(); ++i) table_[first_ + i] = draft_[i];
}

}  // namespace kvr
