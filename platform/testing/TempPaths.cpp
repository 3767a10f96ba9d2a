#include "platform/testing/TempPaths.h"

#include <cstdlib>
#include <random>
#include <string>

namespace platform::testing {

TempPaths::TempPaths() {
  std::random_device rd;
  auto base = std::filesystem::temp_directory_path();
  for (;;) {
    root_ = base / ("varexa-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::error_code ec;
    if (std::filesystem::create_directory(root_, ec)) break;
  }
  std::filesystem::create_directories(dataRoot());
  std::filesystem::create_directories(programFolder());
  std::filesystem::create_directories(documentsFolder());
}

TempPaths::~TempPaths() {
  std::error_code ec;
  std::filesystem::remove_all(root_, ec);
}

// The repository's data/ folder: tests run with VAREXA_SOURCE_DIR set by CTest.
std::filesystem::path TempPaths::shippedDataFolder() const {
  if (!shipped_.empty()) return shipped_;
  const char* src = std::getenv("VAREXA_SOURCE_DIR");
  return src ? std::filesystem::path(src) / "data" : std::filesystem::path("data");
}

}  // namespace platform::testing
