#include "common/datafile/MemoryFiles.h"

#include <cstring>

namespace kvr {

namespace {

class MemoryOutput final : public OutputFile {
 public:
  MemoryOutput(MemoryFileSystem& fs, std::shared_ptr<MemoryFileSystem::Bytes> bytes) : fs_(fs), bytes_(std::move(bytes)) {}
  std::size_t write(const std::uint8_t* data, std::size_t n) override {
    if (!bytes_) return 0;
    const std::size_t take = fs_.admit(n);
    bytes_->insert(bytes_->end(), data, data + take);
    return take;
  }
  bool close() override {
    bytes_.reset();
    return true;
  }

 private:
  MemoryFileSystem& fs_;
  std::shared_ptr<MemoryFileSystem::Bytes> bytes_;
};

// Keeps its own reference, so the bytes stay valid while the file is open.
class SharedInput final : public InputFile {
 public:
  explicit SharedInput(std::shared_ptr<const MemoryFileSystem::Bytes> b) : bytes_(std::move(b)), file_(bytes_->data(), bytes_->size()) {}
  std::uint64_t size() const override { return file_.size(); }
  std::uint64_t tell() const override { return file_.tell(); }
  bool seek(std::uint64_t p) override { return file_.seek(p); }
  std::size_t read(std::uint8_t* d, std::size_t n) override { return file_.read(d, n); }

 private:
  std::shared_ptr<const MemoryFileSystem::Bytes> bytes_;
  MemoryInputFile file_;
};

}  // namespace

bool MemoryInputFile::seek(std::uint64_t position) {
  if (position > size_) return false;
  pos_ = static_cast<std::size_t>(position);
  return true;
}

std::size_t MemoryInputFile::read(std::uint8_t* data, std::size_t n) {
  const std::size_t take = n < size_ - pos_ ? n : size_ - pos_;
  if (take > 0) std::memcpy(data, data_ + pos_, take);
  pos_ += take;
  return take;
}

std::size_t MemoryFileSystem::admit(std::size_t n) {
  if (!spaceLeft_) return n;
  const std::size_t take = n < *spaceLeft_ ? n : *spaceLeft_;
  *spaceLeft_ -= take;
  return take;
}

std::unique_ptr<OutputFile> MemoryFileSystem::createOutput(const std::filesystem::path& path) {
  if (refused_.count(key(path))) return nullptr;
  auto bytes = std::make_shared<Bytes>();
  files_[key(path)] = bytes;
  return std::make_unique<MemoryOutput>(*this, bytes);
}

std::unique_ptr<OutputFile> MemoryFileSystem::createNewOutput(const std::filesystem::path& path, bool& taken) {
  taken = files_.count(key(path)) != 0 || folders_.count(key(path)) != 0;
  if (taken) return nullptr;
  return createOutput(path);
}

std::unique_ptr<InputFile> MemoryFileSystem::openInput(const std::filesystem::path& path) {
  auto it = files_.find(key(path));
  if (it == files_.end() || refused_.count(key(path))) return nullptr;
  // A snapshot: a file still being written does not change under its reader.
  return std::make_unique<SharedInput>(std::make_shared<const Bytes>(*it->second));
}

std::optional<std::string> MemoryFileSystem::readText(const std::filesystem::path& path, std::size_t maxBytes) {
  auto it = files_.find(key(path));
  if (it == files_.end() || refused_.count(key(path))) return std::nullopt;
  const Bytes& b = *it->second;
  return std::string(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(b.size() < maxBytes ? b.size() : maxBytes));
}

bool MemoryFileSystem::writeText(const std::filesystem::path& path, std::string_view text) {
  auto out = createOutput(path);
  if (!out) return false;
  return out->write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()) == text.size();
}

FolderResult MemoryFileSystem::createFolder(const std::filesystem::path& path) {
  const std::string k = key(path);
  if (refused_.count(k) || files_.count(k)) return FolderResult::Failed;
  if (!folders_.insert(k).second) return FolderResult::Existed;
  foldersCreated_.push_back(k);
  return FolderResult::Created;
}

void MemoryFileSystem::setFile(const std::filesystem::path& path, Bytes bytes) {
  files_[key(path)] = std::make_shared<Bytes>(std::move(bytes));
}

const MemoryFileSystem::Bytes& MemoryFileSystem::file(const std::filesystem::path& path) const {
  static const Bytes kNone;
  auto it = files_.find(key(path));
  return it == files_.end() ? kNone : *it->second;
}

std::string MemoryFileSystem::text(const std::filesystem::path& path) const {
  const Bytes& b = file(path);
  return std::string(b.begin(), b.end());
}

}  // namespace kvr
