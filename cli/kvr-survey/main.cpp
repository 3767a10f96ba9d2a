// kvr-survey: a gyro survey session without a window, as kvr-log is for logs: the task panel
// of the string's survey tool against the simulated panel on virtual time.

#include <iostream>
#include <string>

#include "cli/kvr-survey/SurveyArgs.h"
#include "cli/kvr-survey/TarnCSurvey.h"

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--help") {
      std::cout << kvr::survey::kUsage;
      return 0;
    }
  }
  const auto args = kvr::survey::parseSurveyArgs(argc, argv);
  if (!args) {
    std::cerr << kvr::survey::kUsage;
    return 2;
  }
  return kvr::survey::runTarnCSurvey(*args, std::cout, std::cerr);
}
