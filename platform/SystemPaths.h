#pragma once
// The program's places on this machine.
//   data root: $VAREXA_DATA_ROOT, else the override given (a setting), else ~/Varexa
//   program folder: the folder of the running program
//   shipped data: <program folder>/../share/varexa, else $VAREXA_SOURCE_DIR/data
// Text files open in the desktop's editor through xdg-open, started directly (no shell).

#include <string>
#include <vector>

#include "platform/Paths.h"

namespace platform {

class SystemPaths final : public Paths {
 public:
  explicit SystemPaths(std::string dataRootOverride = {});
  std::filesystem::path dataRoot() const override { return dataRoot_; }
  std::filesystem::path programFolder() const override { return programFolder_; }
  std::filesystem::path shippedDataFolder() const override;
  std::filesystem::path documentsFolder() const override;
  bool openInEditor(const std::filesystem::path& file) override;

 private:
  std::filesystem::path dataRoot_;
  std::filesystem::path programFolder_;
};

// Starts a program with arguments, without a shell, and does not wait for it. False when it could not start.
bool spawnDetached(const std::string& program, const std::vector<std::string>& args);

}  // namespace platform
