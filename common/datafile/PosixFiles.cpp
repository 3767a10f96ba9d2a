#include "common/datafile/PosixFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kvr {

namespace {

// Writes as much as the system takes, retrying interrupted and partial writes.
std::size_t writeAll(int fd, const std::uint8_t* data, std::size_t n) {
  std::size_t done = 0;
  while (done < n) {
    const ssize_t w = ::write(fd, data + done, n - done);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) break;
    done += static_cast<std::size_t>(w);
  }
  return done;
}

std::size_t readAll(int fd, std::uint8_t* data, std::size_t n) {
  std::size_t done = 0;
  while (done < n) {
    const ssize_t r = ::read(fd, data + done, n - done);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    done += static_cast<std::size_t>(r);
  }
  return done;
}

class PosixOutput final : public OutputFile {
 public:
  explicit PosixOutput(int fd) : fd_(fd) {}
  ~PosixOutput() override { close(); }
  std::size_t write(const std::uint8_t* data, std::size_t n) override {
    return fd_ < 0 ? 0 : writeAll(fd_, data, n);
  }
  bool close() override {
    if (fd_ < 0) return true;
    const int r = ::close(fd_);
    fd_ = -1;
    return r == 0;
  }

 private:
  int fd_;
};

class PosixInput final : public InputFile {
 public:
  PosixInput(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
  ~PosixInput() override { ::close(fd_); }
  std::uint64_t size() const override { return size_; }
  std::uint64_t tell() const override { return pos_; }
  bool seek(std::uint64_t position) override {
    if (position > size_) return false;
    if (::lseek(fd_, static_cast<off_t>(position), SEEK_SET) < 0) return false;
    pos_ = position;
    return true;
  }
  std::size_t read(std::uint8_t* data, std::size_t n) override {
    const std::size_t r = readAll(fd_, data, n);
    pos_ += r;
    return r;
  }

 private:
  int fd_;
  std::uint64_t size_;
  std::uint64_t pos_ = 0;
};

}  // namespace

std::unique_ptr<OutputFile> PosixFileSystem::createOutput(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  return std::make_unique<PosixOutput>(fd);
}

std::unique_ptr<OutputFile> PosixFileSystem::createNewOutput(const std::filesystem::path& path, bool& taken) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  taken = fd < 0 && errno == EEXIST;
  if (fd < 0) return nullptr;
  return std::make_unique<PosixOutput>(fd);
}

std::unique_ptr<InputFile> PosixFileSystem::openInput(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<PosixInput>(fd, static_cast<std::uint64_t>(st.st_size));
}

std::optional<std::string> PosixFileSystem::readText(const std::filesystem::path& path, std::size_t maxBytes) {
  auto in = openInput(path);
  if (!in) return std::nullopt;
  const std::uint64_t n = in->size() < maxBytes ? in->size() : maxBytes;
  std::string text(static_cast<std::size_t>(n), '\0');
  text.resize(in->read(reinterpret_cast<std::uint8_t*>(text.data()), text.size()));
  return text;
}

bool PosixFileSystem::writeText(const std::filesystem::path& path, std::string_view text) {
  auto out = createOutput(path);
  if (!out) return false;
  const bool whole = out->write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()) == text.size();
  return out->close() && whole;
}

FolderResult PosixFileSystem::createFolder(const std::filesystem::path& path) {
  if (::mkdir(path.c_str(), 0755) == 0) return FolderResult::Created;
  struct stat st {};
  if (errno == EEXIST && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return FolderResult::Existed;
  return FolderResult::Failed;
}

}  // namespace kvr
