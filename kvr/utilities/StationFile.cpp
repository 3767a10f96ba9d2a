#include "kvr/utilities/StationFile.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace kvr::utilities {

namespace {

constexpr const char* kNotThreeNumbers = "does not hold three numbers (measured depth, inclination, azimuth)";
constexpr const char* kValueOutOfRange = "holds a value that is not a finite number between -1e9 and 1e9";
constexpr std::size_t kShownLineLength = 80;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }

// One number of the C locale ("12", "-3.5", "1e3", "+7"); false for anything else.
bool parseNumber(std::string_view token, double& value) {
  if (!token.empty() && token.front() == '+') {
    token.remove_prefix(1);
    if (!token.empty() && (token.front() == '+' || token.front() == '-')) return false;
  }
  if (token.empty()) return false;
  const char* first = token.data();
  const char* last = first + token.size();
  auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    value = HUGE_VAL;  // caught by the range check
    return ptr == last;
  }
  return ec == std::errc() && ptr == last;
}

}  // namespace

bool StationReader::nextLine(std::string_view& line) {
  if (pos_ >= text_.size()) return false;
  std::size_t end = pos_;
  while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r') ++end;
  line = text_.substr(pos_, end - pos_);
  if (end < text_.size()) {
    if (text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n') ++end;
    ++end;
  }
  pos_ = end;
  ++lineNumber_;
  return true;
}

StationReader::Status StationReader::next(Station& station) {
  if (badLine_ != 0) return Status::BadLine;
  std::string_view line;
  while (nextLine(line)) {
    std::size_t i = 0;
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i == line.size() || line[i] == '#') continue;

    double values[3];
    int count = 0;
    bool numbers = true;
    bool inRange = true;
    while (i < line.size()) {
      std::size_t start = i;
      while (i < line.size() && !isBlank(line[i])) ++i;
      double v = 0;
      if (count == 3 || !parseNumber(line.substr(start, i - start), v)) {
        numbers = false;
        break;
      }
      if (!std::isfinite(v) || std::fabs(v) > kLargestValue) inRange = false;
      values[count++] = v;
      while (i < line.size() && isBlank(line[i])) ++i;
    }
    if (!numbers || count != 3 || !inRange) {
      badLine_ = lineNumber_;
      badText_ = std::string(line.substr(0, kShownLineLength));
      badReason_ = (!numbers || count != 3) ? kNotThreeNumbers : kValueOutOfRange;
      return Status::BadLine;
    }
    station = Station{values[0], values[1], values[2]};
    return Status::Station;
  }
  return Status::End;
}

std::string StationReader::badLineMessage() const {
  char head[64];
  std::snprintf(head, sizeof head, "Line %zu of the data file ", badLine_);
  return std::string(head) + badReason_ + ":\n" + badText_;
}

}  // namespace kvr::utilities
