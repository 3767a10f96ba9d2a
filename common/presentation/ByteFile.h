#pragma once
// A file addressed by offset, for the chart data file: the KVR writer, the redraw reader
// and Pagemill's rewriting all seek; nothing reads a file through to find a record.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

namespace presentation {

class ByteFile {
 public:
  virtual ~ByteFile() = default;
  // Bytes read or written; fewer than asked at the end of the file or on a failure.
  virtual std::size_t read(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
  virtual std::size_t write(std::uint64_t offset, std::span<const std::uint8_t> bytes) = 0;
  virtual std::uint64_t size() const = 0;
  virtual bool truncate(std::uint64_t size) = 0;
};

// A file of the file system. Null when it cannot be opened; CreateNew never replaces a file.
enum class OpenMode { ReadOnly, ReadWrite, CreateTruncate, CreateNew };
std::unique_ptr<ByteFile> openByteFile(const std::filesystem::path& path, OpenMode mode);

// An in-memory file; writes beyond writeLimit come up short, as on a full disk.
class MemoryFile final : public ByteFile {
 public:
  MemoryFile() = default;
  explicit MemoryFile(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  std::size_t read(std::uint64_t offset, std::span<std::uint8_t> out) override;
  std::size_t write(std::uint64_t offset, std::span<const std::uint8_t> bytes) override;
  std::uint64_t size() const override { return bytes_.size(); }
  bool truncate(std::uint64_t size) override;
  void setWriteLimit(std::uint64_t limit) { writeLimit_ = limit; }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::uint64_t writeLimit_ = UINT64_MAX;
};

}  // namespace presentation
