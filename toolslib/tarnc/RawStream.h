#pragma once
// The raw inertial stream of a TARN-C session: one sample per decoded frame, for the
// continuous-mode analysis. Layout, all little-endian:
//   byte 0      0xAA
//   bytes 1-2   version (1)
//   bytes 3-6   header length in bytes, these seven included
//   bytes 7..   the sensor calibration in use, as ".sct" text
//   then samples of 120 bytes: 15 doubles (depth, tool time s, raw gyro X Y Z mV, raw
//   accelerometer X Y Z mV, accelerometer temperatures X Y Z, gyro temperatures X Y Z
//   (degC; X and Y both the XY sensor), indexer count).
// The writer sends whole seconds of samples to the file with write(2), so a program that
// is killed loses at most the last second; it never replaces an existing stream.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tools::tarnc {

inline constexpr std::uint8_t kRawMagic = 0xAA;
inline constexpr std::uint16_t kRawVersion = 1;
inline constexpr std::size_t kRawFixedHeader = 7;
inline constexpr std::size_t kRawSampleBytes = 120;
inline constexpr std::size_t kRawMaxHeader = 1u << 20;
inline constexpr std::size_t kSamplesPerWrite = 15;  // one second of frames

struct RawSample {
  std::array<double, 15> v{};
};

class RawStreamWriter {
 public:
  RawStreamWriter() = default;
  ~RawStreamWriter();
  RawStreamWriter(const RawStreamWriter&) = delete;
  RawStreamWriter& operator=(const RawStreamWriter&) = delete;

  // Creates folder + "Output" when missing, then folder + "Output/" + base + number + ".raw"
  // (refused when it exists) with its header. False with a reason in error().
  bool open(const std::string& sessionFolder, std::string_view base, std::string_view number,
            std::string_view calibrationText);
  void add(const RawSample& sample);
  // Writes what is buffered; false after a failed write.
  bool flush();
  void close();
  bool isOpen() const { return fd_ >= 0; }
  const std::string& path() const { return path_; }
  const std::string& error() const { return error_; }

 private:
  bool writeAll(const std::uint8_t* p, std::size_t n);

  int fd_ = -1;
  std::string path_, error_;
  std::vector<std::uint8_t> pending_;
};

struct RawStreamContent {
  bool ok = false;
  std::string error;  // why it was refused
  std::uint16_t version = 0;
  std::string calibrationText;
  std::vector<RawSample> samples;
  std::size_t trailingBytes = 0;  // a sample cut short at the end (a killed writer)
};

// Reads a whole stream from bytes; headerOnly stops after the calibration.
RawStreamContent readRawStream(std::span<const std::uint8_t> bytes, bool headerOnly = false);
// Reads a file's header (and samples unless headerOnly); a missing file is an error too.
RawStreamContent readRawStreamFile(const std::string& path, bool headerOnly = false);

}  // namespace tools::tarnc
