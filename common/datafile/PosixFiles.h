#pragma once
// FileSystem on the operating system's files. Output goes straight to write(2) without a
// user-space buffer, so a full disk shows up as a short write at the call that caused it.

#include "common/datafile/FilePorts.h"

namespace kvr {

class PosixFileSystem final : public FileSystem {
 public:
  std::unique_ptr<OutputFile> createOutput(const std::filesystem::path& path) override;
  std::unique_ptr<OutputFile> createNewOutput(const std::filesystem::path& path, bool& taken) override;
  std::unique_ptr<InputFile> openInput(const std::filesystem::path& path) override;
  std::optional<std::string> readText(const std::filesystem::path& path, std::size_t maxBytes) override;
  bool writeText(const std::filesystem::path& path, std::string_view text) override;
  FolderResult createFolder(const std::filesystem::path& path) override;
};

}  // namespace kvr
