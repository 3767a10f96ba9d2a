#pragma once
// "Filter Options": the moving-average settings of the converter.

#include <QWidget>

#include <string>
#include <vector>

#include "kvr/utilities/LasFilter.h"

namespace kvr::utilities::ui {

// Shows the dialog; on OK updates `settings` and returns true. `candidates` are the
// converter's selected channels.
bool runFilterOptionsDialog(QWidget* parent, FilterSettings& settings, const std::vector<std::string>& candidates,
                            bool english);

}  // namespace kvr::utilities::ui
