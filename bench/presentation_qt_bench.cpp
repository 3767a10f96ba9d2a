// The log window's real picture: rows drawn into a Qt image through QtCanvas, as KVR's log
// windows draw them off screen before showing them, and a jump into the middle of a long
// chart data file redrawn into the same image.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "bench/PresentationBenchFormat.h"
#include "common/presentation/ByteFile.h"
#include "common/presentation/ChartDataFile.h"
#include "common/presentation/LogDisplay.h"
#include "common/presentation/RenderRules.h"
#include "platform/qt/OffscreenImage.h"

using namespace presentation;
using presentation::bench::benchFormat;
using presentation::bench::fillRecord;

namespace {

constexpr int kWidth = 785, kHeight = 400;

void BM_DrawRowsIntoQImage(benchmark::State& state) {
  CFormat f = benchFormat();
  ChartDataWriter writer;
  writer.create(std::make_unique<MemoryFile>(), f, false);
  LogDisplay view(f, writer, screenRules(f, false), {0, 0, kWidth, kHeight}, screenStep(200, true, 10, false), {});
  platform::qt::OffscreenImage image(kWidth, kHeight);
  auto& canvas = image.canvas();
  std::vector<float> record;
  std::uint64_t i = 0;
  for (auto _ : state) {
    fillRecord(record, i++);
    writer.appendFrame(record);
    view.frameAdded(canvas, record);
  }
  state.counters["rows_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawRowsIntoQImage);

void BM_JumpToMiddleIntoQImage(benchmark::State& state) {
  const auto path = presentation::bench::writeBenchChart("varexa_qt_bench", static_cast<std::uint64_t>(state.range(0)));
  {
    auto file = openByteFile(path, OpenMode::ReadOnly);
    ChartDataReader reader(*file);
    reader.open();
    CFormat f = reader.header().format;
    LogDisplay view(f, reader, screenRules(f, false), {0, 0, kWidth, kHeight}, screenStep(200, true, 10, false), {});
    platform::qt::OffscreenImage image(kWidth, kHeight);
    auto& canvas = image.canvas();
    int position = 500;
    for (auto _ : state) {
      view.thumbReleased(canvas, position);
      position = position == 500 ? 499 : 500;  // a different window each time
    }
    state.counters["frames"] = static_cast<double>(reader.frameCount());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_JumpToMiddleIntoQImage)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  platform::qt::ensureOffscreenGui();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
