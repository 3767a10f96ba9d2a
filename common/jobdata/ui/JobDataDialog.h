#pragma once
// The "Job Data Form" property sheet as a tabbed dialog over CMyPropertySheet.

#include <optional>

#include <QWidget>

#include "common/records/JobRecord.h"

namespace jobdata::ui {

// Shows the form over a copy of the record; the edited record on OK, nothing on Cancel.
std::optional<records::JobRecord> runJobDataDialog(QWidget* parent, const records::JobRecord& job);

}  // namespace jobdata::ui
