#pragma once
// "Curve Editor": one row per curve of a format, edited in place on a draft; OK applies the
// draft: curves moved to another track go last there, the headings are stacked again.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/presentation/Format.h"
#include "common/records/ChannelStruct.h"
#include "kvr/presentation/CChManager.h"
#include "platform/Prompter.h"

namespace kvr::editor {

inline constexpr const char* kLastCurveText = "You cannot erase the last curve. A Format must have at least one curve !";
inline constexpr const char* kEraseCurveText = "You are about to erase: ";
inline constexpr const char* kNoChannelsText =
    "There are no channels to choose from.\nDefine a tool string before adding a curve.";
inline constexpr const char* kNotANumberText = "The value must be a number.";
inline constexpr const char* kEqualValuesText = "The left and right values must differ.";
inline constexpr const char* kLogBoundsText = "The values of a logarithmic track must be above 0.";
inline constexpr std::size_t kValueFieldMax = 10;

class CCEditor {
 public:
  enum Column { kCurveName, kTrack, kLeftValue, kRightValue, kLineType, kThickness, kColour, kChannel, kColumns };
  enum class Edit { Select, TrackChoice, ValueField, Cycle, ColourDialog, ChannelChooser };

  static const char* heading(int column);
  static Edit editOf(int column);

  CCEditor(const presentation::CFormat& format, platform::Prompter& prompter);

  std::size_t rows() const { return rows_.size(); }
  std::string cell(std::size_t row, int column) const;
  platform::Rgb colour(std::size_t row) const { return rows_.at(row).curve.colour; }

  void select(std::size_t row);
  std::optional<std::size_t> selected() const { return selected_; }

  // "Track": the choices and the one of a row.
  std::vector<std::string> trackChoices() const;
  std::size_t trackOf(std::size_t row) const { return rows_.at(row).track; }
  bool setTrack(std::size_t row, std::size_t track);

  // "Left Value" / "Right Value": the field's text, and the text it closes with. A text that
  // is no number, equal values and logarithmic bounds at or below 0 are refused with a
  // message, and the old value stays.
  std::string valueText(std::size_t row, int column) const;
  bool setValue(std::size_t row, int column, const std::string& text);

  // "Line Type" and "Thickness" cycle; "Color" opens the colour dialog; "Curve Name" selects.
  bool click(std::size_t row, int column);
  // "Channel": the channel chooser's answer.
  void setChannel(std::size_t row, const ChosenChannel& chosen);

  // "&Add": a new curve on the first track with the first channel. False when nothing was added.
  bool add(std::span<const records::ChannelStruct> channels);
  // "&Erase" of the selected row.
  bool erase();

  // OK.
  void apply(presentation::CFormat& format) const;

 private:
  struct Row {
    presentation::CCurve curve;
    std::size_t track = 0;  // chosen
    std::size_t from = 0;   // where it was (the first track for a new curve)
  };
  bool refused(float left, float right, std::size_t track) const;

  platform::Prompter& prompter_;
  std::vector<presentation::CColumn> tracks_;  // grids only, for the choices and the checks
  std::vector<Row> rows_;
  std::optional<std::size_t> selected_;
};

}  // namespace kvr::editor
