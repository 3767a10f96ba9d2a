#pragma once
// The file system as CFileManager sees it: binary output and input files and the few folder
// and text-file operations of the session folder. Real files go through PosixFiles; tests and
// the fuzz harness use MemoryFiles, which can also run out of space on purpose.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kvr {

class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Writes up to n bytes at the end of the file; returns how many reached it. Fewer than n
  // means the file system refused the rest (full disk, I/O error).
  virtual std::size_t write(const std::uint8_t* data, std::size_t n) = 0;
  // Releases the file; false when the last bytes could not be committed.
  virtual bool close() = 0;
};

class InputFile {
 public:
  virtual ~InputFile() = default;
  virtual std::uint64_t size() const = 0;
  virtual std::uint64_t tell() const = 0;
  // Positions at or before the end succeed; a position past the end fails and leaves the
  // position unchanged.
  virtual bool seek(std::uint64_t position) = 0;
  // Reads up to n bytes at the position and moves on; returns how many were read.
  virtual std::size_t read(std::uint8_t* data, std::size_t n) = 0;
};

enum class FolderResult { Created, Existed, Failed };

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Creates or truncates the file for binary writing; nullptr when it cannot be opened.
  virtual std::unique_ptr<OutputFile> createOutput(const std::filesystem::path& path) = 0;
  // Creates a file that is not there yet, never replacing one; nullptr when it cannot be made,
  // with `taken` set when something already has that name.
  virtual std::unique_ptr<OutputFile> createNewOutput(const std::filesystem::path& path, bool& taken) = 0;
  virtual std::unique_ptr<InputFile> openInput(const std::filesystem::path& path) = 0;
  // The first maxBytes bytes of a file, or nullopt when it cannot be opened.
  virtual std::optional<std::string> readText(const std::filesystem::path& path, std::size_t maxBytes) = 0;
  // Replaces the file with the text; false when it could not be written completely.
  virtual bool writeText(const std::filesystem::path& path, std::string_view text) = 0;
  // One folder level; a folder that is there already is not an error, a file in its place is.
  virtual FolderResult createFolder(const std::filesystem::path& path) = 0;
};

}  // namespace kvr
