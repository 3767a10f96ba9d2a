#include "kvr/tarnb/CTARNBInRunParameters.h"

#include <cmath>

#include "common/records/ToolCodes.h"
#include "kvr/tarnb/TarnBTexts.h"
#include "toolslib/families/TarnB.h"

namespace kvr::tarnb {

namespace {
constexpr std::size_t kLatitudeRecord = tools::TarnB::kLatitude, kRangeRecord = tools::TarnB::kToolfaceRange;
}

CTARNBInRunParameters::CTARNBInRunParameters(tools::Library& library) : library_(library) {
  const auto& p = library_.family(records::kTarnB)->getParameterList();
  if (p.size() > kLatitudeRecord) latitude = p[kLatitudeRecord].value;
  if (p.size() > kRangeRecord) toolfaceRange = p[kRangeRecord].selectedChoice == 1 ? 1 : 0;
  filterDisabled = library_.globals().TARN_B_IgnoreNoiseFilter == 1;
}

bool CTARNBInRunParameters::accept(platform::Prompter& prompter) {
  if (!(std::fabs(latitude) <= kLatitudeLimit)) {
    platform::tell(prompter, "INPUT ERROR", text::kLatitudeRange, platform::Icon::Warning);
    return false;
  }
  auto& p = library_.family(records::kTarnB)->getParameterList();
  if (p.size() > kLatitudeRecord) p[kLatitudeRecord].value = static_cast<float>(latitude);
  if (p.size() > kRangeRecord) {
    auto& r = p[kRangeRecord];
    r.selectedChoice = static_cast<std::uint8_t>(toolfaceRange == 1 ? 1 : 0);
    if (r.selectedChoice < r.choiceValues.size()) r.value = r.choiceValues[r.selectedChoice];
  }
  library_.globals().TARN_B_IgnoreNoiseFilter = filterDisabled ? 1 : 0;
  return true;
}

}  // namespace kvr::tarnb
