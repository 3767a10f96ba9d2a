// LAS conversion: a 1,000,000-row, 40-channel depth log written as LAS text by the converter,
// beside a plain loop that only formats the same numbers with printf into a buffer.
// Counters: input rows per second and output MB per second.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "common/datafile/CFileManager.h"
#include "common/datafile/PosixFiles.h"
#include "common/datafile/SampleRing.h"
#include "common/records/SysParameter.h"
#include "kvr/utilities/LasWriter.h"

namespace {

constexpr std::size_t kRows = 1000000;
constexpr std::size_t kChannels = 40;
constexpr double kRowStep = 0.25;  // English high resolution

// A TextOutput that only counts, to see the converter without the disk.
class NullOutput final : public kvr::utilities::TextOutput {
 public:
  bool write(std::string_view b) override { return (bytes += b.size(), true); }
  bool patch(std::uint64_t, std::string_view) override { return true; }
  bool replacePrefix(std::uint64_t, std::string_view) override { return true; }
  bool close() override { return true; }
  std::uint64_t bytes = 0;
};

float sample(std::size_t row, std::size_t column) {
  return static_cast<float>(column * 97 % 5000) + static_cast<float>((row * 31 + column * 7) % 1000) * 0.37f;
}

struct Input {
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "varexa_bench_las";
  std::filesystem::path file;
  kvr::utilities::LasSource source;

  Input() {
    std::filesystem::create_directories(folder);
    kvr::PosixFileSystem fs;
    kvr::CFileManager files(fs);
    int r = files.createOutputFile(folder, "BENCH_DOWN");
    records::ToolList tools;
    r |= files.writeToolList(tools);
    records::ChannelList channels = records::surfaceChannels(true);
    for (std::uint32_t i = 0; channels.size() < kChannels; ++i)
      channels.push_back({"CH" + std::to_string(i), "UNIT", 6, i, 210});
    r |= files.writeChannelList(channels);
    r |= files.writeDirection(0);
    auto table = records::defaultSystemParameters(9);
    table[records::kSvyMode].value = 9;
    r |= files.writeMainSystemParameters(table);
    r |= files.writeJobRecord(records::JobRecord{});
    kvr::SampleRing ring;
    for (std::size_t at = 0; at < kRows;) {
      const std::size_t n = std::min<std::size_t>(kRows - at, kvr::SampleRing::kRows - 1);
      ring.allocate(kChannels);
      for (std::size_t i = 0; i < n; ++i) {
        float* row = ring.data() + i * kChannels;
        for (std::size_t c = 0; c < kChannels; ++c) row[c] = sample(at + i, c);
        row[0] = static_cast<float>(1000.0 + kRowStep * static_cast<double>(at + i));
        row[1] = 30.0f;  // line speed without spikes
      }
      ring.setWrite(n * kChannels);
      r |= files.flushRows(ring);
      at += n;
    }
    r |= files.closeOutput();
    file = files.lastFilePath();
    files.openInput(file);
    if (r != 0 || kvr::utilities::readSource(files, source) != 0) std::fprintf(stderr, "bench input not written\n");
  }
  ~Input() { std::filesystem::remove_all(folder); }
};

Input& input() {
  static Input in;
  return in;
}

kvr::utilities::LasJob job(double step) {
  kvr::utilities::LasJob j;
  const auto& s = input().source;
  for (std::size_t c = 0; c < s.channels.size(); ++c) j.channels.push_back(c);
  j.start = s.firstValue;
  j.step = step;
  j.lines = static_cast<std::int64_t>((s.lastValue - s.firstValue) / step + 0.5);
  j.sourceName = "BENCH_DOWN";
  j.fileId = "BENCH_DOWN.las";
  j.creationTime = "Thu, Jan 01, 2026 - 08:00:00";
  return j;
}

void convert(benchmark::State& state, double step, bool toFile) {
  auto& in = input();
  kvr::PosixFileSystem fs;
  const auto j = job(step);
  std::uint64_t bytes = 0, rows = 0;
  for (auto _ : state) {
    kvr::CFileManager files(fs);
    files.openInput(in.file);
    kvr::DataFileSummary summary;
    files.summaryCheck(kvr::kSectionRows, summary);
    kvr::utilities::LasWriter writer(in.source, j);
    kvr::utilities::LasWriteResult r;
    if (toFile) {
      kvr::utilities::PosixTextFiles text;
      auto out = text.create(in.folder / "BENCH_DOWN.las");
      r = writer.run(files, *out, {});
      out->close();
    } else {
      NullOutput out;
      r = writer.run(files, out, {});
    }
    bytes += r.bytesWritten;
    rows += r.rowsRead;
  }
  state.counters["rows/s"] = benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsRate);
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e6, benchmark::Counter::kIsRate);
}

// Every row becomes a line (step = recording step), written to a file and to nowhere.
void BM_ConvertEveryRowToFile(benchmark::State& s) { convert(s, kRowStep, true); }
void BM_ConvertEveryRowNoDisk(benchmark::State& s) { convert(s, kRowStep, false); }
// The dialog's default step for an English file, "1 ft": every fourth row.
void BM_ConvertDefaultStepToFile(benchmark::State& s) { convert(s, 1.0, true); }

// The same numbers and separators, formatted with snprintf into a buffer that is reused.
void BM_PrintfLoopSameNumbers(benchmark::State& state) {
  std::vector<char> buffer(1 << 20);
  std::uint64_t bytes = 0;
  for (auto _ : state) {
    std::size_t pos = 0;
    for (std::size_t r = 0; r < kRows; ++r) {
      if (pos + 2048 > buffer.size()) bytes += std::exchange(pos, 0);
      pos += static_cast<std::size_t>(std::snprintf(buffer.data() + pos, 64, "%0.2f", 1000.0 + kRowStep * r));
      for (std::size_t c = 0; c < kChannels; ++c) {
        const float v = c == 0 ? static_cast<float>(1000.0 + kRowStep * r) : c == 1 ? 30.0f : sample(r, c);
        pos += static_cast<std::size_t>(std::snprintf(buffer.data() + pos, 64, " %0.2f", static_cast<double>(v)));
      }
      buffer[pos++] = '\r';
      buffer[pos++] = '\n';
    }
    bytes += pos;
    benchmark::DoNotOptimize(buffer.data());
  }
  state.counters["rows/s"] = benchmark::Counter(static_cast<double>(kRows * state.iterations()), benchmark::Counter::kIsRate);
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e6, benchmark::Counter::kIsRate);
}

BENCHMARK(BM_ConvertEveryRowToFile)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ConvertEveryRowNoDisk)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ConvertDefaultStepToFile)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_PrintfLoopSameNumbers)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
