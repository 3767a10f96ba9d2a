#pragma once
// The converter's output text files. Writes are large and few (the converter buffers);
// a short write means the disk refused the rest. The header is finished after the data
// lines, so a file can also be patched in place or have its first bytes replaced.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kvr::utilities {

class TextOutput {
 public:
  virtual ~TextOutput() = default;
  // Appends; false when not every byte reached the file.
  virtual bool write(std::string_view bytes) = 0;
  // Overwrites bytes already written at `offset` (same length).
  virtual bool patch(std::uint64_t offset, std::string_view bytes) = 0;
  // Replaces the first `oldLength` bytes with `prefix`, keeping everything after them.
  virtual bool replacePrefix(std::uint64_t oldLength, std::string_view prefix) = 0;
  virtual bool close() = 0;
};

class TextFiles {
 public:
  virtual ~TextFiles() = default;
  // A file (or folder) that creating `path` would replace or fail on.
  virtual bool exists(const std::filesystem::path& path) const = 0;
  // The same file under two names (a link, "a/../a"), so writing one would destroy the other.
  virtual bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) const = 0;
  // Creates or truncates; nullptr when it cannot be opened for writing.
  virtual std::unique_ptr<TextOutput> create(const std::filesystem::path& path) = 0;
  // Like create, but fails when the name is already taken: never replaces a file.
  virtual std::unique_ptr<TextOutput> createNew(const std::filesystem::path& path) = 0;
};

// The operating system's files, written with write(2) and pwrite(2).
class PosixTextFiles final : public TextFiles {
 public:
  bool exists(const std::filesystem::path& path) const override;
  bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) const override;
  std::unique_ptr<TextOutput> create(const std::filesystem::path& path) override;
  std::unique_ptr<TextOutput> createNew(const std::filesystem::path& path) override;
};

// Files in memory, for tests: can run out of space after a number of bytes.
class MemoryTextFiles final : public TextFiles {
 public:
  bool exists(const std::filesystem::path& path) const override { return files_.count(path.string()) != 0; }
  bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) const override {
    return a.lexically_normal() == b.lexically_normal();
  }
  std::unique_ptr<TextOutput> create(const std::filesystem::path& path) override;
  std::unique_ptr<TextOutput> createNew(const std::filesystem::path& path) override {
    return exists(path) ? nullptr : create(path);
  }
  void setSpaceLeft(std::optional<std::size_t> bytes) { spaceLeft_ = bytes; }
  void refuse(const std::filesystem::path& path) { refused_ = path.string(); }
  const std::string& text(const std::filesystem::path& path) const;
  void setText(const std::filesystem::path& path, std::string text) { files_[path.string()] = std::move(text); }

 private:
  friend class MemoryTextOutput;
  std::map<std::string, std::string> files_;
  std::optional<std::size_t> spaceLeft_;
  std::string refused_;
};

}  // namespace kvr::utilities
