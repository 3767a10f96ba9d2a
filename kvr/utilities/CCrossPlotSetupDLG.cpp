#include "kvr/utilities/CCrossPlotSetupDLG.h"

namespace kvr::utilities {

namespace {
constexpr const char* kTitle = "INPUT ERROR";
constexpr const char* kEastText = "East Departure Starting value must be minor than Final value\nCorrect this in order to continue";
constexpr const char* kNorthText = "North Departure Starting value must be minor than Final value\nCorrect this in order to continue";
constexpr const char* kDepthText = "Depth Starting value must be minor than Final value\nCorrect this in order to continue";
}  // namespace

void CCrossPlotSetupDLG::autoRange() {
  values.east = automatic_.east;
  values.north = automatic_.north;
  values.depth = automatic_.depth;
}

bool CCrossPlotSetupDLG::ok() {
  const char* refusal = nullptr;
  // Written so that a NaN typed into a field is refused as well.
  if (!(values.east.final >= values.east.start)) {
    refusal = kEastText;
  } else if (!(values.north.final >= values.north.start)) {
    refusal = kNorthText;
  } else if (!(values.depth.final >= values.depth.start)) {
    refusal = kDepthText;
  }
  if (!refusal) return true;
  platform::tell(prompter_, kTitle, refusal, platform::Icon::Error);
  values.east = opened_.east;
  values.north = opened_.north;
  values.depth = opened_.depth;
  return false;
}

}  // namespace kvr::utilities
