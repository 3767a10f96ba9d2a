#pragma once
// Where Pagemill's files are looked for and go by default: the PDF of a print job, the
// folders the file dialogs start in, and the shipped templates a first start chooses.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Settings.h"

namespace pagemill {

// The PDF a print list goes to unless the user chooses another: beside the first log of
// the list (its session folder), else in the data root; named after that log, else after
// the job, and never an existing file's name.
std::filesystem::path defaultPdfPath(const std::vector<std::string>& entries, const std::filesystem::path& dataRoot);

// The folder the log file dialogs (chart data files, static data) start in: that of the
// most recent log of `recent` still there, else the session folder of the newest chart data
// file under the data root (KVR writes each beside its data file), else the data root.
std::filesystem::path logFolder(const std::vector<std::string>& recent, const std::filesystem::path& dataRoot);

// The folder a template file dialog starts in: that of the kind's chosen template when it
// exists, else the shipped templates' folder.
std::filesystem::path templateFolder(const platform::Settings& settings, int kind,
                                     const std::filesystem::path& shippedTemplates);

// Chooses the shipped template of every kind that has none chosen yet.
void chooseShippedTemplates(platform::Settings& settings, const std::filesystem::path& shippedTemplates);

}  // namespace pagemill
