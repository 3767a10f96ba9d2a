#pragma once
// The format and records the drawing benchmarks share: four tracks and eight curves.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/presentation/ByteFile.h"
#include "common/presentation/ChartDataFile.h"
#include "common/presentation/Format.h"
#include "common/presentation/PresentationFile.h"

namespace presentation::bench {

inline CCurve curve(const char* name, float l, float r, platform::Rgb colour) {
  CCurve c;
  c.name = name;
  c.leftValue = l;
  c.rightValue = r;
  c.colour = colour;
  c.thickness = 1;
  return c;
}

// Four tracks and eight curves, as a busy production log would have.
inline CFormat benchFormat() {
  CFormat f;
  f.name = "Bench";
  f.scale = 200;
  CColumn a;
  a.width = 200;
  a.curves = {curve("CCL1", -10, 10, 0x0000FF), curve("LSPD", 0, 6000, 0x008000), curve("TENS", 5000, 0, 0xFF0000)};
  CColumn b;
  b.mode = TrackMode::Logarithmic;
  b.left = 200;
  b.width = 200;
  b.curves = {curve("PRES", 1, 10000, 0x00FF00), curve("PRATE", 1, 10000, 0x800080)};
  CColumn c;
  c.mode = TrackMode::Depth;
  c.left = 400;
  c.width = 60;
  CColumn d;
  d.left = 460;
  d.width = 280;
  d.curves = {curve("TEMP", 0, 150, 0xFF0000), curve("UHVOLT", 0, 300, 0x0000FF), curve("UHCURR", 0, 500, 0x00FFFF)};
  f.tracks = {a, b, c, d};
  computeLogTicks(f.tracks[1]);
  stackLabels(f);
  for (auto& t : f.tracks)
    for (auto& cv : t.curves)
      if (cv.leftValue > cv.rightValue) {
        std::swap(cv.leftValue, cv.rightValue);
        cv.reverse = true;
      }
  return f;
}

inline void fillRecord(std::vector<float>& r, std::uint64_t i) {
  r.resize(9);
  r[0] = 1000.0f + 0.1f * static_cast<float>(i);
  for (std::size_t k = 1; k < 9; ++k) r[k] = static_cast<float>((i * (k + 3)) % 997) * 7.5f;
}

// A chart data file of the bench format with that many records, in the temporary folder.
inline std::filesystem::path writeBenchChart(const std::string& name, std::uint64_t frames) {
  const auto path = std::filesystem::temp_directory_path() / (name + "_" + std::to_string(frames) + ".cdf");
  ChartDataWriter w;
  CFormat f = benchFormat();
  w.create(openByteFile(path, OpenMode::CreateTruncate), f, false);
  std::vector<float> r;
  for (std::uint64_t i = 0; i < frames; ++i) {
    fillRecord(r, i);
    w.appendFrame(r);
  }
  w.flush();
  return path;
}

}  // namespace presentation::bench
