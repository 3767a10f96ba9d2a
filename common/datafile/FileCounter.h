#pragma once
// FileCounter.txt in the session folder numbers the data files of a session.

#include <string>
#include <string_view>

namespace kvr {

constexpr const char* kFileCounterName = "FileCounter.txt";
// Enough for the first word of any file the program wrote; a larger file is read no further.
constexpr std::size_t kFileCounterReadLimit = 4096;

// The stored number: the leading decimal digits of the first whitespace-delimited word, 0 when
// there are none ("abc"). A negative number counts as 0, so the next file can never take the
// unnumbered name of the first; a huge one stops at the largest number that can still grow by one.
int parseFileCounter(std::string_view text);
// The text the counter file holds for a number, with CR LF line ends.
std::string fileCounterText(int number);
// "" for 0, otherwise "_" and the number.
std::string fileNumberSuffix(int number);

}  // namespace kvr
