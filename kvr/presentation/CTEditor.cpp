#include "kvr/presentation/CTEditor.h"

namespace kvr::editor {

using presentation::CColumn;
using presentation::TrackMode;

namespace {
constexpr const char* kHeadings[CTEditor::kColumns] = {
    "Tracks", "Mode", "Divisions", "Middle Line", "Decades", "Starting Decade", "Log Grid Direction"};

bool applies(const CColumn& t, int column) {
  switch (column) {
    case CTEditor::kTracks:
    case CTEditor::kMode: return true;
    case CTEditor::kDivisions:
    case CTEditor::kMiddleLine: return t.mode == TrackMode::Linear;
    case CTEditor::kDecades:
    case CTEditor::kStartingDecade:
    case CTEditor::kDirection: return t.mode == TrackMode::Logarithmic;
    default: return false;
  }
}
}  // namespace

const char* CTEditor::heading(int column) { return column >= 0 && column < kColumns ? kHeadings[column] : ""; }

CTEditor::CTEditor(const presentation::CFormat& format) : tracks_(format.tracks) {}

std::string CTEditor::cell(std::size_t row, int column) const {
  if (row >= tracks_.size() || !applies(tracks_[row], column)) return {};
  const auto& t = tracks_[row];
  switch (column) {
    case kTracks: return "TRACK-" + std::to_string(t.index);
    case kMode:
      return t.mode == TrackMode::Linear ? "LINEAR" : t.mode == TrackMode::Logarithmic ? "LOGARITMIC" : "DEPTH";
    case kDivisions: return std::to_string(t.divisions);
    case kMiddleLine: return t.midThick ? "Thick" : "Thin";
    case kDecades: return std::to_string(t.decades);
    case kStartingDecade: return std::to_string(t.startDecade);
    case kDirection: return t.leftToRight ? "Letf to Right" : "Right to Left";
    default: return {};
  }
}

CTEditor::Edit CTEditor::editOf(std::size_t row, int column) const {
  if (row >= tracks_.size() || column == kTracks || !applies(tracks_[row], column)) return Edit::None;
  return column == kDivisions || column == kDecades || column == kStartingDecade ? Edit::Spin : Edit::Cycle;
}

bool CTEditor::click(std::size_t row, int column) {
  if (editOf(row, column) != Edit::Cycle) return false;
  auto& t = tracks_[row];
  switch (column) {
    case kMode:
      t.mode = t.mode == TrackMode::Linear ? TrackMode::Logarithmic
               : t.mode == TrackMode::Logarithmic ? TrackMode::Depth
                                                  : TrackMode::Linear;
      return true;
    case kMiddleLine: t.midThick = !t.midThick; return true;
    case kDirection: t.leftToRight = !t.leftToRight; return true;
    default: return false;
  }
}

std::optional<CTEditor::Spin> CTEditor::spin(std::size_t row, int column) const {
  if (editOf(row, column) != Edit::Spin) return std::nullopt;
  const auto& t = tracks_[row];
  switch (column) {
    case kDivisions: return Spin{1, 100, t.divisions};
    case kDecades: return Spin{1, 10, t.decades};
    case kStartingDecade: return Spin{1, 9, t.startDecade};
    default: return std::nullopt;
  }
}

bool CTEditor::setSpin(std::size_t row, int column, int value) {
  const auto s = spin(row, column);
  if (!s || value < s->min || value > s->max) return false;
  auto& t = tracks_[row];
  (column == kDivisions ? t.divisions : column == kDecades ? t.decades : t.startDecade) = value;
  return true;
}

void CTEditor::apply(presentation::CFormat& format) const {
  // The draft holds every track of the format; only the grid settings are edited, so the
  // format's curves stay as they are (the curve editor may have changed them meanwhile).
  for (std::size_t i = 0; i < tracks_.size() && i < format.tracks.size(); ++i) {
    auto& t = format.tracks[i];
    const auto& d = tracks_[i];
    t.mode = d.mode;
    t.divisions = d.divisions;
    t.midThick = d.midThick;
    t.decades = d.decades;
    t.startDecade = d.startDecade;
    t.leftToRight = d.leftToRight;
    if (t.mode == TrackMode::Logarithmic) presentation::computeLogTicks(t);
  }
}

}  // namespace kvr::editor
