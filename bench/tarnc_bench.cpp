// TARN-C frames decoded per second with the sample sensor correction table loaded: Navikor's
// calibration of every frame, the online attitude, and (second case) the raw stream sample.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "common/records/ToolCodes.h"
#include "toolslib/Library.h"
#include "navikor/Navikor.h"
#include "toolslib/families/TarnC.h"

namespace {

void decode(benchmark::State& state, bool rawStream, bool integrating) {
  tools::Library lib;
  auto& family = *static_cast<tools::TarnC*>(lib.family(records::kTarnC));
  std::ifstream in(std::string(VAREXA_SOURCE_ROOT) + "/data/TCX-0417.sct", std::ios::binary);
  const std::string sct{std::istreambuf_iterator<char>(in), {}};
  if (!family.loadCorrectionTableText(sct, nullptr)) state.SkipWithError("no sample table");
  family.init();
  const auto dir = std::filesystem::temp_directory_path() / ("varexa-tarnc-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  if (rawStream && !family.OpenTARN_C_DLLRawDataFile(dir.string(), "DataSession", "1")) state.SkipWithError("no stream");
  if (integrating) {
    // A station's attitude handed over: the gyros are integrated every frame, with the
    // online drift correction on.
    auto& g = lib.globals();
    g.m_MC_NEP = Param2Matrix(POS_PARAM{0.5, 2.1, 0.7, 0});
    g.TARNC_GyroDriftCorrEnable = 1;
    g.TARNC_GyroDriftCorrInterval = 60;
  }

  // 512 frames of a tool at rest with a turning slot word.
  std::vector<std::uint8_t> ring(32768);
  for (std::size_t f = 0; f < 512; ++f) {
    tools::wire::tarnc::Frame frame;
    frame.ctrl = tools::wire::tarnc::controlWord(2, static_cast<std::uint8_t>(f % 7), false);
    frame.angle = 12;
    const std::int32_t raw[6] = {30000, -21000, 14000, -250000, 120000, -1700000};
    for (int k = 0; k < 6; ++k) frame.raw[k] = raw[k] + static_cast<std::int32_t>(f % 13);
    frame.slotWord = f % 7 < 5 ? 6000 : 0;
    tools::wire::tarnc::encodeFrame(frame, &ring[f * 64]);
  }
  std::vector<float> rows(25 * 64);
  std::int64_t frames = 0;
  std::uint32_t at = 0;
  for (auto _ : state) {
    float* p = rows.data() + (frames % 64) * 25;
    family.processData(ring, at, 0, &p, rows.data(), rows.data() + rows.size() - 1, {});
    at = (at + 64) & 32767;
    ++frames;
  }
  benchmark::DoNotOptimize(rows.data());
  family.CloseTARN_C_DLLRawDataFile();
  std::filesystem::remove_all(dir);
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK_CAPTURE(decode, calibrated, false, false);
BENCHMARK_CAPTURE(decode, calibrated_with_raw_stream, true, false);
BENCHMARK_CAPTURE(decode, integrating_from_a_station, false, true);
BENCHMARK_MAIN();
