// CFileManager: reading a data file back and the summary check.
#include <algorithm>
#include <bit>

#include "common/datafile/CFileManager.h"
#include "common/records/LittleEndian.h"

namespace kvr {

using records::le::getF32;
using records::le::getU32;

namespace {
constexpr std::uint64_t kEntry = records::kChannelStructSize;
constexpr std::uint64_t kParameter = records::kToolParameterSize;
constexpr std::uint64_t kMainBlock = kMainParameterCount * records::kSysParameterSize;
constexpr int kNoRows = 1;  // summary walk: static data sound, but not one whole row

// Every one of `count` channel records names a column of a row of rowWidth values.
bool columnsInsideRow(const std::uint8_t* records, std::uint64_t count, std::uint64_t rowWidth) {
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint8_t* r = records + i * kEntry;
    if (std::uint64_t{getU32(r + 40)} + getU32(r + 44) >= rowWidth) return false;
  }
  return true;
}
bool columnsInsideRow(const std::uint8_t* records, std::uint64_t count) { return columnsInsideRow(records, count, count); }
}  // namespace

int CFileManager::openInput(const std::filesystem::path& path) {
  closeInput();
  in_ = fs_.openInput(path);
  return in_ ? 0 : -1;
}

void CFileManager::closeInput() { in_.reset(); }

std::uint64_t CFileManager::inputPosition() const { return in_ ? in_->tell() : 0; }
std::uint64_t CFileManager::inputSize() const { return in_ ? in_->size() : 0; }
int CFileManager::seekInput(std::uint64_t position) { return in_ && in_->seek(position) ? 0 : -1; }

int CFileManager::readExact(std::uint8_t* data, std::size_t n) {
  if (!in_) return -1;
  return in_->read(data, n) == n ? 0 : -1;
}

int CFileManager::readU32(std::uint32_t& v) {
  std::uint8_t b[4];
  if (readExact(b, 4) != 0) return -1;
  v = getU32(b);
  return 0;
}

// A leading count whose records and trailing count cannot fit in the rest of the file would
// be a short read; it is refused before anything is allocated for it.
int CFileManager::readCount(std::uint32_t& n, std::uint64_t recordSize) {
  if (readU32(n) != 0) return -1;
  const std::uint64_t need = n * recordSize + 4;
  return need <= in_->size() - in_->tell() ? 0 : -1;
}

int CFileManager::readEntries(std::vector<std::uint8_t>& bytes, std::uint32_t& n) {
  if (readCount(n, kEntry) != 0) return -1;
  bytes.resize(static_cast<std::size_t>(n * kEntry));
  if (readExact(bytes.data(), bytes.size()) != 0) return -1;
  std::uint32_t again = 0;
  if (readU32(again) != 0) return -1;
  return again == n ? 0 : -2;
}

int CFileManager::readToolList(records::ToolList& tools) {
  tools.clear();
  std::vector<std::uint8_t> bytes;
  std::uint32_t n = 0;
  const int r = readEntries(bytes, n);
  if (r == -1) return r;
  // Stored next fields are never followed: the entries are relinked in file order.
  for (std::size_t i = 0; i < n; ++i) tools.push_back(records::decodeTool(bytes.data() + i * kEntry));
  return r;
}

int CFileManager::readChannelList(records::ChannelList& channels) {
  channels.clear();
  std::vector<std::uint8_t> bytes;
  std::uint32_t n = 0;
  const int r = readEntries(bytes, n);
  if (r == -1) return r;
  for (std::size_t i = 0; i < n; ++i) channels.push_back(records::decodeChannel(bytes.data() + i * kEntry));
  // A row holds one value per channel: a column outside it would read another channel's value.
  if (r == 0 && !columnsInsideRow(bytes.data(), n)) {
    channels.clear();
    return -2;
  }
  return r;
}

// The caller's array changes only when the whole block, both counts included, was sound.
int CFileManager::readParameterBlock(std::span<records::ToolParameterS> target) {
  std::uint32_t k = 0;
  if (readU32(k) != 0) return -1;
  if (k != target.size()) return -2;
  if (k * kParameter + 4 > in_->size() - in_->tell()) return -1;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(k * kParameter));
  if (readExact(bytes.data(), bytes.size()) != 0) return -1;
  std::uint32_t again = 0;
  if (readU32(again) != 0) return -1;
  if (again != target.size()) return -2;
  for (std::size_t i = 0; i < k; ++i) target[i] = records::decodeToolParameter(bytes.data() + i * kParameter);
  return 0;
}

int CFileManager::readStoredParameterBlock(std::vector<records::ToolParameterS>& block) {
  block.clear();
  std::uint32_t k = 0;
  if (readCount(k, kParameter) != 0) return -1;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(k * kParameter));
  if (readExact(bytes.data(), bytes.size()) != 0) return -1;
  std::uint32_t again = 0;
  if (readU32(again) != 0) return -1;
  for (std::size_t i = 0; i < k; ++i) block.push_back(records::decodeToolParameter(bytes.data() + i * kParameter));
  return again == k ? 0 : -2;
}

int CFileManager::readDirection(std::uint8_t& direction) {
  std::uint8_t b[3];
  if (readExact(b, 3) != 0) return -1;
  if (b[0] != b[1] || b[1] != b[2]) return -2;
  direction = b[0];
  return 0;
}

int CFileManager::readMainSystemParameters(std::vector<records::SysParameterS>& table) {
  std::uint32_t len = 0;
  if (readU32(len) != 0) return -1;
  if (len != records::kSysParameterSize) return -2;
  std::vector<std::uint8_t> bytes(kMainBlock);
  if (readExact(bytes.data(), bytes.size()) != 0 || readU32(len) != 0) return -1;
  if (len != records::kSysParameterSize) return -2;
  if (table.size() < kMainParameterCount) table.resize(kMainParameterCount);
  for (std::size_t i = 0; i < kMainParameterCount; ++i)
    table[i] = records::decodeSysParameter(bytes.data() + i * records::kSysParameterSize);
  return 0;
}

int CFileManager::readJobRecordBytes(std::vector<std::uint8_t>& record) {
  std::uint32_t len = 0;
  if (readU32(len) != 0) return -1;
  if (len != records::kJobRecordSize) return -2;
  std::vector<std::uint8_t> bytes(records::kJobRecordSize);
  if (readExact(bytes.data(), bytes.size()) != 0 || readU32(len) != 0) return -1;
  if (len != records::kJobRecordSize) return -2;
  record = std::move(bytes);
  return 0;
}

int CFileManager::readJobRecord(records::JobRecord& job) {
  std::vector<std::uint8_t> bytes;
  const int r = readJobRecordBytes(bytes);
  if (r == 0) job = records::decodeJobRecord(bytes.data());
  return r;
}

namespace {
// Rows are little-endian floats; on a little-endian machine the bytes are already the floats.
void fixRowBytes(float* values, std::size_t n) {
  if constexpr (std::endian::native != std::endian::little) {
    auto* p = reinterpret_cast<std::uint8_t*>(values);
    for (std::size_t i = 0; i < n; ++i) {
      std::uint8_t b[4];
      std::copy(p + 4 * i, p + 4 * i + 4, b);
      values[i] = getF32(b);
    }
  } else {
    (void)values;
    (void)n;
  }
}
}  // namespace

int CFileManager::readRows(std::span<float> buffer, std::size_t& valuesRead) {
  valuesRead = 0;
  if (!in_) return -1;
  const std::uint64_t left = (in_->size() - in_->tell()) / sizeof(float);
  const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), left));
  valuesRead = in_->read(reinterpret_cast<std::uint8_t*>(buffer.data()), n * sizeof(float)) / sizeof(float);
  fixRowBytes(buffer.data(), valuesRead);
  return valuesRead == buffer.size() ? 0 : -1;
}

std::size_t CFileManager::readWholeRows(std::span<float> buffer, std::size_t rowWidth) {
  if (!in_ || rowWidth == 0) return 0;
  const std::uint64_t rowBytes = rowWidth * sizeof(float);
  const std::uint64_t rows = std::min<std::uint64_t>(buffer.size() / rowWidth, (in_->size() - in_->tell()) / rowBytes);
  const std::size_t got = in_->read(reinterpret_cast<std::uint8_t*>(buffer.data()), static_cast<std::size_t>(rows * rowBytes));
  fixRowBytes(buffer.data(), got / sizeof(float));
  return static_cast<std::size_t>(got / rowBytes);
}

// Reads a count pair around `records` records of `size` bytes that are skipped by seeking.
// Returns the count through n.
static int skipFramed(InputFile& in, std::uint64_t size, std::uint32_t& n) {
  std::uint8_t b[4];
  if (in.read(b, 4) != 4) return -1;
  n = getU32(b);
  const std::uint64_t after = in.tell() + n * size;
  if (after + 4 > in.size() || !in.seek(after) || in.read(b, 4) != 4) return -1;
  return getU32(b) == n ? 0 : -2;
}

// The channel records at `from` all name a column of their n-value row; the position is kept.
static int checkColumns(InputFile& in, std::uint64_t from, std::uint32_t n) {
  const std::uint64_t back = in.tell();
  std::vector<std::uint8_t> chunk;
  for (std::uint32_t done = 0; done < n;) {
    const std::uint32_t take = std::min<std::uint32_t>(n - done, 1024);
    chunk.resize(take * kEntry);
    if (!in.seek(from + std::uint64_t{done} * kEntry) || in.read(chunk.data(), chunk.size()) != chunk.size()) return -1;
    if (!columnsInsideRow(chunk.data(), take, n)) return -2;
    done += take;
  }
  return in.seek(back) ? 0 : -1;
}

int CFileManager::summaryWalk(DataFileSummary& s) {
  s = DataFileSummary{};
  InputFile& in = *in_;
  if (!in.seek(0)) return -1;
  // Section 1: the tool entries are read for their kinds, which say how many blocks section 3 holds.
  std::uint32_t n = 0;
  if (readCount(n, kEntry) != 0) return -1;
  s.toolEntries = n;
  std::uint32_t tools = 0;
  std::vector<std::uint8_t> chunk;
  for (std::uint32_t done = 0; done < n;) {
    const std::uint32_t take = std::min<std::uint32_t>(n - done, 1024);
    chunk.resize(take * kEntry);
    if (readExact(chunk.data(), chunk.size()) != 0) return -1;
    for (std::uint32_t i = 0; i < take; ++i) tools += (getU32(chunk.data() + i * kEntry + 48) & 0x3F) == 1;
    done += take;
  }
  std::uint32_t again = 0;
  if (readU32(again) != 0) return -1;
  if (again != n) return -2;

  s.sectionStart[kSectionChannels] = in.tell();
  if (int r = skipFramed(in, kEntry, s.rowWidth); r != 0) return r;
  if (int r = checkColumns(in, s.sectionStart[kSectionChannels] + 4, s.rowWidth); r != 0) return r;

  s.sectionStart[kSectionParameters] = in.tell();
  for (std::uint32_t t = 0; t < tools; ++t) {
    std::uint32_t k = 0;
    if (int r = skipFramed(in, kParameter, k); r != 0) return r;
    s.parameterCounts.push_back(k);
  }

  s.sectionStart[kSectionDirection] = in.tell();
  std::uint8_t d[3];
  if (readExact(d, 3) != 0) return -1;
  if (d[0] != d[1] || d[1] != d[2]) return -2;
  s.direction = d[0];

  // Sections 5 and 6: a fixed length written twice around a block of known size.
  const std::pair<DataFileSection, std::uint64_t> fixed[] = {
      {kSectionMainParameters, records::kSysParameterSize}, {kSectionJobRecord, records::kJobRecordSize}};
  for (auto [section, length] : fixed) {
    s.sectionStart[section] = in.tell();
    std::uint32_t len = 0;
    if (readU32(len) != 0) return -1;
    if (len != length) return -2;
    const std::uint64_t block = section == kSectionMainParameters ? kMainBlock : length;
    const std::uint64_t after = in.tell() + block;
    if (after + 4 > in.size() || !in.seek(after) || readU32(len) != 0) return -1;
    if (len != length) return -2;
  }

  // Section 7. Station files are read like the others: the first value is column 0 of the
  // real first row, right after the job record, because no writer puts anything between them.
  const std::uint64_t rows = s.sectionStart[kSectionRows] = in.tell();
  const std::uint64_t rowBytes = std::uint64_t{s.rowWidth} * sizeof(float);
  const std::uint64_t left = in.size() - rows;
  if (rowBytes == 0 || left < rowBytes) {
    s.trailingBytes = left;
    return kNoRows;
  }
  s.wholeRows = left / rowBytes;
  s.trailingBytes = left % rowBytes;
  // The last value comes from the last whole row, so an incomplete row at the end does not
  // shift it.
  std::uint8_t v[4];
  if (readExact(v, 4) != 0) return -1;
  s.firstValue = getF32(v);
  if (!in.seek(rows + (s.wholeRows - 1) * rowBytes) || readExact(v, 4) != 0) return -1;
  s.lastValue = getF32(v);
  return 0;
}

int CFileManager::summaryCheck(int section, DataFileSummary& summary) {
  if (!in_) return -1;
  const std::uint64_t entry = in_->tell();
  const int r = summaryWalk(summary);
  if (r != 0 && r != kNoRows) {
    in_->seek(entry);
    return r;
  }
  in_->seek(section >= kSectionTools && section <= kSectionRows ? summary.sectionStart[section] : entry);
  return r == 0 ? 0 : -1;
}

}  // namespace kvr
