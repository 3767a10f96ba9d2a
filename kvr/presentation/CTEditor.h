#pragma once
// "Track Editor": one row per track of a format, edited in place on a draft of the tracks.
// Mode cycles, the middle line and the log grid direction toggle, the counts are spin
// fields; OK copies the draft into the format and recomputes the log tick tables.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "common/presentation/Format.h"

namespace kvr::editor {

class CTEditor {
 public:
  enum Column { kTracks, kMode, kDivisions, kMiddleLine, kDecades, kStartingDecade, kDirection, kColumns };
  enum class Edit { None, Cycle, Spin };
  struct Spin {
    int min = 0, max = 0, value = 0;
  };

  static const char* heading(int column);
  explicit CTEditor(const presentation::CFormat& format);

  std::size_t rows() const { return tracks_.size(); }
  // The text of a cell; cells that do not apply to the track's mode are empty.
  std::string cell(std::size_t row, int column) const;
  // What a click on the cell does.
  Edit editOf(std::size_t row, int column) const;
  // A click on a cycling or toggling cell; true when the row changed.
  bool click(std::size_t row, int column);
  // The spin field a click opens (none for a cell that does not apply).
  std::optional<Spin> spin(std::size_t row, int column) const;
  // The spin field's value when it closes; values outside its range are refused.
  bool setSpin(std::size_t row, int column, int value);

  // OK.
  void apply(presentation::CFormat& format) const;

 private:
  std::vector<presentation::CColumn> tracks_;
};

}  // namespace kvr::editor
