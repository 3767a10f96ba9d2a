#include "common/presentation/ByteFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace presentation {

namespace {

class PosixFile final : public ByteFile {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { ::close(fd_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  std::size_t read(std::uint64_t offset, std::span<std::uint8_t> out) override {
    std::size_t done = 0;
    while (done < out.size()) {
      const ssize_t n = ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    return done;
  }
  std::size_t write(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    return done;
  }
  std::uint64_t size() const override {
    struct stat st {};
    return ::fstat(fd_, &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
  }
  bool truncate(std::uint64_t size) override { return ::ftruncate(fd_, static_cast<off_t>(size)) == 0; }

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<ByteFile> openByteFile(const std::filesystem::path& path, OpenMode mode) {
  const int flags = mode == OpenMode::ReadOnly ? O_RDONLY
                    : mode == OpenMode::ReadWrite ? O_RDWR
                    : mode == OpenMode::CreateNew ? O_RDWR | O_CREAT | O_EXCL
                                                  : O_RDWR | O_CREAT | O_TRUNC;
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixFile>(fd);
}

std::size_t MemoryFile::read(std::uint64_t offset, std::span<std::uint8_t> out) {
  if (offset >= bytes_.size() || out.empty()) return 0;
  const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), bytes_.size() - offset));
  std::memcpy(out.data(), bytes_.data() + offset, n);
  return n;
}

std::size_t MemoryFile::write(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
  if (offset >= writeLimit_ || bytes.empty()) return 0;
  const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), writeLimit_ - offset));
  if (offset + n > bytes_.size()) bytes_.resize(static_cast<std::size_t>(offset + n));
  std::memcpy(bytes_.data() + offset, bytes.data(), n);
  return n;
}

bool MemoryFile::truncate(std::uint64_t size) {
  bytes_.resize(static_cast<std::size_t>(size));
  return true;
}

}  // namespace presentation
