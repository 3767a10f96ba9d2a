#include "toolslib/tarnc/RawStream.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/records/LittleEndian.h"

namespace tools::tarnc {
using records::le::getF64;
using records::le::putF64;

RawStreamWriter::~RawStreamWriter() { close(); }

bool RawStreamWriter::writeAll(const std::uint8_t* p, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd_, p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) {
      error_ = std::string("could not write ") + path_ + ": " + std::strerror(w < 0 ? errno : ENOSPC);
      return false;
    }
    p += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

bool RawStreamWriter::open(const std::string& folder, std::string_view base, std::string_view number,
                           std::string_view calibrationText) {
  close();
  error_.clear();
  std::string dir = folder;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  dir += "Output";
  if (::mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST) {
    error_ = "could not create " + dir + ": " + std::strerror(errno);
    return false;
  }
  path_ = dir + "/" + std::string(base) + std::string(number) + ".raw";
  if (kRawFixedHeader + calibrationText.size() > kRawMaxHeader) {
    error_ = "the calibration is too long for the stream header";
    return false;
  }
  fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    error_ = errno == EEXIST ? path_ + " exists already" : "could not create " + path_ + ": " + std::strerror(errno);
    return false;
  }
  std::vector<std::uint8_t> header(kRawFixedHeader + calibrationText.size());
  header[0] = kRawMagic;
  records::le::putU16(&header[1], kRawVersion);
  records::le::putU32(&header[3], static_cast<std::uint32_t>(header.size()));
  std::memcpy(header.data() + kRawFixedHeader, calibrationText.data(), calibrationText.size());
  if (!writeAll(header.data(), header.size())) {
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  pending_.clear();
  pending_.reserve(kSamplesPerWrite * kRawSampleBytes);
  return true;
}

void RawStreamWriter::add(const RawSample& s) {
  if (fd_ < 0) return;
  const std::size_t at = pending_.size();
  pending_.resize(at + kRawSampleBytes);
  for (std::size_t i = 0; i < s.v.size(); ++i) putF64(&pending_[at + 8 * i], s.v[i]);
  if (pending_.size() >= kSamplesPerWrite * kRawSampleBytes) flush();
}

bool RawStreamWriter::flush() {
  if (fd_ < 0 || pending_.empty()) return fd_ >= 0;
  const bool ok = writeAll(pending_.data(), pending_.size());
  pending_.clear();
  return ok;
}

void RawStreamWriter::close() {
  if (fd_ < 0) return;
  flush();
  ::close(fd_);
  fd_ = -1;
}

RawStreamContent readRawStream(std::span<const std::uint8_t> bytes, bool headerOnly) {
  RawStreamContent c;
  if (bytes.size() < kRawFixedHeader || bytes[0] != kRawMagic) {
    c.error = "not a TARN-C raw inertial stream";
    return c;
  }
  c.version = records::le::getU16(&bytes[1]);
  if (c.version != kRawVersion) {
    c.error = "raw inertial stream version " + std::to_string(c.version) + " is not supported (this program reads version 1)";
    return c;
  }
  const std::uint32_t headerLength = records::le::getU32(&bytes[3]);
  if (headerLength < kRawFixedHeader || headerLength > bytes.size() || headerLength > kRawMaxHeader) {
    c.error = "the raw inertial stream header is damaged (length " + std::to_string(headerLength) + ")";
    return c;
  }
  c.calibrationText.assign(reinterpret_cast<const char*>(bytes.data()) + kRawFixedHeader, headerLength - kRawFixedHeader);
  c.ok = true;
  if (headerOnly) return c;
  const auto body = bytes.subspan(headerLength);
  const std::size_t n = body.size() / kRawSampleBytes;
  c.samples.resize(n);
  for (std::size_t s = 0; s < n; ++s)
    for (std::size_t i = 0; i < 15; ++i) c.samples[s].v[i] = getF64(&body[s * kRawSampleBytes + 8 * i]);
  c.trailingBytes = body.size() - n * kRawSampleBytes;
  return c;
}

RawStreamContent readRawStreamFile(const std::string& path, bool headerOnly) {
  RawStreamContent c;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    c.error = "could not open " + path + ": " + std::strerror(errno);
    return c;
  }
  std::vector<std::uint8_t> bytes;
  std::uint8_t buf[65536];
  for (;;) {
    const ssize_t r = ::read(fd, buf, sizeof buf);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    bytes.insert(bytes.end(), buf, buf + r);
    // The header alone is enough once its length is known and read.
    if (headerOnly && bytes.size() >= kRawFixedHeader) {
      const std::uint32_t len = records::le::getU32(&bytes[3]);
      if (bytes.size() >= len || len > kRawMaxHeader) break;
    }
  }
  ::close(fd);
  return readRawStream(bytes, headerOnly);
}

}  // namespace tools::tarnc
