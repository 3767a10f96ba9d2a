// Rows through CFileManager (ring flush, then reading whole rows back) beside a plain
// fwrite / fread of the same bytes in the same pieces, on files in the temp folder.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <vector>

#include "common/datafile/CFileManager.h"
#include "common/datafile/PosixFiles.h"

namespace {

constexpr std::size_t kWidth = 64;          // floats per row
constexpr std::size_t kRowsPerFlush = 250;  // one flush: 64 KB
constexpr std::size_t kFlushes = 256;       // one pass: 16 MB
constexpr std::size_t kReadRows = 1000;     // read buffer: 256 KB
constexpr std::size_t kPassBytes = kWidth * kRowsPerFlush * kFlushes * sizeof(float);

std::filesystem::path scratch(const char* name) {
  return std::filesystem::temp_directory_path() / (std::string("bench_datafile_") + std::to_string(::getpid()) + name);
}

void fillRing(kvr::SampleRing& ring) {
  ring.allocate(kWidth);
  for (std::size_t i = 0; i < ring.size(); ++i) ring.data()[i] = static_cast<float>(i) * 0.5f;
}

void writeWithManager(kvr::CFileManager& fm, kvr::SampleRing& ring, const std::filesystem::path& folder) {
  fm.createOutputFile(folder, "bench");
  for (std::size_t f = 0; f < kFlushes; ++f) {
    ring.setWrite(ring.advance(ring.write(), kRowsPerFlush * kWidth));  // wraps every fourth flush
    if (fm.flushRows(ring) != 0) std::abort();
  }
  fm.closeOutput(ring);
}

std::size_t readWithManager(kvr::CFileManager& fm, const std::filesystem::path& file, std::vector<float>& buf) {
  fm.openInput(file);
  std::size_t rows = 0, got = 0;
  while ((got = fm.readWholeRows(buf, kWidth)) > 0) rows += got;
  fm.closeInput();
  return rows;
}

void writePlain(const std::filesystem::path& file, const kvr::SampleRing& ring) {
  std::FILE* f = std::fopen(file.c_str(), "wb");
  std::size_t pos = 0;
  for (std::size_t k = 0; k < kFlushes; ++k) {
    const std::size_t n = kRowsPerFlush * kWidth;
    const std::size_t first = std::min(n, ring.size() - pos);
    std::fwrite(ring.data() + pos, sizeof(float), first, f);
    if (first < n) std::fwrite(ring.data(), sizeof(float), n - first, f);
    pos = (pos + n) % ring.size();
  }
  std::fclose(f);
}

std::size_t readPlain(const std::filesystem::path& file, std::vector<float>& buf) {
  std::FILE* f = std::fopen(file.c_str(), "rb");
  std::size_t values = 0, got = 0;
  while ((got = std::fread(buf.data(), sizeof(float), buf.size(), f)) > 0) values += got;
  std::fclose(f);
  return values / kWidth;
}

void BM_FlushRows(benchmark::State& state) {
  kvr::PosixFileSystem fs;
  kvr::CFileManager fm(fs);
  kvr::SampleRing ring;
  fillRing(ring);
  const auto folder = std::filesystem::temp_directory_path();
  for (auto _ : state) writeWithManager(fm, ring, folder);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kPassBytes));
  std::filesystem::remove(fm.lastFilePath());
}

void BM_PlainFwrite(benchmark::State& state) {
  kvr::SampleRing ring;
  fillRing(ring);
  const auto file = scratch("plain.bin");
  for (auto _ : state) writePlain(file, ring);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kPassBytes));
  std::filesystem::remove(file);
}

void BM_ReadRows(benchmark::State& state) {
  kvr::PosixFileSystem fs;
  kvr::CFileManager fm(fs);
  kvr::SampleRing ring;
  fillRing(ring);
  const auto folder = scratch("read");
  std::filesystem::create_directories(folder);
  writeWithManager(fm, ring, folder);
  std::vector<float> buf(kReadRows * kWidth);
  for (auto _ : state) benchmark::DoNotOptimize(readWithManager(fm, fm.lastFilePath(), buf));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kPassBytes));
  std::filesystem::remove_all(folder);
}

void BM_PlainFread(benchmark::State& state) {
  kvr::SampleRing ring;
  fillRing(ring);
  const auto file = scratch("plainread.bin");
  writePlain(file, ring);
  std::vector<float> buf(kReadRows * kWidth);
  for (auto _ : state) benchmark::DoNotOptimize(readPlain(file, buf));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kPassBytes));
  std::filesystem::remove(file);
}

// Write then read back: the whole road of a log's rows.
void BM_RoundTripManager(benchmark::State& state) {
  kvr::PosixFileSystem fs;
  kvr::CFileManager fm(fs);
  kvr::SampleRing ring;
  fillRing(ring);
  const auto folder = scratch("trip");
  std::filesystem::create_directories(folder);
  std::vector<float> buf(kReadRows * kWidth);
  for (auto _ : state) {
    writeWithManager(fm, ring, folder);
    benchmark::DoNotOptimize(readWithManager(fm, fm.lastFilePath(), buf));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kPassBytes));
  std::filesystem::remove_all(folder);
}

void BM_RoundTripPlain(benchmark::State& state) {
  kvr::SampleRing ring;
  fillRing(ring);
  const auto file = scratch("trip.bin");
  std::vector<float> buf(kReadRows * kWidth);
  for (auto _ : state) {
    writePlain(file, ring);
    benchmark::DoNotOptimize(readPlain(file, buf));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kPassBytes));
  std::filesystem::remove(file);
}

}  // namespace

BENCHMARK(BM_FlushRows)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainFwrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadRows)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainFread)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RoundTripManager)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RoundTripPlain)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
