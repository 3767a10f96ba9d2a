#pragma once
// "Cross Plot Graphics Setup": the three ranges, "Auto Range", the grid spacings and
// "Invert Vertical Scale". The view edits `values`; ok() checks the ranges.

#include "kvr/utilities/CrossPlotSettings.h"
#include "platform/Prompter.h"

namespace kvr::utilities {

class CCrossPlotSetupDLG {
 public:
  CCrossPlotSetupDLG(platform::Prompter& prompter, const PlotSettings& current, const PlotSettings& automatic)
      : values(current), prompter_(prompter), opened_(current), automatic_(automatic) {}

  // "Auto Range": the automatic ranges of the loaded path.
  void autoRange();
  // A range whose final value is below its starting value is refused with its message;
  // the six range values then return to what they were when the dialog opened.
  bool ok();

  PlotSettings values;

 private:
  platform::Prompter& prompter_;
  PlotSettings opened_;
  PlotSettings automatic_;
};

}  // namespace kvr::utilities
