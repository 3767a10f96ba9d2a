#pragma once
// The two files of a gauge download: the text file (written as text, so with CR LF line
// ends) and its binary twin (a 256-byte header, then 12-byte records). Both are created
// exclusively, so a recorded file is never replaced, and every write is checked.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "kvr/gauge/CDatePickerDlg.h"
#include "toolslib/vunt/GaugeRecords.h"

namespace kvr::gauge {

// The binary file beside the text file: the chosen name without its extension, plus ".BIN".
std::filesystem::path binaryPathFor(const std::filesystem::path& text);

class DownloadFiles {
 public:
  enum class Opened { Ok, TextFailed, BinaryFailed };
  DownloadFiles() = default;
  ~DownloadFiles();
  DownloadFiles(const DownloadFiles&) = delete;
  DownloadFiles& operator=(const DownloadFiles&) = delete;

  // Opens both; when the binary file cannot be opened (or would be the text file itself)
  // the text file just made is closed and removed again.
  Opened open(const std::filesystem::path& text);

  // False once any write failed; the first failing file is named by textFailed().
  bool writeHeaders(const PickedDate& start, const tools::vunt::CalibrationUnion& calibration);
  bool writeSample(float t, tools::vunt::RawSample raw, double psi, double degC);
  // Closes both; false when anything written did not reach its file.
  bool close();
  bool textFailed() const { return textFailed_; }
  const std::filesystem::path& textPath() const { return textPath_; }
  const std::filesystem::path& binaryPath() const { return binaryPath_; }

 private:
  bool text(const std::string& s);
  bool binary(const std::uint8_t* bytes, std::size_t n);
  std::FILE* text_ = nullptr;
  std::FILE* binary_ = nullptr;
  std::filesystem::path textPath_, binaryPath_;
  bool ok_ = true;
  bool textFailed_ = false;
};

}  // namespace kvr::gauge
