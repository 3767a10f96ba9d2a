// kvr-splice A.kvr B.kvr --range1 F T --range2 F T [-o OUT]: joins two depth intervals of
// the same tool string as the "Merge and Splice" dialog does. Messages go to standard
// error as "TITLE: text".

#include <charconv>
#include <cmath>
#include <iostream>
#include <string>

#include "kvr/utilities/BatchMerge.h"

namespace {

constexpr const char* kUsage =
    "usage: kvr-splice A.kvr B.kvr --range1 F T --range2 F T [-o OUT]\n"
    "Writes the rows of the file that comes first in logging order within its range, then\n"
    "those of the other within its range. The first file's final depth must equal the\n"
    "other's starting depth; each range must lie inside its file.\n"
    "  --range1 F T  from and to depth of A;  --range2 F T  from and to depth of B\n"
    "  -o OUT        the output file (\".kvr\" is added when missing); without it the next\n"
    "                SPLICE_FILE[_n].kvr of the current folder, counted in its FileCounter.txt\n"
    "Exit status: 0 spliced, 1 refused or failed, 2 bad arguments.\n";

bool number(const char* text, float& v) {
  std::string s = text;
  if (!s.empty() && s[0] == '+') s.erase(0, 1);
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && p == s.data() + s.size() && std::isfinite(v);
}

}  // namespace

int main(int argc, char** argv) {
  std::string files[2], out;
  kvr::utilities::DepthRange ranges[2];
  bool given[2] = {false, false};
  int positional = 0;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if ((a == "--range1" || a == "--range2") && i + 2 < argc) {
      int k = a == "--range1" ? 0 : 1;
      if (!number(argv[i + 1], ranges[k].from) || !number(argv[i + 2], ranges[k].to)) {
        std::cerr << kUsage;
        return 2;
      }
      given[k] = true;
      i += 2;
    } else if (a == "-o" && i + 1 < argc) {
      out = argv[++i];
    } else if (!a.empty() && a[0] != '-' && positional < 2) {
      files[positional++] = a;
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
  if (positional != 2 || !given[0] || !given[1]) {
    std::cerr << kUsage;
    return 2;
  }

  kvr::utilities::BatchMerge batch;
  auto& splice = batch.merge();
  if (!batch.choose(files[0], files[1])) return 1;
  splice.action = kvr::utilities::MergeAction::Splice;
  splice.ranges = {ranges[0], ranges[1]};
  splice.outputFile = out;
  return splice.proceed() ? 0 : 1;
}
