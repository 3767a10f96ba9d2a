// The whole logging pipeline on virtual time: simulated panel frames -> parse -> dispatch ->
// sample ring -> flush to a file -> row display (chart data files, no window). Frames per
// second of wall time, and the peak memory of an hour's and a twelve hours' log.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include "common/records/SystemMode.h"
#include "kvr/app/CKVRApp.h"
#include "kvr/app/LoggingStation.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/ScriptedPrompter.h"
#include "platform/testing/TempPaths.h"
#include "usbxp/SimBackend.h"

namespace {

long peakRssKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

void BM_LoggingPipeline(benchmark::State& state) {
  const double hours = static_cast<double>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    platform::testing::ManualLoop loop;
    platform::testing::ScriptedPrompter prompter;
    platform::testing::TempPaths paths;
    kvr::ProgramSettings program;
    program.mainFolder = kvr::CKVRApp::mainFolderText(paths.dataRoot());
    kvr::CKVRApp::provideShippedFiles(program.mainFolder, paths.shippedDataFolder());
    program.modeWord = 9;
    program.systemParameters = records::defaultSystemParameters(9);
    panelsim::SimConfig config;
    config.winch.startDepth = 20000;
    config.winch.speed = 1800;
    config.winch.direction = panelsim::Direction::Up;
    kvr::PanelLink link = kvr::simulatedPanelLink(config, loop.clock());
    kvr::LoggingStation station({loop, loop.clock(), prompter, paths, program}, std::move(link), true);
    records::JobRecord job;
    job.userName = "B";
    job.client = "C";
    job.wellName = "W";
    station.session().confirmJobData(job);
    station.declareString({"BRIX-CCL", "SEVO-PT", "DUNE-ROLA"});
    station.dialog().startTelemetry();
    loop.advance(1000);
    station.dialog().startLog(1, false);
    const long before = peakRssKb();
    state.ResumeTiming();
    const auto frames0 = station.dialog().counters().goodFrames;
    loop.advance(static_cast<std::int64_t>(hours * 3600'000));
    state.PauseTiming();
    const auto frames = station.dialog().counters().goodFrames - frames0;
    station.dialog().stopLogging();
    state.counters["frames"] = frames;
    state.counters["frames_per_s"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    state.counters["rss_growth_kB"] = static_cast<double>(peakRssKb() - before);
    state.counters["peak_rss_kB"] = static_cast<double>(peakRssKb());
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LoggingPipeline)->Arg(1)->Arg(12)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
