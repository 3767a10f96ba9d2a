#pragma once
// The next session number: one more than the largest N of the "Session_N.csv" files in the
// session folder's "Output" subfolder (1 when there is none).

#include <filesystem>

namespace kvr {

int nextSessionNumber(const std::filesystem::path& sessionFolder);

}  // namespace kvr
