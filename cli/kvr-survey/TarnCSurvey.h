#pragma once
// The TARN-C session of kvr-survey: the logging station on the simulated panel with the
// task panel of the string's TARN-C tool, driven as the engineer would.

#include <ostream>

#include "cli/kvr-survey/SurveyArgs.h"

namespace kvr::survey {

// 0 when every station was taken, 1 on a refusal.
int runTarnCSurvey(const SurveyArgs& args, std::ostream& out, std::ostream& err);

}  // namespace kvr::survey
