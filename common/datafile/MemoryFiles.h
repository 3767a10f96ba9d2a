#pragma once
// FileSystem held in memory: for tests, the fuzz harness and the benchmarks. It can run out
// of space (every write stops at the space left) and refuse chosen paths, like a real disk.

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "common/datafile/FilePorts.h"

namespace kvr {

class MemoryFileSystem final : public FileSystem {
 public:
  using Bytes = std::vector<std::uint8_t>;

  std::unique_ptr<OutputFile> createOutput(const std::filesystem::path& path) override;
  std::unique_ptr<OutputFile> createNewOutput(const std::filesystem::path& path, bool& taken) override;
  std::unique_ptr<InputFile> openInput(const std::filesystem::path& path) override;
  std::optional<std::string> readText(const std::filesystem::path& path, std::size_t maxBytes) override;
  bool writeText(const std::filesystem::path& path, std::string_view text) override;
  FolderResult createFolder(const std::filesystem::path& path) override;

  // Bytes any write may still add in total; nullopt (the default) means unlimited.
  void setSpaceLeft(std::optional<std::size_t> bytes) { spaceLeft_ = bytes; }
  // Opening, creating or writing this path fails from now on.
  void refuse(const std::filesystem::path& path) { refused_.insert(key(path)); }

  void setFile(const std::filesystem::path& path, Bytes bytes);
  bool exists(const std::filesystem::path& path) const { return files_.count(key(path)) != 0; }
  const Bytes& file(const std::filesystem::path& path) const;  // empty when missing
  std::string text(const std::filesystem::path& path) const;
  const std::vector<std::string>& foldersCreated() const { return foldersCreated_; }
  bool isFolder(const std::filesystem::path& path) const { return folders_.count(key(path)) != 0; }

  // Takes what the space allows; shared with the output files.
  std::size_t admit(std::size_t n);

 private:
  // "a/b/" and "a/b" name the same folder.
  static std::string key(const std::filesystem::path& p) {
    auto n = p.lexically_normal();
    if (!n.has_filename() && n.has_parent_path()) n = n.parent_path();
    return n.string();
  }
  std::map<std::string, std::shared_ptr<Bytes>> files_;
  std::set<std::string> folders_;
  std::set<std::string> refused_;
  std::vector<std::string> foldersCreated_;
  std::optional<std::size_t> spaceLeft_;
};

// A read-only file over bytes someone else keeps alive.
class MemoryInputFile final : public InputFile {
 public:
  explicit MemoryInputFile(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint64_t size() const override { return size_; }
  std::uint64_t tell() const override { return pos_; }
  bool seek(std::uint64_t position) override;
  std::size_t read(std::uint8_t* data, std::size_t n) override;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace kvr
