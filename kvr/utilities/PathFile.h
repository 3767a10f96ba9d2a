#pragma once
// The saved well path: a tab-separated text with a header line, one line per path row,
// lines ending in CR LF.

#include <filesystem>
#include <string>

#include "kvr/utilities/WellPath.h"

namespace kvr::utilities {

std::string formatPathFile(const PathTable& rows);
// False when the file could not be written completely.
bool writePathFile(const std::filesystem::path& file, const PathTable& rows);

}  // namespace kvr::utilities
