// Parsing the panel's telemetry against a bare table-driven CRC pass over the same bytes:
// a clean stream and one with 1% of its bytes corrupted.

#include <benchmark/benchmark.h>

#include "kvr/link/Crc16.h"
#include "kvr/link/PPort.h"
#include "panelsim/PanelSimulator.h"
#include "platform/testing/ManualLoop.h"
#include "usbxp/ScriptedBackend.h"

namespace {

// Ten minutes of a BRIX + DUNE + SEVO string (9000 frames), as the panel sends it.
std::vector<std::uint8_t> telemetry(double corrupt) {
  platform::testing::ManualLoop loop;
  panelsim::SimConfig c;
  c.toolCodes = {210, 230, 232};
  c.discoveryFrames = 0;
  c.faults.corruptBytes = corrupt;
  panelsim::PanelSimulator sim(c, loop.clock());
  const std::uint8_t enable[] = {0x0A, 0x08, 0x1E, 0x06, 0x03, 0xFE, 0x01, 0x00, 0x50, 0xBE, 0x0B};
  const std::uint16_t crc = kvr::Crc16::of(std::array<std::uint8_t, 4>{0x03, 0xFE, 0x02, 0x00}.data(), 4);
  const std::uint8_t read[] = {0x0A, 0x08, 0x1E, 0x06, 0x03, 0xFE, 0x02, 0x00, static_cast<std::uint8_t>(crc >> 8),
                               static_cast<std::uint8_t>(crc), 0x0B, 0x0A, 0x01, 0x0A, 0x0B};
  sim.hostWrite(enable, sizeof enable);
  sim.hostWrite(read, sizeof read);
  std::vector<std::uint8_t> out;
  std::uint8_t buf[4096];
  for (int s = 0; s < 600; ++s) {
    loop.advance(1000);
    while (std::size_t n = sim.hostRead(buf, sizeof buf)) out.insert(out.end(), buf, buf + n);
  }
  return out;
}

const std::vector<std::uint8_t>& stream(bool corrupted) {
  static const auto clean = telemetry(0), dirty = telemetry(0.01);
  return corrupted ? dirty : clean;
}

void BM_Parse(benchmark::State& state) {
  const auto& bytes = stream(state.range(0) != 0);
  platform::testing::ManualLoop loop;
  usbxp::ScriptedBackend lib;
  kvr::CUSBPort usb(lib);
  kvr::FrameRing frames;
  kvr::PPort port(usb, loop.clock(), frames);
  usb.Open();
  const std::uint8_t addresses[] = {210, 211, 230, 232, 233};
  port.setExpectedAddresses(addresses);
  port.setMinimumFrameLength(22 + 9 + 8 + 20);
  port.setFrameDataBytes(27);
  port.Read();  // the read request
  std::uint64_t frameCount = 0;
  for (auto _ : state) {
    const std::uint32_t before = port.goodFrames();
    // The acquisition thread's reads come in pieces of at most 1000 bytes.
    for (std::size_t at = 0; at < bytes.size(); at += 1000) {
      lib.queue(bytes.data() + at, std::min<std::size_t>(1000, bytes.size() - at));
      port.Read();
      port.Parse();
      frames.setRead(frames.write());
    }
    frameCount += port.goodFrames() - before;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
  state.counters["good_frames/s"] = benchmark::Counter(static_cast<double>(frameCount), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Parse)->Arg(0)->Arg(1)->ArgNames({"corrupted"})->Unit(benchmark::kMillisecond);

void BM_BareCrc(benchmark::State& state) {
  const auto& bytes = stream(state.range(0) != 0);
  for (auto _ : state) benchmark::DoNotOptimize(kvr::Crc16::of(bytes.data(), bytes.size()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_BareCrc)->Arg(0)->Arg(1)->ArgNames({"corrupted"})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
