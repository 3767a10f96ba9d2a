#pragma once
// Small session folders for the post-processing tests: event logs in the writer's format
// and raw streams written with the TOOLS writer, or made by hand when they must be broken.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/records/LittleEndian.h"
#include "toolslib/tarnc/RawStream.h"

namespace kvr::postprocess::testing {

inline constexpr const char* kLogHeader = "Tiempo,Tipo,Devi,Azi,Hstf,Tf,Qc,Flag\r\n";

inline void writeFile(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

// A raw stream by hand: header length, extra header bytes, samples and a ragged tail.
inline std::string rawBytes(std::uint8_t magic, std::uint32_t headerLength, const std::vector<std::array<double, 15>>& samples,
                            std::size_t tail = 0) {
  std::vector<std::uint8_t> b(std::max<std::size_t>(headerLength, 7), 0);
  b[0] = magic;
  records::le::putU16(&b[1], 1);
  records::le::putU32(&b[3], headerLength);
  for (const auto& s : samples)
    for (double v : s) {
      std::uint8_t d[8];
      records::le::putF64(d, v);
      b.insert(b.end(), d, d + 8);
    }
  b.insert(b.end(), tail, 0x55);
  return {b.begin(), b.end()};
}

// A sample at time t: indexer count, raw readings and temperatures as the tool sends them.
inline std::array<double, 15> sampleAt(double t, double count = 12, double depth = 100) {
  return {depth, t, 1, 2, 3, 4, 5, 6, 50, 51, 52, 53, 53, 54, count};
}

struct TempFolder {
  std::filesystem::path path;
  TempFolder() {
    path = std::filesystem::temp_directory_path() /
           ("varexa-post-" + std::to_string(::getpid()) + "-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::create_directories(path / "Output");
  }
  ~TempFolder() { std::filesystem::remove_all(path); }
  std::filesystem::path output() const { return path / "Output"; }
};

}  // namespace kvr::postprocess::testing
