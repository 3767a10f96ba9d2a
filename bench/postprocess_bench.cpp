// The continuous-mode analysis of a long TARN-C session, from the raw stream file to the
// three outputs: samples per second (wall clock: the analysis uses a second thread), the peak
// of resident memory it adds (its two tables grow with the samples, nothing else should) and
// the peak of heap in use beside those tables.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "kvr/postprocess/McOutputs.h"
#include "kvr/postprocess/tests/ProgramSide.h"
#include "navikor/tests/Synthetic.h"
#include "toolslib/tarnc/RawStream.h"

namespace {
std::atomic<long long> g_live{0}, g_peak{0};
void note(long long delta) {
  const long long now = g_live += delta;
  long long peak = g_peak.load();
  while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
  }
}
// A field of /proc/self/status in bytes ("VmRSS", "VmHWM"), 0 when not there.
long long statusBytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string key = std::string(field) + ":";
  while (std::getline(status, line))
    if (line.rfind(key, 0) == 0) return std::atoll(line.c_str() + key.size()) * 1024;
  return 0;
}
// The resident peak starts again from what is resident now.
void resetResidentPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }
}  // namespace

// Heap in use, counted through the global allocation functions.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) throw std::bad_alloc();
  note(static_cast<long long>(malloc_usable_size(p)));
  return p;
}
void operator delete(void* p) noexcept {
  if (p) note(-static_cast<long long>(malloc_usable_size(p)));
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
#pragma GCC diagnostic pop

namespace {
namespace pp = kvr::postprocess;
using namespace synth;

// A session of n samples at 15 per second: ten stations of 40 s with the indexer at 0, the
// tool turning at 0.3 degrees a second and going down between them; raw readings are the
// physical values (no calibration in the stream or the program).
struct LongSession {
  std::filesystem::path folder;
  std::string log;
  explicit LongSession(long n) {
    folder = std::filesystem::temp_directory_path() / ("varexa-post-bench-" + std::to_string(::getpid()) + "-" +
                                                       std::to_string(n));
    std::filesystem::create_directories(folder);
    tools::tarnc::RawStreamWriter w;
    w.open(folder.string(), "DataSession", "1", "");
    const double dt = 1.0 / 15, lat = 40;
    const int stations = 10;
    const long station = 600, stretch = n / stations;
    std::string events = "Tiempo,Tipo,Devi,Azi,Hstf,Tf,Qc,Flag\r\n";
    double toolface = 60;
    M3 previous = attitude(30, 123.4, toolface);
    Lcg noise;
    for (long k = 0; k < n; ++k) {
      const long inStretch = k % stretch;
      const bool still = inStretch < station;
      const double t = k * dt;
      char row[256];
      if (inStretch == 0) {
        std::snprintf(row, sizeof row, "%g,0,0,0,0,0,0,0,0,START_STATION\r\n", t);
        events += row;
      }
      if (!still) toolface += 0.3 * dt;
      const M3 m = attitude(30, 123.4, toolface);
      if (inStretch == station - 1) {
        const POS_PARAM p = Matrix2Param(toMat(m));
        std::snprintf(row, sizeof row, "%g,0,%g,%g,%g,%g,98,12,524,END_STATION\r\n", t, deg(p.Devi), deg(p.Azi),
                      deg(p.Hstf), deg(p.Tf));
        events += row;
      }
      const M3 s = mul(fromMat(MatTrasp(toMat(previous))), m);
      const double kk = 180 / kPi * 3600 / dt / 2;
      const CARTXYZ body((s.a[2][1] - s.a[1][2]) * kk, (s.a[0][2] - s.a[2][0]) * kk, (s.a[1][0] - s.a[0][1]) * kk);
      previous = m;
      const CARTXYZ g = gravityIn(m), e = earthRateIn(m, lat);
      tools::tarnc::RawSample r;
      r.v = {100 + k * 0.01, t, e.x + body.x, e.y + body.y, e.z + body.z, g.x + 1e-4 * noise.gauss(),
             g.y + 1e-4 * noise.gauss(), g.z + 1e-4 * noise.gauss(), 60, 60, 60, 60, 60, 60, 12};
      w.add(r);
    }
    w.close();
    log = (folder / "Output" / "Session_1.csv").string();
    std::ofstream(log, std::ios::binary) << events;
  }
  ~LongSession() { std::filesystem::remove_all(folder); }
};

void process(benchmark::State& state) {
  const long n = state.range(0);
  const LongSession session(n);
  pp::testing::ProgramSide program;
  auto& manager = program.manager;
  auto& prompter = program.prompter;
  if (!manager.load(session.log)) state.SkipWithError("no session");
  // The tables of the previous run are released as the next one starts: measured from here.
  const long long base = g_live;
  long long peak = 0, residentPeak = 0;
  int movements = 0, corrections = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (auto which : {pp::Output::SurveyLas, pp::Output::DepthLas, pp::Output::Report})
      std::filesystem::remove(pp::outputPath(session.log, which));
    prompter.clear();
    g_peak = g_live.load();
    resetResidentPeak();
    const long long resident = statusBytes("VmRSS");
    state.ResumeTiming();
    const auto r = manager.process();
    if (r.outputs.size() != 3) state.SkipWithError("outputs missing");
    state.PauseTiming();
    peak = g_peak - base;
    // The previous run's tables are resident until this run starts: only the first run's
    // figure is the whole of it.
    residentPeak = std::max(residentPeak, statusBytes("VmHWM") - resident);
    const CNavikor& nav = manager.run().navikor();
    movements = nav.movementCount;
    corrections = 0;
    for (int i = 0; i < movements; ++i) corrections += nav.movementTable[i].acelCorrections;
    state.ResumeTiming();
  }
  state.counters["samples/s"] = benchmark::Counter(static_cast<double>(n) * static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
  state.counters["peak_resident_MB"] = static_cast<double>(residentPeak) / 1e6;
  state.counters["resident_bytes_per_sample"] = static_cast<double>(residentPeak) / static_cast<double>(n);
  state.counters["heap_bytes_per_sample"] = static_cast<double>(peak) / static_cast<double>(n);
  state.counters["movements"] = movements;
  state.counters["acel_corrections"] = corrections;
}

}  // namespace

BENCHMARK(process)->Arg(250000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK_MAIN();
