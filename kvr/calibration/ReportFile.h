#pragma once
// A text report of the session folder: created under the first free name (base + ".txt",
// then base + "_1.txt", "_2.txt", ...), so no file is ever replaced; "\n" is written as
// CR LF, and every write is checked.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "common/datafile/FilePorts.h"
#include "platform/Clock.h"

namespace kvr {

// The first name of the series that no file holds yet; empty when the folder holds them all.
std::filesystem::path firstFreeReportName(FileSystem& fs, const std::filesystem::path& folder, const std::string& base);

// "%H:%M:%S" and "%a, %b %d, %Y" of the clock's local time, in the C locale.
std::string reportTime(const platform::CalendarTime& t);
std::string reportDate(const platform::CalendarTime& t);

class ReportFile {
 public:
  // Null when no free name is left or the file cannot be created.
  static std::unique_ptr<ReportFile> create(FileSystem& fs, const std::filesystem::path& folder,
                                            const std::string& base);

  // False once any byte did not reach the file (a full disk); later writes fail too.
  bool write(std::string_view text);
  // Releases the file; false when a write or the close failed.
  bool close();
  bool good() const { return good_; }
  const std::filesystem::path& path() const { return path_; }

 private:
  ReportFile(std::unique_ptr<OutputFile> file, std::filesystem::path path) : file_(std::move(file)), path_(std::move(path)) {}
  std::unique_ptr<OutputFile> file_;
  std::filesystem::path path_;
  bool good_ = true;
};

}  // namespace kvr
