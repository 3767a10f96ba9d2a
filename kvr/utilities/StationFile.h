#pragma once
// The survey station file of the cross plot: one station per line, measured depth,
// inclination and azimuth in degrees, separated by blanks or tabs. Lines may end in LF,
// CR LF or CR. Blank lines and lines whose first visible character is '#' are skipped;
// any other line must hold exactly three finite numbers of magnitude up to 1e9, or the
// reader stops there and names the line.

#include <cstddef>
#include <string>
#include <string_view>

namespace kvr::utilities {

struct Station {
  double md = 0;
  double inclination = 0;  // degrees
  double azimuth = 0;      // degrees
};

class StationReader {
 public:
  enum class Status { Station, End, BadLine };
  // Values beyond this are refused: no well is that deep, and every sum of the path then
  // stays far inside the range of a 32-bit float.
  static constexpr double kLargestValue = 1e9;

  explicit StationReader(std::string_view text) : text_(text) {}

  // The next station, the end of the text, or a line that is not a station (then
  // badLineNumber() and badLineText() say which, and every further call repeats it).
  Status next(Station& station);

  std::size_t badLineNumber() const { return badLine_; }
  const std::string& badLineText() const { return badText_; }
  // The user's message for the bad line.
  std::string badLineMessage() const;

 private:
  bool nextLine(std::string_view& line);

  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t lineNumber_ = 0;
  std::size_t badLine_ = 0;
  std::string badText_;
  std::string badReason_;
};

}  // namespace kvr::utilities
