#include "kvr/presentation/CCEditor.h"

#include "common/presentation/NumberText.h"
#include "common/presentation/TextCursor.h"
#include "kvr/presentation/CAddCurve.h"

namespace kvr::editor {

using presentation::CCurve;
using presentation::LineType;
using presentation::TrackMode;

namespace {
constexpr const char* kHeadings[CCEditor::kColumns] = {"Curve Name", "Track",     "Left Value", "Right Value",
                                                       "Line Type",  "Thickness", "Color",      "Channel"};
constexpr const char* kLineTypes[5] = {"SOLID", "DASH", "DOTTED", "DASHDOT", "DASHDTDT"};
constexpr const char* kInputError = "INPUT ERROR";

std::string trackName(std::size_t index) { return "TRACK-" + std::to_string(index); }

std::optional<float> number(const std::string& text) {
  presentation::TextCursor in(text);
  const auto v = in.real();
  if (!v || !in.word().empty() || *v > 3.4e38 || *v < -3.4e38) return std::nullopt;
  return static_cast<float>(*v);
}
}  // namespace

const char* CCEditor::heading(int column) { return column >= 0 && column < kColumns ? kHeadings[column] : ""; }

CCEditor::Edit CCEditor::editOf(int column) {
  switch (column) {
    case kTrack: return Edit::TrackChoice;
    case kLeftValue:
    case kRightValue: return Edit::ValueField;
    case kLineType:
    case kThickness: return Edit::Cycle;
    case kColour: return Edit::ColourDialog;
    case kChannel: return Edit::ChannelChooser;
    default: return Edit::Select;
  }
}

CCEditor::CCEditor(const presentation::CFormat& format, platform::Prompter& prompter) : prompter_(prompter) {
  for (std::size_t t = 0; t < format.tracks.size(); ++t) {
    tracks_.push_back(format.tracks[t]);
    tracks_.back().curves.clear();
    for (const auto& c : format.tracks[t].curves) rows_.push_back(Row{c, t, t});
  }
}

std::string CCEditor::cell(std::size_t row, int column) const {
  if (row >= rows_.size()) return {};
  const auto& r = rows_[row];
  const auto& c = r.curve;
  switch (column) {
    case kCurveName: return c.description;
    case kTrack: return trackName(tracks_[r.track].index);
    case kLeftValue: return presentation::numberText(c.leftValue);
    case kRightValue: return presentation::numberText(c.rightValue);
    case kLineType: {
      const auto type = static_cast<std::uint32_t>(c.lineType);
      return kLineTypes[type < 5 ? type : 0];
    }
    case kThickness: return c.thickness == 2 ? "Medium" : c.thickness == 3 ? "Thick" : "Thin";
    case kChannel: return c.name;
    default: return {};  // "Color" is a swatch
  }
}

void CCEditor::select(std::size_t row) {
  if (row < rows_.size()) selected_ = row;
}

std::vector<std::string> CCEditor::trackChoices() const {
  std::vector<std::string> out;
  for (const auto& t : tracks_) out.push_back(trackName(t.index));
  return out;
}

bool CCEditor::refused(float left, float right, std::size_t track) const {
  const char* why = nullptr;
  if (left == right) why = kEqualValuesText;
  else if (tracks_[track].mode == TrackMode::Logarithmic && (left <= 0 || right <= 0)) why = kLogBoundsText;
  if (why) platform::tell(prompter_, kInputError, why, platform::Icon::Warning);
  return why != nullptr;
}

bool CCEditor::setTrack(std::size_t row, std::size_t track) {
  if (row >= rows_.size() || track >= tracks_.size()) return false;
  auto& r = rows_[row];
  if (refused(r.curve.leftValue, r.curve.rightValue, track)) return false;
  r.track = track;
  return true;
}

std::string CCEditor::valueText(std::size_t row, int column) const {
  return (column == kLeftValue || column == kRightValue) ? cell(row, column).substr(0, kValueFieldMax) : std::string();
}

bool CCEditor::setValue(std::size_t row, int column, const std::string& text) {
  if (row >= rows_.size() || (column != kLeftValue && column != kRightValue)) return false;
  auto& r = rows_[row];
  const auto v = number(text.substr(0, kValueFieldMax));
  if (!v) {
    platform::tell(prompter_, kInputError, kNotANumberText, platform::Icon::Warning);
    return false;
  }
  const float left = column == kLeftValue ? *v : r.curve.leftValue;
  const float right = column == kRightValue ? *v : r.curve.rightValue;
  if (refused(left, right, r.track)) return false;
  r.curve.leftValue = left;
  r.curve.rightValue = right;
  return true;
}

bool CCEditor::click(std::size_t row, int column) {
  if (row >= rows_.size()) return false;
  auto& c = rows_[row].curve;
  switch (column) {
    case kCurveName: select(row); return false;
    case kLineType: {
      const auto type = static_cast<std::uint32_t>(c.lineType);
      c.lineType = static_cast<LineType>(type >= 4 ? 0 : type + 1);
      return true;
    }
    case kThickness: c.thickness = c.thickness == 1 ? 2 : c.thickness == 2 ? 3 : 1; return true;
    case kColour: {
      const auto chosen = prompter_.chooseColour(c.colour);
      if (!chosen) return false;
      c.colour = *chosen & 0xFFFFFFu;
      return true;
    }
    default: return false;
  }
}

void CCEditor::setChannel(std::size_t row, const ChosenChannel& chosen) {
  if (row >= rows_.size()) return;
  auto& c = rows_[row].curve;
  c.name = chosen.channel.mnemonic.substr(0, presentation::kCurveNameMax);
  c.channelIndex = static_cast<std::uint32_t>(chosen.position);
}

bool CCEditor::add(std::span<const records::ChannelStruct> channels) {
  if (tracks_.empty()) return false;
  if (channels.empty()) {
    // Before any tool string there is no channel to bind the curve to.
    platform::tell(prompter_, "MESSAGE", kNoChannelsText, platform::Icon::Information);
    return false;
  }
  const auto description = CAddCurve(prompter_).run();
  if (!description) return false;
  CCurve c;
  c.description = *description;
  c.name = channels.front().mnemonic.substr(0, presentation::kCurveNameMax);
  c.channelIndex = 0;
  c.colour = 0;
  c.lineType = LineType::Solid;
  c.thickness = 1;
  c.labelHeight = 40;
  // A logarithmic first track has no 0: its new curve spans one decade instead of 0..1.
  const bool log = tracks_.front().mode == TrackMode::Logarithmic;
  c.leftValue = log ? 1.0f : 0.0f;
  c.rightValue = log ? 10.0f : 1.0f;
  rows_.push_back(Row{c, 0, 0});
  return true;
}

bool CCEditor::erase() {
  if (rows_.size() == 1) {
    platform::tell(prompter_, "ERROR", kLastCurveText, platform::Icon::Error);
    return false;
  }
  if (!selected_ || *selected_ >= rows_.size()) return false;
  const auto answer = prompter_.ask(platform::Message{"ATTENTION", kEraseCurveText + rows_[*selected_].curve.description,
                                                      platform::Buttons::OkCancel, platform::Icon::Warning});
  if (answer != platform::Answer::Ok) return false;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*selected_));
  selected_.reset();
  return true;
}

void CCEditor::apply(presentation::CFormat& format) const {
  const std::size_t n = std::min(format.tracks.size(), tracks_.size());
  for (std::size_t t = 0; t < n; ++t) {
    auto& curves = format.tracks[t].curves;
    curves.clear();
    // The curves that stayed keep their order; the ones moved here follow them.
    for (const auto& r : rows_)
      if (r.track == t && r.from == t) curves.push_back(r.curve);
    for (const auto& r : rows_)
      if (r.track == t && r.from != t) curves.push_back(r.curve);
    for (auto& c : curves) c.trackIndex = format.tracks[t].index;
  }
  format.curveCount = static_cast<int>(rows_.size());
  presentation::stackLabels(format);
}

}  // namespace kvr::editor
