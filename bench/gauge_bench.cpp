// A full memory gauge (200 pages, and the simulated gauge's 2048) downloaded on virtual time:
// the program's Data Latch Manager against the simulated gauge over the simulated panel. Reports the virtual seconds per page (the
// link's and the protocol's time: two halves of 18 frames at 15 frames a second, the 200 ms
// and 500 ms pauses between them, the acquisition's 250 ms reads) and the wall time per page.

#include <benchmark/benchmark.h>

#include "common/records/SystemMode.h"
#include "kvr/app/CKVRApp.h"
#include "kvr/app/LoggingStation.h"
#include "kvr/gauge/CDownloadDataDlg.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/ScriptedPrompter.h"
#include "platform/testing/TempPaths.h"
#include "usbxp/SimBackend.h"

namespace {

void BM_FullGaugeDownload(benchmark::State& state) {
  const auto pages = static_cast<std::uint16_t>(state.range(0));
  double virtualS = 0, pagesDone = 0;
  for (auto _ : state) {
    state.PauseTiming();
    platform::testing::ManualLoop loop;
    platform::testing::ScriptedPrompter prompter;
    platform::testing::TempPaths paths;
    kvr::ProgramSettings program = kvr::CKVRApp::batchSettings(paths, 9);
    panelsim::SimConfig config;
    config.winch.direction = panelsim::Direction::Still;
    config.gauge.memoryPages = pages;
    config.gauge.program = {{0xFFFF, 1}};
    config.gauge.recordedJobsS = {pages * 105.0 + 10};  // the whole memory, one sample a second
    kvr::LoggingStation station({loop, loop.clock(), prompter, paths, program},
                                kvr::simulatedPanelLink(config, loop.clock()), true);
    records::JobRecord job;
    job.userName = "B";
    job.client = "C";
    job.wellName = "W";
    station.session().confirmJobData(job);
    station.declareString({"VUNT-MG"});
    station.dialog().startTelemetry();
    loop.advance(1000);
    auto* panel = station.gaugePanel();
    bool connected = false;
    panel->setStatusDialog([&] { connected = true; });
    panel->connect();
    loop.advanceUntil([&] { return connected; }, 60000);
    kvr::gauge::CDownloadDataDlg dialog({*panel, nullptr, {}});
    dialog.open();
    state.ResumeTiming();
    const auto start = loop.now();
    dialog.startDownload(paths.base() / "full.txt", {0, 0});
    loop.advanceUntil([&] { return !dialog.running(); }, 24LL * 3600 * 1000, 50);
    state.PauseTiming();
    virtualS += static_cast<double>(loop.now() - start) / 1000.0;
    pagesDone += dialog.pagesReceived();
    if (dialog.state() != kvr::gauge::CDownloadDataDlg::State::Finished) state.SkipWithError("download failed");
    state.ResumeTiming();
  }
  state.counters["pages"] = pagesDone / static_cast<double>(state.iterations());
  state.counters["virtual_s_per_page"] = virtualS / pagesDone;
  state.counters["wall_s_per_page"] = benchmark::Counter(pagesDone, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FullGaugeDownload)->Arg(200)->Arg(2048)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
