#pragma once
// The start every batch program shares: "--help" anywhere prints the usage and ends the run
// with 0, a command line the program's parser refused prints it on stderr and ends with 2, and
// a failure is said as "PROGRAM: text" on stderr with status 1.

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

inline bool wantsHelp(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::string_view(argv[i]) == "--help") return true;
  return false;
}

// The exit status when the run ends here: help asked (0) or the command line refused (2).
template <class Parsed>
std::optional<int> helpOrRefusal(int argc, char** argv, const Parsed& parsed, std::string_view usage) {
  if (wantsHelp(argc, argv)) {
    std::cout << usage;
    return 0;
  }
  if (!parsed) {
    std::cerr << usage;
    return 2;
  }
  return std::nullopt;
}

// A whole option value as a finite number.
inline bool number(const char* text, double& out) {
  char* end = nullptr;
  out = std::strtod(text, &end);
  return end != text && *end == '\0' && std::isfinite(out);
}

// A whole option value as an integer from lo to hi.
inline bool integer(const char* text, long lo, long hi, int& out) {
  char* end = nullptr;
  const long n = std::strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || n < lo || n > hi) return false;
  out = static_cast<int>(n);
  return true;
}

// The items of a comma-separated option value ("--tools A,B"), empty items dropped.
inline std::vector<std::string> splitList(const std::string& s) {
  std::vector<std::string> out;
  std::stringstream in(s);
  for (std::string item; std::getline(in, item, ',');)
    if (!item.empty()) out.push_back(item);
  return out;
}

inline int fail(std::string_view program, std::string_view text) {
  std::cerr << program << ": " << text << '\n';
  return 1;
}

}  // namespace cli
