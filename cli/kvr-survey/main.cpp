// kvr-survey: a gyro survey without a window, on the simulated panel on virtual time. The
// family of the string's gyro tool decides which survey runs.

#include <iostream>
#include <string>

#include "panelsim/ToolNames.h"

int runTarnBSurvey(int argc, char** argv);
int runTarnSurvey(int argc, char** argv);

namespace {

// The first gyro tool code of --tools (220 TARN, 224 TARN-B, 227 TARN-C), or 0.
int gyroFamily(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string(argv[i]) != "--tools") continue;
    const std::string list = argv[i + 1];
    std::size_t start = 0;
    while (start <= list.size()) {
      const std::size_t comma = list.find(',', start);
      const std::string name = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
      const auto code = panelsim::toolCodeForName(name, {});
      if (code && (*code == 220 || *code == 224 || *code == 227)) return *code;
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int family = gyroFamily(argc, argv);
  if (family == 224) return runTarnBSurvey(argc, argv);
  if (family == 220) return runTarnSurvey(argc, argv);
  bool help = false;
  for (int i = 1; i < argc; ++i) help = help || std::string(argv[i]) == "--help";
  if (help) {
    std::cout << "usage: kvr-survey --root DIR --tools NAME,... [options]\n"
                 "A survey of the string's gyro tool on the simulated panel; --help with --tools of a TARN-B or\n"
                 "TARN string shows its options.\n";
    return 0;
  }
  if (family == 227) {
    std::cerr << "kvr-survey: TARN-C surveys are not built in this program yet\n";
    return 1;
  }
  std::cerr << "kvr-survey: --tools names no TARN, TARN-B or TARN-C tool\n";
  return 2;
}
