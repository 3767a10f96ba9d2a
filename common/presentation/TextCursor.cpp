#include "common/presentation/TextCursor.h"

#include <charconv>
#include <cmath>

namespace presentation {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
}  // namespace

std::string_view TextCursor::line() {
  const std::size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != '\n' && text_[pos_] != '\r') ++pos_;
  const std::string_view out = text_.substr(start, pos_ - start);
  if (pos_ < text_.size()) {
    const bool cr = text_[pos_] == '\r';
    ++pos_;
    if (cr && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  }
  return out;
}

std::string_view TextCursor::lineAfterBlanks() {
  skipBlanks();
  return line();
}

void TextCursor::skipBlanks() {
  while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
}

std::string_view TextCursor::word() {
  skipBlanks();
  const std::size_t start = pos_;
  while (pos_ < text_.size() && !isBlank(text_[pos_])) ++pos_;
  return text_.substr(start, pos_ - start);
}

std::optional<long long> TextCursor::integer() {
  skipBlanks();
  std::size_t p = pos_;
  if (p < text_.size() && text_[p] == '+') ++p;
  long long v = 0;
  const auto [end, ec] = std::from_chars(text_.data() + p, text_.data() + text_.size(), v);
  if (end == text_.data() + p) return std::nullopt;
  pos_ = static_cast<std::size_t>(end - text_.data());
  if (ec == std::errc::result_out_of_range) return std::nullopt;
  return v;
}

std::optional<double> TextCursor::real() {
  skipBlanks();
  std::size_t p = pos_;
  if (p < text_.size() && text_[p] == '+') ++p;
  double v = 0;
  const auto [end, ec] = std::from_chars(text_.data() + p, text_.data() + text_.size(), v);
  if (end == text_.data() + p) return std::nullopt;
  pos_ = static_cast<std::size_t>(end - text_.data());
  if (ec != std::errc{} || !std::isfinite(v)) return std::nullopt;
  return v;
}

}  // namespace presentation
