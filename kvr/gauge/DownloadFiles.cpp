#include "kvr/gauge/DownloadFiles.h"

#include <algorithm>
#include <cctype>

#include "common/records/LittleEndian.h"

namespace kvr::gauge {
namespace {

const char* const kSeparator = "    ";

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

}  // namespace

std::filesystem::path binaryPathFor(const std::filesystem::path& text) {
  return text.parent_path() / (text.stem().string() + ".BIN");
}

DownloadFiles::~DownloadFiles() { close(); }

DownloadFiles::Opened DownloadFiles::open(const std::filesystem::path& path) {
  close();
  ok_ = true;
  textFailed_ = false;
  textPath_ = path;
  binaryPath_ = binaryPathFor(path);
  text_ = std::fopen(path.c_str(), "wbx");
  if (text_ == nullptr) return Opened::TextFailed;
  // A name that already ends in ".BIN" would make the two one file.
  const bool same = lower(binaryPath_.string()) == lower(textPath_.string());
  binary_ = same ? nullptr : std::fopen(binaryPath_.c_str(), "wbx");
  if (binary_ == nullptr) {
    std::fclose(text_);
    text_ = nullptr;
    std::error_code ec;
    std::filesystem::remove(textPath_, ec);  // nothing was written to it yet
    return Opened::BinaryFailed;
  }
  return Opened::Ok;
}

bool DownloadFiles::text(const std::string& s) {
  if (!ok_ || text_ == nullptr) return false;
  std::string out;
  out.reserve(s.size() + 8);
  for (char c : s) {
    if (c == '\n') out += '\r';
    out += c;
  }
  if (std::fwrite(out.data(), 1, out.size(), text_) != out.size()) ok_ = false, textFailed_ = true;
  return ok_;
}

bool DownloadFiles::binary(const std::uint8_t* bytes, std::size_t n) {
  if (!ok_ || binary_ == nullptr) return false;
  if (std::fwrite(bytes, 1, n, binary_) != n) ok_ = false;
  return ok_;
}

bool DownloadFiles::writeHeaders(const PickedDate& start, const tools::vunt::CalibrationUnion& calibration) {
  text("Client: \nField: \nWell: \nJob Description: Starting Date: \nEnding Date: \nDepth: \n"
       "Gauge Serial No: Battery Connection: \n");
  std::uint8_t header[256] = {};
  records::le::putU32(header + 4, start.date);
  records::le::putU32(header + 8, start.time);
  std::copy(calibration.bytes.begin(), calibration.bytes.end(), header + 16);
  binary(header, sizeof header);
  char line[160];
  std::snprintf(line, sizeof line, "\n%s       Time%s   Pressure%sTemperature", kSeparator, kSeparator, kSeparator);
  text(line);
  std::snprintf(line, sizeof line, "\n%s%11s%s%11s%s%11s\n", kSeparator, "HOURS", kSeparator, "PSI", kSeparator, "DEGC");
  return text(line);
}

bool DownloadFiles::writeSample(float t, tools::vunt::RawSample raw, double psi, double degC) {
  std::uint8_t record[12];
  records::le::putI32(record, static_cast<std::int32_t>(t));
  records::le::putU32(record + 4, raw.pressure);
  records::le::putU32(record + 8, raw.temperature);
  binary(record, sizeof record);
  char line[160];
  const float hours = t / 3600.0f;
  std::snprintf(line, sizeof line, "%s%11.6f%s%11.2lf%s%11.2lf\n", kSeparator, static_cast<double>(hours), kSeparator,
                psi, kSeparator, degC);
  return text(line);
}

bool DownloadFiles::close() {
  if (text_ != nullptr) {
    if (std::fclose(text_) != 0 && ok_) ok_ = false, textFailed_ = true;
    text_ = nullptr;
  }
  if (binary_ != nullptr) {
    if (std::fclose(binary_) != 0 && ok_) ok_ = false;
    binary_ = nullptr;
  }
  return ok_;
}

}  // namespace kvr::gauge
