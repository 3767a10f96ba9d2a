// Frames dispatched per second: one tool of each family in one string, and each family alone.
#include <benchmark/benchmark.h>

#include <vector>

#include "common/records/ToolCodes.h"
#include "kvr/core/CToolManager.h"
#include "kvr/core/PanelBlock.h"
#include "platform/testing/ScriptedPrompter.h"

namespace {

constexpr std::uint8_t kAll[] = {210, 220, 224, 227, 230, 232, 235, 240, 243, 252, 254};

struct Rig {
  tools::Library lib;
  platform::testing::ScriptedPrompter prompter;
  kvr::NoTaskPanels panels;
  kvr::FrameRing frames;
  kvr::CToolManager manager{lib, prompter, panels, frames};
  std::uint32_t frameBytes = 0;
  std::uint16_t counter = 0;
  double depth = 1000;

  explicit Rig(const std::vector<std::uint8_t>& codes) {
    records::ToolList list;
    for (auto code : codes) {
      records::ToolEntry e;
      e.name = "T";
      e.toolCode = code;
      e.lengthCm = 100;
      e.setKind(1);
      list.push_back(e);
    }
    manager.setToolList(list);
    manager.confirmString(10);
    manager.layoutFrameInStringOrder();
    frameBytes = manager.frameRingBytesPerFrame();
    manager.startLog(kvr::kLogDown, false, 0, 0);
  }

  // Fills the frame ring with a batch of frames moving down 0.02 m each (a kept row every
  // five frames at the 0.1 m step, with decoding, selection and shifts on every frame).
  void fill(int count) {
    std::vector<std::uint8_t> frame(frameBytes, 0x55);
    for (int i = 0; i < count; ++i) {
      depth += 0.02;
      const auto p = kvr::encodePanelBlock(kvr::panelBlockFrom(depth, ++counter, 1500, 180, 250, false));
      std::copy(p.begin(), p.end(), frame.end() - 12);
      frames.append(frame);
    }
  }
};

void dispatch(benchmark::State& state, std::vector<std::uint8_t> codes) {
  Rig rig(codes);
  // As many frames as the frame ring holds at once.
  const int batch = static_cast<int>((kvr::FrameRing::kSize - 1) / rig.frameBytes);
  std::int64_t frames = 0;
  for (auto _ : state) {
    state.PauseTiming();
    rig.fill(batch);
    state.ResumeTiming();
    const auto r = rig.manager.dispatchFrames();
    frames += r.frames;
    benchmark::DoNotOptimize(r);
  }
  state.SetItemsProcessed(frames);
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}

void BM_FullString(benchmark::State& s) { dispatch(s, {std::begin(kAll), std::end(kAll)}); }
BENCHMARK(BM_FullString);

void BM_OneFamily(benchmark::State& s) { dispatch(s, {static_cast<std::uint8_t>(s.range(0))}); }
BENCHMARK(BM_OneFamily)->ArgName("code")->Arg(210)->Arg(220)->Arg(224)->Arg(227)->Arg(230)->Arg(232)->Arg(235)->Arg(240)->Arg(243)->Arg(252)->Arg(254);

}  // namespace

BENCHMARK_MAIN();
