#pragma once
// "KVR to ASCII Converter" on screen: the fields of CKvrToAscii, its buttons and the progress bar.

#include <QWidget>

#include "kvr/utilities/CKvrToAscii.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

namespace kvr::utilities::ui {

// Runs the dialog modally over `logic`; "Calculate" opens the time-difference calculator.
void runKvrToAsciiDialog(QWidget* parent, CKvrToAscii& logic, platform::Prompter& prompter,
                         const platform::Clock& clock);

}  // namespace kvr::utilities::ui
