#include "common/presentation/ChartDataFile.h"

#include <algorithm>

#include "common/records/LittleEndian.h"

namespace presentation {

namespace le = records::le;

namespace {

void encodeTrack(const CColumn& t, bool last, std::uint8_t* p) {
  p[4] = t.leftToRight ? 1 : 0;
  p[5] = t.midThick ? 1 : 0;
  p[6] = static_cast<std::uint8_t>(t.mode);
  le::putU32(p + 8, t.index);
  le::putI32(p + 12, t.startDecade);
  le::putI32(p + 16, t.width);
  le::putI32(p + 20, t.decades);
  le::putI32(p + 24, t.divisions);
  le::putI32(p + 28, t.logOrigin);
  le::putI32(p + 32, t.left);
  p[36] = t.hasEnabledCurve() ? 1 : 0;
  p[37] = last ? 0 : 1;
  p[38] = t.overlap ? 1 : 0;
}

void encodeCurve(const CCurve& c, std::uint32_t number, bool anotherFollows, std::uint8_t* p) {
  // Stored normalised: the lower value at the left, the reverse flag telling the truth.
  const bool swapped = c.leftValue > c.rightValue;
  le::putText(p, 80, c.description);
  le::putText(p + 80, 32, c.units);
  le::putU32(p + 112, c.colour);
  le::putU32(p + 116, static_cast<std::uint32_t>(c.lineType));
  le::putI32(p + 120, c.thickness);
  le::putF32(p + 124, swapped ? c.leftValue : c.rightValue);
  le::putF32(p + 128, swapped ? c.rightValue : c.leftValue);
  le::putI32(p + 132, c.labelHeight);
  le::putU32(p + 136, number);
  le::putText(p + 140, 10, c.name);
  p[150] = (c.reverse || swapped) ? 1 : 0;
  p[151] = anotherFollows ? 1 : 0;
}

CColumn decodeTrack(const std::uint8_t* p) {
  CColumn t;
  t.leftToRight = p[4] != 0;
  t.midThick = p[5] != 0;
  t.mode = p[6] == 1 ? TrackMode::Linear : p[6] == 2 ? TrackMode::Logarithmic : TrackMode::Depth;
  t.index = le::getU32(p + 8);
  t.startDecade = le::getI32(p + 12);
  t.width = le::getI32(p + 16);
  t.decades = le::getI32(p + 20);
  t.divisions = le::getI32(p + 24);
  t.left = le::getI32(p + 32);
  t.overlap = p[38] != 0;
  return t;
}

CCurve decodeCurve(const std::uint8_t* p) {
  CCurve c;
  c.description = le::getText(p, 80);
  c.units = le::getText(p + 80, 32);
  c.colour = le::getU32(p + 112) & 0xFFFFFF;
  c.lineType = static_cast<LineType>(le::getU32(p + 116));
  c.thickness = le::getI32(p + 120);
  c.rightValue = le::getF32(p + 124);
  c.leftValue = le::getF32(p + 128);
  c.labelHeight = le::getI32(p + 132);
  c.name = le::getText(p + 140, 10);
  c.reverse = p[150] != 0;
  c.enabled = true;
  if (c.leftValue > c.rightValue) {  // keep the normalised form even for a careless writer
    std::swap(c.leftValue, c.rightValue);
    c.reverse = !c.reverse;
  }
  return c;
}

bool readAt(ByteFile& file, std::uint64_t offset, std::span<std::uint8_t> out) {
  return file.read(offset, out) == out.size();
}

}  // namespace

std::vector<std::uint8_t> encodeChartHeader(const CFormat& format, bool loggingUp) {
  std::vector<std::uint8_t> out(8 + kFormatHeaderSize, 0);
  std::uint8_t* h = out.data() + 8;
  le::putText(h, 64, format.name);
  h[64] = format.english ? 1 : 0;
  le::putI32(h + 68, format.scale);
  h[72] = loggingUp ? 1 : 0;
  h[73] = kLayoutMarker;
  std::uint32_t number = 1;
  for (std::size_t ti = 0; ti < format.tracks.size(); ++ti) {
    const auto& t = format.tracks[ti];
    out.resize(out.size() + kTrackRecordSize, 0);
    encodeTrack(t, ti + 1 == format.tracks.size(), out.data() + out.size() - kTrackRecordSize);
    for (std::size_t ci = 0; ci < t.curves.size(); ++ci) {
      if (!t.curves[ci].enabled) continue;
      const bool another = std::any_of(t.curves.begin() + static_cast<std::ptrdiff_t>(ci) + 1, t.curves.end(),
                                       [](const CCurve& c) { return c.enabled; });
      out.resize(out.size() + kCurveRecordSize, 0);
      encodeCurve(t.curves[ci], number++, another, out.data() + out.size() - kCurveRecordSize);
    }
  }
  const auto d = static_cast<std::uint32_t>(out.size() + 4);
  out.resize(out.size() + 4);
  le::putU32(out.data() + out.size() - 4, d);
  le::putU32(out.data(), d);
  return out;
}

int readChartHeader(ByteFile& file, ChartHeader& out) {
  const std::uint64_t size = file.size();
  std::uint8_t head[8 + kFormatHeaderSize];
  if (!readAt(file, 0, head)) return -1;
  ChartHeader h;
  h.dataOffset = le::getU32(head);
  h.annotationOffset = le::getU32(head + 4);
  const std::uint8_t* f = head + 8;
  h.format.name = le::getText(f, 64);
  h.format.english = f[64] != 0;
  h.format.scale = le::getI32(f + 68);
  h.loggingUp = f[72] != 0;
  h.storedLayout = f[73] == kLayoutMarker;

  std::uint64_t pos = sizeof head;
  std::uint8_t track[kTrackRecordSize];
  std::uint8_t curve[kCurveRecordSize];
  bool anotherTrack = true;
  while (anotherTrack) {
    if (!readAt(file, pos, track)) return -1;
    pos += kTrackRecordSize;
    CColumn t = decodeTrack(track);
    anotherTrack = track[37] == 1;
    bool anotherCurve = track[36] == 1;
    while (anotherCurve) {
      if (!readAt(file, pos, curve)) return -1;
      pos += kCurveRecordSize;
      CCurve c = decodeCurve(curve);
      anotherCurve = curve[151] == 1;
      sanitize(c);
      c.trackIndex = t.index;
      t.curves.push_back(std::move(c));
    }
    h.format.tracks.push_back(std::move(t));
  }
  std::uint8_t trailing[4];
  if (!readAt(file, pos, trailing)) return -1;
  pos += 4;
  if (le::getU32(trailing) != h.dataOffset) return -2;
  // Offsets must point inside the file and after what they follow.
  if (h.dataOffset < pos || h.dataOffset > size) return -2;
  if (h.annotationOffset != 0 && (h.annotationOffset < h.dataOffset || h.annotationOffset > size)) return -2;

  int x = 0;
  std::uint32_t number = 1;
  for (auto& t : h.format.tracks) {
    if (!h.storedLayout) {
      t.left = x;
      t.overlap = false;
    }
    sanitize(t);
    x = t.left + t.width;
    if (t.mode == TrackMode::Logarithmic) computeLogTicks(t);
    for (auto& c : t.curves) c.channelIndex = number++;
  }
  h.format.curveCount = static_cast<int>(number - 1);
  stackLabels(h.format);
  out = std::move(h);
  return 0;
}

void decodeFrames(std::span<const std::uint8_t> bytes, std::vector<float>& out) {
  const std::size_t n = bytes.size() / 4;
  const std::size_t base = out.size();
  out.resize(base + n);
  for (std::size_t i = 0; i < n; ++i) out[base + i] = le::getF32(bytes.data() + 4 * i);
}

// --- writer -------------------------------------------------------------------------

int ChartDataWriter::create(std::unique_ptr<ByteFile> file, const CFormat& format, bool loggingUp) {
  file_ = std::move(file);
  buffer_.clear();
  fileFrames_ = 0;
  n_ = format.valuesPerRecord();
  buffer_.reserve(std::max<std::size_t>(kWriteBufferFloats, static_cast<std::size_t>(n_)));
  if (!file_) return -1;
  const auto bytes = encodeChartHeader(format, loggingUp);
  dataOffset_ = le::getU32(bytes.data());
  if (!file_->truncate(0)) return -1;
  return file_->write(0, bytes) == bytes.size() ? 0 : -1;
}

int ChartDataWriter::flush() {
  if (!file_) return -1;
  if (buffer_.empty()) return 0;
  std::vector<std::uint8_t> bytes(buffer_.size() * 4);
  for (std::size_t i = 0; i < buffer_.size(); ++i) le::putF32(bytes.data() + 4 * i, buffer_[i]);
  const std::uint64_t at = dataOffset_ + fileFrames_ * 4u * static_cast<std::uint64_t>(n_);
  const std::size_t written = file_->write(at, bytes);
  const std::size_t frames = buffer_.size() / static_cast<std::size_t>(n_);
  buffer_.clear();
  if (written == bytes.size()) {
    fileFrames_ += frames;
    return 0;
  }
  // Keep the stream in whole frames so that every later record stays where it belongs.
  fileFrames_ += written / (4u * static_cast<std::size_t>(n_));
  file_->truncate(dataOffset_ + fileFrames_ * 4u * static_cast<std::uint64_t>(n_));
  return -1;
}

int ChartDataWriter::appendFrame(std::span<const float> record) {
  if (!file_ || record.size() != static_cast<std::size_t>(n_)) return -1;
  if (buffer_.size() + record.size() > kWriteBufferFloats && flush() != 0) return -1;
  buffer_.insert(buffer_.end(), record.begin(), record.end());
  return 0;
}

std::size_t ChartDataWriter::readFrames(std::uint64_t first, std::size_t count, std::vector<float>& out) const {
  const auto n = static_cast<std::size_t>(n_);
  std::size_t given = 0;
  if (file_ && first < fileFrames_) {
    const std::size_t fromFile = static_cast<std::size_t>(std::min<std::uint64_t>(count, fileFrames_ - first));
    std::vector<std::uint8_t> bytes(fromFile * n * 4);
    const std::size_t got = file_->read(dataOffset_ + first * n * 4, bytes);
    bytes.resize(got / (n * 4) * (n * 4));
    decodeFrames(bytes, out);
    given = bytes.size() / (n * 4);
    if (given < fromFile) return given;
  }
  const std::uint64_t next = first + given;
  if (given < count && next >= fileFrames_) {
    const std::size_t start = static_cast<std::size_t>(next - fileFrames_) * n;
    if (start < buffer_.size()) {
      const std::size_t take = std::min(count - given, (buffer_.size() - start) / n);
      out.insert(out.end(), buffer_.begin() + static_cast<std::ptrdiff_t>(start),
                 buffer_.begin() + static_cast<std::ptrdiff_t>(start + take * n));
      given += take;
    }
  }
  return given;
}

// --- reader -------------------------------------------------------------------------

int ChartDataReader::open() {
  const int r = readChartHeader(file_, header_);
  if (r != 0) return r;
  const std::uint64_t end = header_.annotationOffset != 0 ? header_.annotationOffset : file_.size();
  frames_ = (end - header_.dataOffset) / (4u * static_cast<std::uint64_t>(header_.valuesPerFrame()));
  return 0;
}

std::size_t ChartDataReader::readFrames(std::uint64_t first, std::size_t count, std::vector<float>& out) const {
  if (first >= frames_) return 0;
  const auto n = static_cast<std::uint64_t>(header_.valuesPerFrame());
  const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(count, frames_ - first));
  std::vector<std::uint8_t> bytes(take * n * 4);
  const std::size_t got = file_.read(header_.dataOffset + first * n * 4, bytes);
  bytes.resize(static_cast<std::size_t>(got / (n * 4) * (n * 4)));
  decodeFrames(bytes, out);
  return static_cast<std::size_t>(bytes.size() / (n * 4));
}

// --- Pagemill's header rewrite ------------------------------------------------------

int rewriteChartHeader(ByteFile& file, ChartHeader& header, const CFormat& format) {
  auto bytes = encodeChartHeader(format, header.loggingUp);
  const std::uint32_t newD = le::getU32(bytes.data());
  const std::uint32_t oldD = header.dataOffset;
  std::uint32_t annotation = header.annotationOffset;
  if (newD != oldD) {
    // The records after the header move with it rather than being overwritten.
    const std::uint64_t size = file.size();
    std::vector<std::uint8_t> tail(static_cast<std::size_t>(size - oldD));
    if (!readAt(file, oldD, tail)) return -1;
    if (file.write(newD, tail) != tail.size()) return -1;
    if (!file.truncate(newD + tail.size())) return -1;
    if (annotation != 0) annotation = annotation - oldD + newD;
  }
  le::putU32(bytes.data() + 4, annotation);
  if (file.write(0, bytes) != bytes.size()) return -1;
  header.dataOffset = newD;
  header.annotationOffset = annotation;
  return 0;
}

}  // namespace presentation
