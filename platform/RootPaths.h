#pragma once
// The program's places under a data root named on a command line: the batch programs work
// in the folder they are told, whatever the settings or the environment say.

#include <utility>

#include "platform/SystemPaths.h"

namespace platform {

class RootPaths final : public Paths {
 public:
  explicit RootPaths(std::filesystem::path root) : root_(std::move(root)) {}
  std::filesystem::path dataRoot() const override { return root_; }
  std::filesystem::path programFolder() const override { return system_.programFolder(); }
  std::filesystem::path shippedDataFolder() const override { return system_.shippedDataFolder(); }
  std::filesystem::path documentsFolder() const override { return root_; }
  bool openInEditor(const std::filesystem::path&) override { return false; }

 private:
  std::filesystem::path root_;
  SystemPaths system_;
};

}  // namespace platform
