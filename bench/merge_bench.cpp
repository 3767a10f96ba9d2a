// Merging two 1,000,000-row files of 20 channels each, beside a plain read-and-write copy
// of the same bytes through the same file port. Both report rows per second (merged rows
// for the merge, input rows for the copy) and bytes per second.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "common/datafile/CFileManager.h"
#include "common/datafile/PosixFiles.h"
#include "common/datafile/SampleRing.h"
#include "common/records/ChannelStruct.h"
#include "common/records/JobRecord.h"
#include "common/records/SysParameter.h"
#include "common/records/SystemMode.h"
#include "kvr/utilities/BatchPrompter.h"
#include "kvr/utilities/CMergeKvr.h"

namespace {

constexpr std::size_t kRows = 1000000;
constexpr std::uint32_t kChannels = 20;

std::filesystem::path folder() {
  static const auto dir = [] {
    auto d = std::filesystem::temp_directory_path() / "varexa_bench_merge";
    std::filesystem::create_directories(d);
    return d;
  }();
  return dir;
}

// A down log whose depths step by 0.1 from `start`.
void writeFile(const std::filesystem::path& file, const char* toolName, std::uint32_t code, float start) {
  kvr::PosixFileSystem fs;
  kvr::CFileManager fm(fs);
  fm.createOutputFile(file.parent_path(), file.stem().string());
  records::ToolEntry tool;
  tool.name = toolName;
  tool.toolCode = code;
  tool.setKind(1);
  records::ChannelList channels = records::surfaceChannels(false);
  for (std::uint32_t i = 0; channels.size() < kChannels; ++i)
    channels.push_back({std::string(toolName) + std::to_string(i), "U", 6, i, code});
  int r = fm.writeToolList({tool});
  r |= fm.writeChannelList(channels);
  r |= fm.writeParameterBlock({});
  r |= fm.writeDirection(kvr::kLogDown);
  r |= fm.writeMainSystemParameters(records::defaultSystemParameters(records::kDefaultModeWord));
  r |= fm.writeJobRecord(records::JobRecord{});
  kvr::SampleRing ring;
  ring.allocate(kChannels);
  for (std::size_t k = 0; k < kRows; ++k) {
    float* row = ring.data() + ring.write();
    row[0] = start + 0.1f * static_cast<float>(k);
    for (std::uint32_t c = 1; c < kChannels; ++c) row[c] = static_cast<float>(k % 1000) + c;
    ring.setWrite(ring.advance(ring.write(), kChannels));
    if (ring.distance(ring.flushed(), ring.write()) >= (kvr::SampleRing::kRows - 1) * kChannels) r |= fm.flushRows(ring);
  }
  r |= fm.closeOutput(ring);
  if (r != 0) throw std::runtime_error("benchmark input not written");
}

const std::filesystem::path& inputA() {
  static const auto p = [] {
    auto f = folder() / "A.kvr";
    writeFile(f, "BRIX", 210, 1000);
    return f;
  }();
  return p;
}

const std::filesystem::path& inputB() {
  static const auto p = [] {
    auto f = folder() / "B.kvr";
    writeFile(f, "DUNE", 230, 1000.05f);  // within the pairing tolerance of A's rows
    return f;
  }();
  return p;
}

void BM_Merge(benchmark::State& state) {
  const auto a = inputA(), b = inputB();
  kvr::PosixFileSystem fs;
  std::ostringstream messages;
  kvr::utilities::BatchPrompter prompter(messages);
  const auto out = folder() / "merged.kvr";
  for (auto _ : state) {
    kvr::utilities::CMergeKvr merge(prompter, fs, [] { return folder(); }, [] { return false; });
    merge.choose(0, a);
    merge.choose(1, b);
    merge.suffix = "_2";
    merge.outputFile = out;
    if (!merge.proceed()) state.SkipWithError(messages.str().c_str());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kRows));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(std::filesystem::file_size(a) + std::filesystem::file_size(b)));
  std::filesystem::remove(out);
}

void BM_CopySameBytes(benchmark::State& state) {
  const auto a = inputA(), b = inputB();
  kvr::PosixFileSystem fs;
  const auto out = folder() / "copy.bin";
  std::vector<std::uint8_t> buffer(1 << 20);
  for (auto _ : state) {
    auto o = fs.createOutput(out);
    for (const auto& file : {a, b}) {
      auto in = fs.openInput(file);
      for (std::size_t n; (n = in->read(buffer.data(), buffer.size())) > 0;) o->write(buffer.data(), n);
    }
    o->close();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kRows));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(std::filesystem::file_size(a) + std::filesystem::file_size(b)));
  std::filesystem::remove(out);
}

BENCHMARK(BM_CopySameBytes)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Merge)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_CopySameBytes)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
