#pragma once
// Chart data files and pages for the printing tests.

#include <filesystem>
#include <vector>

#include "common/presentation/Annotation.h"
#include "common/presentation/ChartDataFile.h"
#include "pagemill/core/PageFlow.h"
#include "platform/testing/RecordingCanvas.h"

namespace pagemill::testlogs {

inline presentation::CCurve curve(const std::string& name, float left, float right, int labelHeight = 40) {
  presentation::CCurve c;
  c.name = name;
  c.description = name + " log";
  c.units = "[u]";
  c.leftValue = left;
  c.rightValue = right;
  c.labelHeight = labelHeight;
  c.thickness = 2;
  return c;
}

// A linear track, a depth track and a second linear track, in KVR pixels, English 1:200.
inline presentation::CFormat threeTracks() {
  presentation::CFormat f;
  f.name = "Test";
  f.english = true;
  f.scale = 200;
  presentation::CColumn a;
  a.width = 250;
  a.curves = {curve("GR", 0, 150)};
  presentation::CColumn d;
  d.index = 1;
  d.mode = presentation::TrackMode::Depth;
  d.left = 250;
  d.width = 80;
  presentation::CColumn b;
  b.index = 2;
  b.left = 330;
  b.width = 400;
  b.curves = {curve("CCL", -10, 10)};
  f.tracks = {a, d, b};
  return f;
}

// Depths from first by step, a record each, with a curve value per enabled curve.
inline void writeLog(const std::filesystem::path& path, const presentation::CFormat& f, bool up, float first,
                     float step, int records, const std::vector<presentation::Annotation>& objects = {}) {
  presentation::ChartDataWriter w;
  w.create(presentation::openByteFile(path, presentation::OpenMode::CreateTruncate), f, up);
  std::vector<float> rec(static_cast<std::size_t>(f.valuesPerRecord()));
  for (int i = 0; i < records; ++i) {
    rec[0] = first + step * static_cast<float>(i);
    for (std::size_t j = 1; j < rec.size(); ++j) rec[j] = static_cast<float>((i * 7 + j * 13) % 100) / 10.0f;
    w.appendFrame(rec);
  }
  w.flush();
  if (!objects.empty()) {
    auto file = presentation::openByteFile(path, presentation::OpenMode::ReadWrite);
    presentation::ChartHeader h;
    presentation::readChartHeader(*file, h);
    presentation::writeAnnotations(*file, h, objects);
  }
}

// Pages of a given height on recording canvases.
class FakePages final : public PageFlow {
 public:
  explicit FakePages(int height, int width = 8500) : height_(height), width_(width) { pages.emplace_back(); }
  platform::Canvas& canvas() override { return pages.back(); }
  int pageHeight() const override { return height_; }
  int pageWidth() const override { return width_; }
  bool englishUnits() const override { return true; }
  bool nextPage() override {
    if (failAfter >= 0 && static_cast<int>(pages.size()) > failAfter) return false;
    pages.emplace_back();
    return true;
  }
  std::vector<platform::testing::RecordingCanvas> pages;
  int failAfter = -1;

 private:
  int height_, width_;
};

}  // namespace pagemill::testlogs
