#pragma once
// The program's side of a post-processing test: its TOOLS library with the TARN-C
// calibration it has loaded and the well latitude, the ports, and the manager over them.

#include <string>

#include "common/records/ToolCodes.h"
#include "kvr/postprocess/PostProcessManager.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/ScriptedPrompter.h"
#include "toolslib/Library.h"
#include "toolslib/families/TarnC.h"

namespace kvr::postprocess::testing {

struct ProgramSide {
  tools::Library lib;
  tools::TarnC& tarnC = *static_cast<tools::TarnC*>(lib.family(records::kTarnC));
  platform::testing::ScriptedPrompter prompter;
  platform::testing::VirtualClock clock;
  KeptTrace trace;
  PostProcessManager manager{lib, prompter, clock, trace};

  explicit ProgramSide(const std::string& kvrSct = {}, float latitude = 40) {
    if (!kvrSct.empty()) tarnC.loadCorrectionTableText(kvrSct, nullptr);
    tarnC.getParameterList()[tools::TarnC::kLatitude].value = latitude;
    tarnC.init();
  }
  bool traced(const std::string& piece) const {
    for (const auto& l : trace.lines)
      if (l.find(piece) != std::string::npos) return true;
    return false;
  }
};

}  // namespace kvr::postprocess::testing
