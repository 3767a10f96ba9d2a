#include "kvr/calibration/ReportFile.h"

#include <cstdio>
#include <string>

namespace kvr {

namespace {
constexpr int kMaxSuffix = 9999;
constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Day of the week of a Gregorian date, 0 = Sunday (Sakamoto).
int weekday(int y, int m, int d) {
  static const int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (m < 3) y -= 1;
  return (y + y / 4 - y / 100 + y / 400 + t[(m - 1) % 12] + d) % 7;
}
}  // namespace

std::filesystem::path firstFreeReportName(FileSystem& fs, const std::filesystem::path& folder, const std::string& base) {
  for (int i = 0; i <= kMaxSuffix; ++i) {
    const std::string name = i == 0 ? base + ".txt" : base + "_" + std::to_string(i) + ".txt";
    auto path = folder / name;
    if (!fs.openInput(path)) return path;
  }
  return {};
}

std::string reportTime(const platform::CalendarTime& t) {
  char s[32];
  std::snprintf(s, sizeof s, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return s;
}

std::string reportDate(const platform::CalendarTime& t) {
  const int month = t.month >= 1 && t.month <= 12 ? t.month : 1;
  char s[48];
  std::snprintf(s, sizeof s, "%s, %s %02d, %d", kDays[weekday(t.year, month, t.day)], kMonths[month - 1], t.day,
                t.year);
  return s;
}

std::unique_ptr<ReportFile> ReportFile::create(FileSystem& fs, const std::filesystem::path& folder,
                                               const std::string& base) {
  auto path = firstFreeReportName(fs, folder, base);
  if (path.empty()) return nullptr;
  auto file = fs.createOutput(path);
  if (!file) return nullptr;
  return std::unique_ptr<ReportFile>(new ReportFile(std::move(file), std::move(path)));
}

bool ReportFile::write(std::string_view text) {
  if (!good_ || !file_) return false;
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(out.data());
  if (file_->write(bytes, out.size()) != out.size()) good_ = false;
  return good_;
}

bool ReportFile::close() {
  if (file_ && !file_->close()) good_ = false;
  file_.reset();
  return good_;
}

}  // namespace kvr
