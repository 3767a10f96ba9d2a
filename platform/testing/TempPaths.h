#pragma once
// Paths under a fresh temporary folder that is removed with the object; openInEditor
// records the file instead of starting anything.

#include <filesystem>
#include <vector>

#include "platform/Paths.h"

namespace platform::testing {

class TempPaths final : public Paths {
 public:
  TempPaths();
  ~TempPaths() override;
  TempPaths(const TempPaths&) = delete;
  TempPaths& operator=(const TempPaths&) = delete;

  std::filesystem::path dataRoot() const override { return root_ / "root"; }
  std::filesystem::path programFolder() const override { return root_ / "bin"; }
  std::filesystem::path shippedDataFolder() const override;
  std::filesystem::path documentsFolder() const override { return root_ / "documents"; }
  bool openInEditor(const std::filesystem::path& file) override {
    opened_.push_back(file);
    return true;
  }

  // Shipped files come from the repository's data/ unless a test points elsewhere.
  void setShippedDataFolder(std::filesystem::path p) { shipped_ = std::move(p); }
  const std::filesystem::path& base() const { return root_; }
  const std::vector<std::filesystem::path>& opened() const { return opened_; }

 private:
  std::filesystem::path root_;
  std::filesystem::path shipped_;
  std::vector<std::filesystem::path> opened_;
};

}  // namespace platform::testing
