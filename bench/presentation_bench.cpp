// Drawing speed of the log rows and the cost of jumping into a long chart data file.
// The canvas here is a software raster of its own (lines into an 8-bit bitmap, scrolls
// that move its rows) standing in for the window's picture; no Qt is involved.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "common/presentation/ByteFile.h"
#include "common/presentation/ChartDataFile.h"
#include "common/presentation/LogDisplay.h"
#include "common/presentation/RenderRules.h"
#include "bench/PresentationBenchFormat.h"

using namespace presentation;
using presentation::bench::benchFormat;
using presentation::bench::fillRecord;

namespace {

class RasterCanvas final : public platform::Canvas {
 public:
  RasterCanvas(int w, int h) : w_(w), h_(h), pixels_(static_cast<std::size_t>(w * h)) {}
  void setPen(const platform::Pen& p) override { ink_ = static_cast<std::uint8_t>(p.colour | 1); }
  void setBrush(const platform::Brush&) override {}
  void setFont(const platform::Font&) override {}
  void setTextColour(platform::Rgb) override {}
  void setBackground(bool, platform::Rgb) override {}
  void setMapping(const platform::Mapping&) override {}
  void setClip(const platform::Rect& r) override { clip_ = r; }
  void clearClip() override { clip_ = {0, 0, w_, h_}; }
  void line(platform::Point a, platform::Point b) override {
    // Bresenham, clipped per pixel.
    int dx = std::abs(b.x - a.x), sx = a.x < b.x ? 1 : -1;
    int dy = -std::abs(b.y - a.y), sy = a.y < b.y ? 1 : -1;
    int err = dx + dy, x = a.x, y = a.y;
    for (int guard = 0; guard < 4096; ++guard) {
      plot(x, y);
      if (x == b.x && y == b.y) break;
      const int e2 = 2 * err;
      if (e2 >= dy) { err += dy; x += sx; }
      if (e2 <= dx) { err += dx; y += sy; }
    }
  }
  void polyline(const std::vector<platform::Point>& p) override {
    for (std::size_t i = 1; i < p.size(); ++i) line(p[i - 1], p[i]);
  }
  void rectangle(const platform::Rect& r) override {
    line({r.left, r.top}, {r.right, r.top});
    line({r.left, r.bottom}, {r.right, r.bottom});
  }
  void fillRect(const platform::Rect& r, platform::Rgb) override {
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, h_); ++y) {
      const int x0 = std::max(r.left, 0), x1 = std::min(r.right, w_);
      if (x1 > x0) std::memset(&pixels_[static_cast<std::size_t>(y * w_ + x0)], 0, static_cast<std::size_t>(x1 - x0));
    }
  }
  void ellipse(const platform::Rect&) override {}
  void arc(const platform::Rect&, platform::Point, platform::Point) override {}
  void text(platform::Point at, std::string_view t, unsigned) override { plot(at.x, at.y + static_cast<int>(t.size())); }
  platform::Size textExtent(std::string_view t) override { return {static_cast<int>(t.size()) * 7, 13}; }
  bool drawImage(const platform::Rect&, const std::string&) override { return false; }
  void scroll(const platform::Rect& r, int dy) override {
    const int top = std::max(r.top, 0), bottom = std::min(r.bottom, h_);
    const int rows = bottom - top - std::abs(dy);
    if (rows <= 0) return;
    const int from = dy < 0 ? top - dy : top, to = dy < 0 ? top : top + dy;
    std::memmove(&pixels_[static_cast<std::size_t>(to * w_)], &pixels_[static_cast<std::size_t>(from * w_)],
                 static_cast<std::size_t>(rows * w_));
  }
  platform::Rect bounds() const override { return {0, 0, w_, h_}; }
  long inked() const { return std::count_if(pixels_.begin(), pixels_.end(), [](std::uint8_t p) { return p != 0; }); }

 private:
  void plot(int x, int y) {
    if (x >= clip_.left && x < clip_.right && y >= clip_.top && y < clip_.bottom && x >= 0 && x < w_ && y >= 0 && y < h_)
      pixels_[static_cast<std::size_t>(y * w_ + x)] = ink_;
  }
  int w_, h_;
  std::vector<std::uint8_t> pixels_;
  platform::Rect clip_{0, 0, 785, 400};
  std::uint8_t ink_ = 1;
};

void BM_DrawRows(benchmark::State& state) {
  CFormat f = benchFormat();
  ChartDataWriter writer;
  writer.create(std::make_unique<MemoryFile>(), f, false);
  LogDisplay view(f, writer, screenRules(f, false), {0, 0, 785, 400}, screenStep(200, true, 10, false), {});
  RasterCanvas canvas(785, 400);
  std::vector<float> record;
  std::uint64_t i = 0;
  for (auto _ : state) {
    fillRecord(record, i++);
    writer.appendFrame(record);
    view.frameAdded(canvas, record);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
  state.counters["rows_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  benchmark::DoNotOptimize(canvas.inked());
}
BENCHMARK(BM_DrawRows);

struct JumpFixture {
  std::filesystem::path path;
  std::unique_ptr<ByteFile> file;
  std::unique_ptr<ChartDataReader> reader;
  CFormat format;
};

std::vector<std::unique_ptr<JumpFixture>> made;

JumpFixture& fileOf(std::uint64_t frames) {
  for (auto& m : made)
    if (m->reader && m->reader->frameCount() == frames) return *m;
  auto fx = std::make_unique<JumpFixture>();
  fx->format = benchFormat();
  fx->path = presentation::bench::writeBenchChart("varexa_bench", frames);
  fx->file = openByteFile(fx->path, OpenMode::ReadOnly);
  fx->reader = std::make_unique<ChartDataReader>(*fx->file);
  fx->reader->open();
  made.push_back(std::move(fx));
  return *made.back();
}

// Thumb released in the middle: find the records of one full window, read them and draw them.
void BM_JumpToMiddle(benchmark::State& state) {
  auto& fx = fileOf(static_cast<std::uint64_t>(state.range(0)));
  CFormat f = fx.reader->header().format;
  LogDisplay view(f, *fx.reader, screenRules(f, false), {0, 0, 785, 400}, screenStep(200, true, 10, false), {});
  RasterCanvas canvas(785, 400);
  int position = 500;
  for (auto _ : state) {
    view.thumbReleased(canvas, position);
    position = position == 500 ? 499 : 500;  // a different window each time
  }
  state.counters["rows_in_window"] = view.lookBack().rows();
  state.counters["frames"] = static_cast<double>(fx.reader->frameCount());
}
BENCHMARK(BM_JumpToMiddle)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  for (auto& m : made) {  // the large files go with the run
    m->reader.reset();
    m->file.reset();
    std::filesystem::remove(m->path);
  }
  return 0;
}
