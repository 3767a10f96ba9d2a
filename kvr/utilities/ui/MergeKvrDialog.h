#pragma once
// The "Merge and Splice" dialog over CMergeKvr.

#include <QWidget>

#include "kvr/utilities/CMergeKvr.h"

namespace kvr::utilities::ui {

void runMergeKvrDialog(QWidget* parent, CMergeKvr& logic);

}  // namespace kvr::utilities::ui
