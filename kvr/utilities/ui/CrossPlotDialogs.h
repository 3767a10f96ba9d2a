#pragma once
// The "Cross Plot Generator" window with its "Cross Plot Graphics Setup", and the
// "Report Generation Options " dialog of the directional survey report.

#include <QWidget>

#include "kvr/utilities/CCrossPlot.h"
#include "platform/Prompter.h"
#include "platform/Settings.h"

namespace kvr::utilities::ui {

void runCrossPlotDialog(QWidget* parent, platform::Prompter& prompter);
// True when OK stored new settings into the generator.
bool runCrossPlotSetupDialog(QWidget* parent, platform::Prompter& prompter, CCrossPlot& plot);
bool runDirSurveyReportOptionsDialog(QWidget* parent, platform::Settings& settings, platform::Prompter& prompter);

}  // namespace kvr::utilities::ui
