// kvr-merge A.kvr B.kvr [--suffix S] [-o OUT]: merges two KVR data files as the
// "Merge and Splice" dialog does. Messages go to standard error as "TITLE: text".

#include <cstring>
#include <iostream>
#include <string>

#include "kvr/utilities/BatchMerge.h"
#include "kvr/utilities/MergeLists.h"

namespace {

constexpr const char* kUsage =
    "usage: kvr-merge A.kvr B.kvr [--suffix S] [-o OUT]\n"
    "Puts the channels of B beside those of A on a common depth axis: rows whose depths lie\n"
    "within 0.125 share an output row, the others are padded with -100000000.\n"
    "  --suffix S  text appended to every channel name of B (at most 8 characters); a name\n"
    "              that is still in A is reported and that channel of B is left out\n"
    "  -o OUT      the output file (\".kvr\" is added when missing); without it the next\n"
    "              MERGE_FILE[_n].kvr of the current folder, counted in its FileCounter.txt\n"
    "Exit status: 0 merged, 1 refused or failed, 2 bad arguments.\n";

}  // namespace

int main(int argc, char** argv) {
  std::string files[2], suffix, out;
  int positional = 0;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if ((a == "--suffix" || a == "-o") && i + 1 < argc) {
      (a == "-o" ? out : suffix) = argv[++i];
    } else if (!a.empty() && a[0] != '-' && positional < 2) {
      files[positional++] = a;
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
  if (positional != 2 || suffix.size() > kvr::utilities::kMaxSuffixLength) {
    std::cerr << kUsage;
    return 2;
  }

  kvr::utilities::BatchMerge batch;
  auto& merge = batch.merge();
  if (!batch.choose(files[0], files[1])) return 1;
  merge.action = kvr::utilities::MergeAction::Merge;
  merge.suffix = suffix;
  merge.outputFile = out;
  return merge.proceed() ? 0 : 1;
}
