// CFileManager: naming, the static data and the rows of a new log.
#include <algorithm>
#include <bit>
#include <climits>

#include "common/datafile/CFileManager.h"
#include "common/datafile/FileCounter.h"
#include "common/records/LittleEndian.h"

namespace kvr {

using records::le::Writer;

CFileManager::CFileManager(FileSystem& fs) : fs_(fs) {}
CFileManager::~CFileManager() {
  closeOutput();
  closeInput();
}

namespace {
// Names passed over before giving up: far more than a session folder ever holds.
constexpr int kMaxNumbersTried = 100000;
}  // namespace

int CFileManager::nextFileNumber(const std::filesystem::path& sessionFolder) {
  const auto path = sessionFolder / kFileCounterName;
  const auto old = fs_.readText(path, kFileCounterReadLimit);
  const int number = old ? parseFileCounter(*old) + 1 : 0;
  suffix_ = fileNumberSuffix(number);
  return fs_.writeText(path, fileCounterText(number)) ? 0 : -1;
}

int CFileManager::createNumberedOutput(const std::filesystem::path& sessionFolder, const std::string& name) {
  closeOutput();
  const auto counter = sessionFolder / kFileCounterName;
  const auto old = fs_.readText(counter, kFileCounterReadLimit);
  int number = old ? parseFileCounter(*old) + 1 : 0;
  for (int tried = 0; tried < kMaxNumbersTried; ++tried) {
    // The counter first: a counter that cannot be written leaves every file as it was.
    if (!fs_.writeText(counter, fileCounterText(number))) return kCounterUnwritable;
    suffix_ = fileNumberSuffix(number);
    lastPath_ = sessionFolder / (name + suffix_ + ".kvr");
    bool taken = false;
    out_ = fs_.createNewOutput(lastPath_, taken);
    flushedBytesInFloat_ = 0;
    if (out_) return 0;
    if (!taken || number == INT_MAX) return -1;
    ++number;
  }
  return -1;
}

std::string CFileManager::logFileName(const records::ToolList& tools, std::uint8_t direction, bool playback) {
  std::string name;
  for (const auto& t : tools) {
    if (t.isTool()) name += t.name + "_";
  }
  if (playback) name += "PLAY-";
  name += direction == kLogUp ? "UP" : direction == kLogDown ? "DOWN" : "STATION";
  return name;
}

int CFileManager::createOutputFile(const std::filesystem::path& sessionFolder, const std::string& name) {
  closeOutput();
  lastPath_ = sessionFolder / (name + suffix_ + ".kvr");
  out_ = fs_.createOutput(lastPath_);
  flushedBytesInFloat_ = 0;
  return out_ ? 0 : -1;
}

int CFileManager::writeBytes(const std::vector<std::uint8_t>& bytes) {
  if (!out_) return -1;
  return out_->write(bytes.data(), bytes.size()) == bytes.size() ? 0 : -1;
}

namespace {
// Count, records, count: the framing of sections 1 to 3.
template <class List, class Encode>
std::vector<std::uint8_t> framed(const List& list, std::size_t recordSize, Encode encode) {
  Writer w;
  const auto n = static_cast<std::uint32_t>(list.size());
  w.bytes().reserve(8 + list.size() * recordSize);
  w.u32(n);
  for (const auto& item : list) {
    const std::size_t at = w.bytes().size();
    w.bytes().resize(at + recordSize);
    encode(item, w.bytes().data() + at);
  }
  w.u32(n);
  return std::move(w.bytes());
}
}  // namespace

int CFileManager::writeToolList(const records::ToolList& tools) {
  return writeBytes(framed(tools, records::kChannelStructSize,
                           [](const records::ToolEntry& t, std::uint8_t* p) { records::encode(t, p); }));
}

int CFileManager::writeChannelList(const records::ChannelList& channels) {
  return writeBytes(framed(channels, records::kChannelStructSize,
                           [](const records::ChannelStruct& c, std::uint8_t* p) { records::encode(c, p); }));
}

int CFileManager::writeParameterBlock(std::span<const records::ToolParameterS> parameters) {
  return writeBytes(framed(parameters, records::kToolParameterSize,
                           [](const records::ToolParameterS& t, std::uint8_t* p) { records::encode(t, p); }));
}

int CFileManager::writeDirection(std::uint8_t direction) { return writeBytes({direction, direction, direction}); }

int CFileManager::writeMainSystemParameters(std::span<const records::SysParameterS> table) {
  if (table.size() < kMainParameterCount) return -1;
  Writer w;
  w.u32(records::kSysParameterSize);
  for (std::size_t i = 0; i < kMainParameterCount; ++i) {
    const std::size_t at = w.bytes().size();
    w.bytes().resize(at + records::kSysParameterSize);
    records::encode(table[i], w.bytes().data() + at);
  }
  w.u32(records::kSysParameterSize);
  return writeBytes(w.bytes());
}

int CFileManager::writeJobRecord(const records::JobRecord& job) {
  Writer w;
  w.u32(records::kJobRecordSize);
  w.bytes().resize(4 + records::kJobRecordSize);
  records::encode(job, w.bytes().data() + 4);
  w.u32(records::kJobRecordSize);
  return writeBytes(w.bytes());
}

// Writes the floats [from, to) of the ring, less the bytes of the first float already written.
int CFileManager::writeRingSpan(SampleRing& ring, std::size_t from, std::size_t to) {
  const std::size_t total = (to - from) * sizeof(float) - flushedBytesInFloat_;
  std::size_t written = 0;
  if constexpr (std::endian::native == std::endian::little) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(ring.data() + from) + flushedBytesInFloat_;
    written = out_->write(p, total);
  } else {
    // Encode through a bounded buffer; a short write stops the loop like a single write would.
    std::vector<std::uint8_t> buf;
    std::size_t skip = flushedBytesInFloat_;
    bool whole = true;
    for (std::size_t i = from; whole && i < to;) {
      const std::size_t n = std::min<std::size_t>(to - i, 16384);
      buf.resize(n * 4);
      for (std::size_t k = 0; k < n; ++k) records::le::putF32(buf.data() + 4 * k, ring.data()[i + k]);
      const std::size_t want = buf.size() - skip;
      const std::size_t w = out_->write(buf.data() + skip, want);
      written += w;
      whole = w == want;
      skip = 0;
      i += n;
    }
  }
  const std::size_t done = flushedBytesInFloat_ + written;
  ring.setFlushed(from + done / sizeof(float));  // wraps to the ring start at the end
  flushedBytesInFloat_ = done % sizeof(float);
  return written == total ? 0 : -1;
}

int CFileManager::flushRows(SampleRing& ring) {
  if (!out_) return -1;
  if (ring.empty()) return 0;
  const std::size_t to = ring.write();
  if (to < ring.flushed()) {
    // The write position wrapped: first up to the ring's last float inclusive.
    if (writeRingSpan(ring, ring.flushed(), ring.size()) != 0) return -1;
  }
  if (to > ring.flushed() && writeRingSpan(ring, ring.flushed(), to) != 0) return -1;
  return 0;
}

int CFileManager::closeOutput(SampleRing& ring) {
  if (!out_) return -1;
  const int flushed = flushRows(ring);
  return closeOutput() | flushed;
}

int CFileManager::closeOutput() {
  if (!out_) return 0;
  const bool ok = out_->close();
  out_.reset();
  return ok ? 0 : -1;
}

}  // namespace kvr
