#pragma once
// The small settings dialogs: "KVR Options", "Unit System", "System Units", and the splash.

#include <QDialog>

#include <cstdint>
#include <string>

#include "common/records/SystemUnits.h"
#include "platform/EventLoop.h"
#include "platform/Settings.h"

namespace kvr::ui {

// Shows "KVR Options"; on OK returns true and updates flags (and the setting).
bool runOptionsDialog(QWidget* parent, platform::Settings& settings, std::uint16_t& flags);
// Shows "Unit System"; on OK returns true and sets the mode word.
bool runUnitSystemDialog(QWidget* parent, std::int32_t& modeWord);
// Shows "System Units"; on OK returns true and updates the units (and the settings).
bool runSystemUnitsDialog(QWidget* parent, platform::Settings& settings, records::SystemUnitsS& units);
// Shows the splash modally until it closes itself.
void runSplash(platform::EventLoop& loop, const std::string& version);

}  // namespace kvr::ui
