// Pagemill printing speed: a 5,000 ft log at 1:200 with 4 tracks and 8 curves printed to a
// PDF through the Qt print target, in pages per second, and the peak memory of the process
// before and after (the log is streamed from its file, so it must not grow with the length).
// PAGEMILL_BENCH_KEEP=DIR keeps the chart data file and the PDF there.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "common/presentation/ChartDataFile.h"
#include "pagemill/core/HeaderInfo.h"
#include "pagemill/core/HeaderWnd.h"
#include "pagemill/core/PrintJob.h"
#include "platform/Prompter.h"
#include "platform/qt/QtPrintTarget.h"
#include "platform/qt/testing/QtTestApp.h"

namespace {

using namespace presentation;

class SilentPrompter final : public platform::Prompter {
 public:
  platform::Answer ask(const platform::Message&) override { return platform::Answer::Ok; }
  std::optional<std::string> openFile(const platform::FileRequest&) override { return {}; }
  std::optional<std::string> saveFile(const platform::FileRequest&) override { return {}; }
  std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return {}; }
  std::optional<platform::Colour> chooseColour(platform::Colour) override { return {}; }
  std::optional<std::string> inputText(const platform::TextRequest&) override { return {}; }
};

class NoSettings final : public platform::Settings {
 public:
  int getInt(const std::string&, const std::string&, int f) const override { return f; }
  void setInt(const std::string&, const std::string&, int) override {}
  std::string getString(const std::string&, const std::string&, const std::string& f) const override { return f; }
  void setString(const std::string&, const std::string&, const std::string&) override {}
};

CCurve curve(const char* name, float l, float r, platform::Rgb colour) {
  CCurve c;
  c.name = name;
  c.description = name;
  c.units = "[u]";
  c.leftValue = l;
  c.rightValue = r;
  c.colour = colour;
  c.thickness = 2;
  return c;
}

// Four tracks, eight curves.
CFormat benchFormat() {
  CFormat f;
  f.name = "Bench";
  f.english = true;
  f.scale = 200;
  CColumn a;
  a.width = 200;
  a.curves = {curve("GR", 0, 150, platform::rgb(0, 128, 0)), curve("CCL", -10, 10, 0)};
  CColumn d;
  d.index = 1;
  d.mode = TrackMode::Depth;
  d.left = 200;
  d.width = 80;
  d.curves = {curve("TENS", 0, 5000, platform::rgb(128, 0, 128))};
  CColumn b;
  b.index = 2;
  b.left = 280;
  b.width = 250;
  b.mode = TrackMode::Logarithmic;
  b.decades = 3;
  b.curves = {curve("SPIN", 1, 1000, platform::rgb(255, 0, 0)), curve("RES", 1, 1000, platform::rgb(0, 0, 255)),
              curve("RPS", 1, 1000, platform::rgb(0, 128, 128))};
  CColumn c;
  c.index = 3;
  c.left = 530;
  c.width = 220;
  c.curves = {curve("TEMP", 50, 150, platform::rgb(200, 100, 0)), curve("PRES", 1000, 3000, 0)};
  f.tracks = {a, d, b, c};
  return f;
}

std::filesystem::path folder() {
  if (const char* keep = std::getenv("PAGEMILL_BENCH_KEEP")) return keep;
  return std::filesystem::temp_directory_path() / "pagemill_bench";
}

std::filesystem::path writeLog(int feet) {
  std::filesystem::create_directories(folder());
  const auto path = folder() / ("log_" + std::to_string(feet) + "ft.cdf");
  ChartDataWriter w;
  w.create(openByteFile(path, OpenMode::CreateTruncate), benchFormat(), false);
  for (int i = 0; i < feet * 4; ++i) {
    const double d = 5000.0 + 0.25 * i;
    const float rec[9] = {static_cast<float>(d),
                          static_cast<float>(70 + 50 * std::sin(d / 9)),
                          static_cast<float>(i % 120 == 0 ? 8 : 0.3 * std::sin(d)),
                          static_cast<float>(1800 + 0.1 * i),
                          static_cast<float>(std::pow(10.0, 1.5 + std::sin(d / 20))),
                          static_cast<float>(std::pow(10.0, 1.0 + 0.8 * std::cos(d / 13))),
                          static_cast<float>(5 + 3 * std::sin(d / 4)),
                          static_cast<float>(90 + 0.004 * i),
                          static_cast<float>(1500 + 0.05 * i)};
    w.appendFrame(rec);
  }
  w.flush();
  return path;
}

long maxRssKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

void BM_PrintLogToPdf(benchmark::State& state) {
  const int feet = static_cast<int>(state.range(0));
  const auto log = writeLog(feet);
  const auto pdf = folder() / ("log_" + std::to_string(feet) + "ft.pdf");
  SilentPrompter prompter;
  NoSettings settings;
  pagemill::CHeaderInfo info;
  pagemill::CHeaderWnd templates(settings, prompter, info);
  pagemill::PrintStatus status;
  const long before = maxRssKb();
  int pages = 0;
  for (auto _ : state) {
    platform::qt::PrintSetup setup;
    setup.pdfPath = pdf.string();
    platform::qt::QtPrintTarget target(setup);
    pagemill::PrintJob job(target, prompter, templates, status, {});
    if (job.run({"&FILE: " + log.string()}) != pagemill::JobOutcome::Finished) state.SkipWithError("print failed");
    pages = target.pagesPrinted();
  }
  const long after = maxRssKb();
  state.counters["pages"] = pages;
  state.counters["pages_per_s"] = benchmark::Counter(static_cast<double>(pages), benchmark::Counter::kIsIterationInvariantRate);
  state.counters["peak_rss_MB"] = static_cast<double>(after) / 1024.0;
  state.counters["rss_growth_MB"] = static_cast<double>(after - before) / 1024.0;
}
// The shorter log first: the growth of the peak between the two shows what the length costs.
BENCHMARK(BM_PrintLogToPdf)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  platform::qt::testing::qtTestApp();  // offscreen, for the fonts and the PDF writer
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
