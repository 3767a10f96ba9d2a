#pragma once
// "Time Differnce Calculator" on screen over CTimeDiffCalc.

#include <QWidget>

#include "kvr/utilities/CTimeDiffCalc.h"

namespace kvr::utilities::ui {

// Runs the dialog modally; "OK" asks through the calculator's prompter and closes.
void runTimeDiffCalcDialog(QWidget* parent, CTimeDiffCalc& calc);

}  // namespace kvr::utilities::ui
