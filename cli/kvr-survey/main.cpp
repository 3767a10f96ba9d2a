// kvr-survey: a gyro survey session without a window, as kvr-log is for logs: the task panel
// of the string's survey tool against the simulated panel on virtual time. The family of the
// string's gyro tool decides which survey runs (TARN-C when the string names none).

#include <iostream>
#include <string>

#include "cli/common/CommandLine.h"
#include "cli/kvr-survey/SurveyArgs.h"
#include "cli/kvr-survey/TarnCSurvey.h"
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
  if (cli::wantsHelp(argc, argv)) {
    std::cout << kvr::survey::kUsage
              << "\nWith --tools naming a TARN-B or TARN tool, --help shows the options of its survey.\n";
    return 0;
  }
  const auto args = kvr::survey::parseSurveyArgs(argc, argv);
  if (const auto end = cli::helpOrRefusal(argc, argv, args, kvr::survey::kUsage)) return *end;
  return kvr::survey::runTarnCSurvey(*args, std::cout, std::cerr);
}
