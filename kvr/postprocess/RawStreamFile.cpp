#include "kvr/postprocess/RawStreamFile.h"

#include <sys/stat.h>

#include "common/records/LittleEndian.h"
#include "kvr/postprocess/PostProcessTexts.h"

namespace kvr::postprocess {
namespace {
constexpr long kSampleBytes = static_cast<long>(tools::tarnc::kRawSampleBytes);
constexpr std::size_t kBlockSamples = 4096;

std::size_t lastSeparator(const std::string& path) { return path.find_last_of("\\/"); }
}  // namespace

std::string folderOf(const std::string& path) {
  const std::size_t s = lastSeparator(path);
  return s == std::string::npos ? std::string() : path.substr(0, s + 1);
}

std::string titleOf(const std::string& path) {
  const std::size_t s = lastSeparator(path);
  std::string name = s == std::string::npos ? path : path.substr(s + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

std::string sessionNumberOf(const std::string& path) {
  const std::string title = titleOf(path);
  const std::size_t u = title.find_last_of('_');
  return u == std::string::npos ? title : title.substr(u + 1);
}

std::string rawStreamPathFor(const std::string& eventLogPath) {
  return folderOf(eventLogPath) + "DataSession" + sessionNumberOf(eventLogPath) + ".raw";
}

RawStreamFile::~RawStreamFile() {
  if (file_) std::fclose(file_);
}

void RawStreamFile::fail(const std::string& message) {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  count_ = 0;
  platform::tell(prompter_, text::kError, message, platform::Icon::Error);
}

bool RawStreamFile::open(const std::string& path) {
  if (file_) std::fclose(file_);
  path_ = path;
  count_ = 0;
  file_ = std::fopen(path.c_str(), "rb");
  struct stat st {};
  if (!file_ || ::fstat(fileno(file_), &st) != 0 || !S_ISREG(st.st_mode)) {
    fail(format(text::kRawOpen, path.c_str()));
    return false;
  }
  std::uint8_t h[tools::tarnc::kRawFixedHeader];
  if (std::fread(h, 1, sizeof h, file_) != sizeof h) {
    fail(text::kRawHeader);
    return false;
  }
  if (h[0] != tools::tarnc::kRawMagic) {
    fail(format(text::kRawMagic, static_cast<unsigned>(h[0])));
    return false;
  }
  version_ = records::le::getU16(&h[1]);
  headerLength_ = records::le::getU32(&h[3]);
  if (headerLength_ < tools::tarnc::kRawFixedHeader) {
    fail(format(text::kRawHeaderShort, static_cast<unsigned long>(headerLength_)));
    return false;
  }
  const long size = static_cast<long>(st.st_size);
  if (static_cast<long>(headerLength_) > size) {
    fail(format(text::kRawHeaderLong, static_cast<unsigned long>(headerLength_), size));
    return false;
  }
  trace_.trace(format("RAW header parsed: VERSION=%u HEADER_LEN=%lu bytes\n", static_cast<unsigned>(version_),
                      static_cast<unsigned long>(headerLength_)));
  const long payload = size - static_cast<long>(headerLength_);
  if (payload % kSampleBytes != 0)
    trace_.trace(format("WARNING: RAW payload size (%ld bytes) is not a multiple of sample size (%d bytes).\n"
                        "Possible file corruption or different format.\n",
                        payload, static_cast<int>(kSampleBytes)));
  if (payload / kSampleBytes < 1) {
    fail(text::kRawNoSamples);
    return false;
  }
  if (std::fseek(file_, static_cast<long>(headerLength_), SEEK_SET) != 0) {
    fail(format(text::kRawShortRead, payload / kSampleBytes, 0u));
    return false;
  }
  count_ = payload / kSampleBytes;
  return true;
}

bool RawStreamFile::readSamples(const std::function<void(std::span<const RawSample>, long first)>& take) {
  if (!file_) return false;
  std::vector<std::uint8_t> bytes(kBlockSamples * tools::tarnc::kRawSampleBytes);
  std::vector<RawSample> block(kBlockSamples);
  std::vector<RawSample> firstFive;
  long done = 0;
  while (done < count_) {
    const std::size_t want = static_cast<std::size_t>(std::min<long>(count_ - done, kBlockSamples));
    const std::size_t got = std::fread(bytes.data(), tools::tarnc::kRawSampleBytes, want, file_);
    for (std::size_t s = 0; s < got; ++s)
      for (std::size_t i = 0; i < 15; ++i)
        block[s].v[i] = records::le::getF64(&bytes[s * tools::tarnc::kRawSampleBytes + 8 * i]);
    for (std::size_t s = 0; s < got && firstFive.size() < 5; ++s) firstFive.push_back(block[s]);
    if (got < want) {
      fail(format(text::kRawShortRead, count_, static_cast<unsigned>(done + static_cast<long>(got))));
      return false;
    }
    take(std::span<const RawSample>(block.data(), got), done);
    done += static_cast<long>(got);
  }
  std::fclose(file_);
  file_ = nullptr;
  trace_.trace(format("RAW loaded: %ld samples (%.1f seconds at 15Hz)\n\nFile: %s\n", count_, count_ / 15.0,
                      path_.c_str()));
  for (std::size_t k = 0; k < firstFive.size(); ++k) {
    const auto& v = firstFive[k].v;
    trace_.trace(format("  Sample[%d]: depth=%.2f time=%.3f Gx=%.4f Gy=%.4f Gz=%.4f Ax=%.4f Ay=%.4f Az=%.4f "
                        "angle=%.2f\n",
                        static_cast<int>(k), v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[14]));
  }
  return true;
}

}  // namespace kvr::postprocess
