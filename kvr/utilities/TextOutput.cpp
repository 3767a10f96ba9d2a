#include "kvr/utilities/TextOutput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace kvr::utilities {

namespace {

bool writeAll(int fd, const char* p, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    p += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

// Edits of a text held in memory, for the outputs that keep theirs whole.
bool patchText(std::string& text, std::uint64_t offset, std::string_view bytes) {
  if (offset + bytes.size() > text.size()) return false;
  text.replace(static_cast<std::size_t>(offset), bytes.size(), bytes);
  return true;
}

bool replaceTextPrefix(std::string& text, std::uint64_t oldLength, std::string_view prefix) {
  if (oldLength > text.size()) return false;
  text.replace(0, static_cast<std::size_t>(oldLength), prefix);
  return true;
}

class PosixTextOutput final : public TextOutput {
 public:
  PosixTextOutput(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}
  ~PosixTextOutput() override { close(); }

  bool write(std::string_view bytes) override {
    if (fd_ < 0) return false;
    if (!writeAll(fd_, bytes.data(), bytes.size())) return false;
    size_ += bytes.size();
    return true;
  }

  bool patch(std::uint64_t offset, std::string_view bytes) override {
    if (fd_ < 0 || offset + bytes.size() > size_) return false;
    const char* p = bytes.data();
    std::size_t n = bytes.size();
    auto at = static_cast<off_t>(offset);
    while (n > 0) {
      const ssize_t w = ::pwrite(fd_, p, n, at);
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return false;
      p += w;
      at += w;
      n -= static_cast<std::size_t>(w);
    }
    return true;
  }

  // Rare (a header value outgrew its field): the file is written anew beside the old one
  // and renamed over it, so a failure leaves the old file as it was.
  bool replacePrefix(std::uint64_t oldLength, std::string_view prefix) override {
    if (fd_ < 0 || oldLength > size_) return false;
    auto tmp = path_;
    tmp += ".tmp";
    const int out = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (out < 0) return false;
    bool ok = writeAll(out, prefix.data(), prefix.size());
    std::vector<char> buf(1 << 20);
    for (std::uint64_t at = oldLength; ok && at < size_;) {
      const ssize_t r = ::pread(fd_, buf.data(), buf.size(), static_cast<off_t>(at));
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) {
        ok = false;
        break;
      }
      ok = writeAll(out, buf.data(), static_cast<std::size_t>(r));
      at += static_cast<std::uint64_t>(r);
    }
    ok = ::close(out) == 0 && ok;
    if (!ok || ::rename(tmp.c_str(), path_.c_str()) != 0) {
      ::unlink(tmp.c_str());
      return false;
    }
    ::close(fd_);
    // Not O_APPEND: pwrite must still patch at an offset.
    fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
    size_ = size_ - oldLength + prefix.size();
    return fd_ >= 0 && ::lseek(fd_, 0, SEEK_END) == static_cast<off_t>(size_);
  }

  bool close() override {
    if (fd_ < 0) return true;
    const bool ok = ::close(fd_) == 0;
    fd_ = -1;
    return ok;
  }

 private:
  int fd_;
  std::filesystem::path path_;
  std::uint64_t size_ = 0;
};

// A pipe or a terminal cannot be written at an offset: the text is kept whole until close
// and goes out in one piece, header finished.
class StreamTextOutput final : public TextOutput {
 public:
  explicit StreamTextOutput(int fd) : fd_(fd) {}
  ~StreamTextOutput() override { close(); }

  bool write(std::string_view bytes) override {
    if (fd_ < 0) return false;
    text_.append(bytes);
    return true;
  }
  bool patch(std::uint64_t offset, std::string_view bytes) override {
    return fd_ >= 0 && patchText(text_, offset, bytes);
  }
  bool replacePrefix(std::uint64_t oldLength, std::string_view prefix) override {
    return fd_ >= 0 && replaceTextPrefix(text_, oldLength, prefix);
  }
  bool close() override {
    if (fd_ < 0) return true;
    const bool written = writeAll(fd_, text_.data(), text_.size());
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    text_.clear();
    return written && closed;
  }

 private:
  int fd_;
  std::string text_;
};

}  // namespace

bool PosixTextFiles::exists(const std::filesystem::path& path) const {
  // A pipe or a terminal holds nothing that writing to it would replace.
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode));
}

bool PosixTextFiles::sameFile(const std::filesystem::path& a, const std::filesystem::path& b) const {
  struct stat sa {}, sb {};
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

namespace {

std::unique_ptr<TextOutput> openOutput(const std::filesystem::path& path, int how) {
  // Read and write: replacePrefix copies the data lines back out of it.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | how, 0666);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && !S_ISREG(st.st_mode)) return std::make_unique<StreamTextOutput>(fd);
  return std::make_unique<PosixTextOutput>(fd, path);
}

}  // namespace

std::unique_ptr<TextOutput> PosixTextFiles::create(const std::filesystem::path& path) {
  return openOutput(path, O_TRUNC);
}

std::unique_ptr<TextOutput> PosixTextFiles::createNew(const std::filesystem::path& path) {
  return openOutput(path, O_EXCL);
}

class MemoryTextOutput final : public TextOutput {
 public:
  MemoryTextOutput(MemoryTextFiles& owner, std::string key) : owner_(owner), key_(std::move(key)) {}
  bool write(std::string_view bytes) override {
    std::size_t n = bytes.size();
    if (owner_.spaceLeft_) {
      n = std::min(n, *owner_.spaceLeft_);
      *owner_.spaceLeft_ -= n;
    }
    owner_.files_[key_].append(bytes.substr(0, n));
    return n == bytes.size();
  }
  bool patch(std::uint64_t offset, std::string_view bytes) override {
    return patchText(owner_.files_[key_], offset, bytes);
  }
  bool replacePrefix(std::uint64_t oldLength, std::string_view prefix) override {
    return replaceTextPrefix(owner_.files_[key_], oldLength, prefix);
  }
  bool close() override { return true; }

 private:
  MemoryTextFiles& owner_;
  std::string key_;
};

std::unique_ptr<TextOutput> MemoryTextFiles::create(const std::filesystem::path& path) {
  if (path.string() == refused_) return nullptr;
  files_[path.string()].clear();
  return std::make_unique<MemoryTextOutput>(*this, path.string());
}

const std::string& MemoryTextFiles::text(const std::filesystem::path& path) const {
  static const std::string empty;
  const auto it = files_.find(path.string());
  return it == files_.end() ? empty : it->second;
}

}  // namespace kvr::utilities
