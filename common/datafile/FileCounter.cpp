#include "common/datafile/FileCounter.h"

#include <climits>

namespace kvr {

namespace {
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
}  // namespace

int parseFileCounter(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr long long kMax = INT_MAX - 1;
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kMax) value = kMax;  // saturate; more digits change nothing
  }
  return negative ? 0 : static_cast<int>(value);
}

std::string fileCounterText(int number) {
  return std::to_string(number) + "\r\nDo not change or delete this file !";
}

std::string fileNumberSuffix(int number) { return number == 0 ? std::string() : "_" + std::to_string(number); }

}  // namespace kvr
