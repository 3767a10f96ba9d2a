#include <gtest/gtest.h>

#include "RawLayout.h"
#include "SampleLog.h"
#include "common/datafile/MemoryFiles.h"

using kvr::CFileManager;
using kvr::DataFileSummary;

namespace {

// The sample log with `rows` rows whose column 0 runs 1500.0, 1499.9, ...
raw::Bytes sampleFile(int rows, std::uint8_t direction = kvr::kLogUp) {
  kvr::MemoryFileSystem fs;
  CFileManager fm(fs);
  sample::Log log = sample::log();
  log.direction = direction;
  EXPECT_EQ(fm.createOutputFile("s", "F"), 0);
  EXPECT_EQ(sample::writeStatic(fm, log), 0);
  kvr::SampleRing ring;
  ring.allocate(log.channels.size());
  for (int r = 0; r < rows; ++r) {
    for (std::size_t c = 0; c < ring.rowWidth(); ++c)
      ring.data()[r * ring.rowWidth() + c] = c == 0 ? 1500.0f - 0.1f * r : static_cast<float>(c);
  }
  ring.setWrite(rows * ring.rowWidth());
  EXPECT_EQ(fm.closeOutput(ring), 0);
  return fs.file("s/F.kvr");
}

struct Reading {
  kvr::MemoryFileSystem fs;
  CFileManager fm{fs};
  explicit Reading(raw::Bytes b) {
    fs.setFile("in.kvr", std::move(b));
    EXPECT_EQ(fm.openInput("in.kvr"), 0);
  }
};

// The documented reading order, returning the first failure.
int readAll(CFileManager& fm, std::vector<std::vector<records::ToolParameterS>>& blocks) {
  records::ToolList tools;
  records::ChannelList channels;
  if (int r = fm.readToolList(tools)) return r;
  if (int r = fm.readChannelList(channels)) return r;
  for (auto& b : blocks)
    if (int r = fm.readParameterBlock(b)) return r;
  std::uint8_t d = 0;
  if (int r = fm.readDirection(d)) return r;
  std::vector<records::SysParameterS> sys;
  if (int r = fm.readMainSystemParameters(sys)) return r;
  records::JobRecord job;
  if (int r = fm.readJobRecord(job)) return r;
  DataFileSummary s;
  return fm.summaryCheck(kvr::kSectionRows, s);
}

std::vector<std::vector<records::ToolParameterS>> expectedBlocks() { return {std::vector<records::ToolParameterS>(3), {}}; }

}  // namespace

TEST(DataFileRead, ReadsBackWhatWasWritten) {
  Reading in(sampleFile(300));
  const sample::Log log = sample::log();
  records::ToolList tools;
  records::ChannelList channels;
  ASSERT_EQ(in.fm.readToolList(tools), 0);
  EXPECT_EQ(tools, log.tools);
  ASSERT_EQ(in.fm.readChannelList(channels), 0);
  EXPECT_EQ(channels, log.channels);
  auto blocks = expectedBlocks();
  ASSERT_EQ(in.fm.readParameterBlock(blocks[0]), 0);
  EXPECT_EQ(blocks[0], log.parameters[0]);
  ASSERT_EQ(in.fm.readParameterBlock(blocks[1]), 0);
  std::uint8_t direction = 9;
  ASSERT_EQ(in.fm.readDirection(direction), 0);
  EXPECT_EQ(direction, kvr::kLogUp);
  std::vector<records::SysParameterS> sys(11);
  ASSERT_EQ(in.fm.readMainSystemParameters(sys), 0);
  EXPECT_EQ(sys[0], log.system[0]);
  EXPECT_EQ(records::getStartStamp(sys[2]).year, 2024);
  records::JobRecord job;
  ASSERT_EQ(in.fm.readJobRecord(job), 0);
  EXPECT_EQ(job, log.job);

  DataFileSummary s;
  ASSERT_EQ(in.fm.summaryCheck(kvr::kSectionRows, s), 0);
  EXPECT_EQ(s.direction, kvr::kLogUp);
  EXPECT_EQ(s.firstValue, 1500.0f);
  EXPECT_EQ(s.lastValue, 1500.0f - 0.1f * 299);
  EXPECT_EQ(s.wholeRows, 300u);
  EXPECT_EQ(s.parameterCounts, (std::vector<std::uint32_t>{3, 0}));
  EXPECT_EQ(in.fm.inputPosition(), sample::kStaticBytes);

  std::vector<float> rows(15 * 400);
  EXPECT_EQ(in.fm.readWholeRows(rows, 15), 300u);
  EXPECT_EQ(rows[15 * 299], 1500.0f - 0.1f * 299);
  EXPECT_EQ(rows[15 * 299 + 14], 14.0f);
}

TEST(DataFileRead, SummaryPositionsAtTheSectionAskedFor) {
  raw::Bytes b = sampleFile(5);
  const raw::Sections raw = raw::walk(b);
  const std::pair<int, std::size_t> cases[] = {
      {1, raw.tools}, {2, raw.channels}, {3, raw.parameters}, {4, raw.direction},
      {5, raw.mainParameters}, {6, raw.job}, {7, raw.rows},
  };
  Reading in(b);
  DataFileSummary s;
  for (auto [section, at] : cases) {
    ASSERT_EQ(in.fm.summaryCheck(section, s), 0) << section;
    EXPECT_EQ(in.fm.inputPosition(), at) << "section " << section;
  }
  // Any other number returns to where the file stood.
  records::ToolList tools;
  in.fm.summaryCheck(1, s);
  ASSERT_EQ(in.fm.readToolList(tools), 0);
  for (int other : {0, 8, -1}) {
    ASSERT_EQ(in.fm.summaryCheck(other, s), 0);
    EXPECT_EQ(in.fm.inputPosition(), raw.channels) << other;
  }
}

// Each count or length pair broken on one side: the integrity result from the section
// reader and from the summary check.
TEST(DataFileRead, CountsThatDisagreeAreIntegrityFailures) {
  const raw::Bytes good = sampleFile(4);
  const raw::Sections s = raw::walk(good);
  struct Case { const char* what; std::size_t at; std::uint32_t value; };
  const Case cases[] = {
      {"tool list trailing count", s.channels - 4, 2},
      {"channel list trailing count", s.parameters - 4, 14},
      {"channel list leading count", s.channels, 14},
      {"parameter block trailing count", s.blockStarts[0] + 4 + 3 * 388, 4},
      {"empty block trailing count", s.blockStarts[1] + 4, 1},
      {"main parameters leading length", s.mainParameters, 351},
      {"main parameters trailing length", s.job - 4, 353},
      {"job record leading length", s.job, 1641},
      {"job record trailing length", s.rows - 4, 0},
      // A column outside the row would read another channel's values (u32 sums wrap).
      {"channel index that wraps", s.channels + 4 + 56 + 44, 0xFFFFFFFFu},
      {"channel column past the row", s.channels + 4 + 40, 1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    raw::Bytes b = good;
    raw::putU32(b, c.at, c.value);
    {
      Reading in(b);
      auto blocks = expectedBlocks();
      EXPECT_EQ(readAll(in.fm, blocks), -2);
    }
    Reading in(b);
    DataFileSummary sum;
    EXPECT_EQ(in.fm.summaryCheck(kvr::kSectionRows, sum), -2);
    EXPECT_EQ(in.fm.inputPosition(), 0u);  // left where it stood
  }
}

TEST(DataFileRead, DirectionBytesMustAgree) {
  raw::Bytes b = sampleFile(2);
  const raw::Sections s = raw::walk(b);
  b[s.direction + 2] = 0;
  Reading in(b);
  auto blocks = expectedBlocks();
  EXPECT_EQ(readAll(in.fm, blocks), -2);
  DataFileSummary sum;
  EXPECT_EQ(in.fm.summaryCheck(4, sum), -2);
}

TEST(DataFileRead, ParameterListOfAnotherLengthFailsAndLeavesTheArray) {
  Reading in(sampleFile(1));
  records::ToolList tools;
  records::ChannelList channels;
  ASSERT_EQ(in.fm.readToolList(tools), 0);
  ASSERT_EQ(in.fm.readChannelList(channels), 0);
  std::vector<records::ToolParameterS> mine(4);
  mine[0].mnemonic = "KEEP";
  EXPECT_EQ(in.fm.readParameterBlock(mine), -2);
  EXPECT_EQ(mine[0].mnemonic, "KEEP");
}

TEST(DataFileRead, NoWholeRowFailsAfterPositioning) {
  for (std::size_t extra : {std::size_t{0}, std::size_t{4}, std::size_t{59}}) {
    raw::Bytes b = sampleFile(0);
    b.resize(b.size() + extra, 0x41);
    Reading in(b);
    DataFileSummary s;
    EXPECT_EQ(in.fm.summaryCheck(kvr::kSectionJobRecord, s), -1) << extra;
    EXPECT_EQ(in.fm.inputPosition(), raw::walk(b).job) << extra;
    EXPECT_EQ(s.wholeRows, 0u);
  }
}

// A row cut short at the end: the last value is column 0 of the last whole row, not a value
// shifted into column 0, and the row readers stop before the incomplete row.
TEST(DataFileRead, TruncatedLastRowIsLeftOut) {
  raw::Bytes b = sampleFile(10);
  b.resize(b.size() - 7);
  Reading in(b);
  DataFileSummary s;
  ASSERT_EQ(in.fm.summaryCheck(kvr::kSectionRows, s), 0);
  EXPECT_EQ(s.wholeRows, 9u);
  EXPECT_EQ(s.trailingBytes, 60u - 7u);
  EXPECT_EQ(s.lastValue, 1500.0f - 0.1f * 8);
  std::vector<float> rows(15 * 20);
  EXPECT_EQ(in.fm.readWholeRows(rows, 15), 9u);
  EXPECT_EQ(in.fm.readWholeRows(rows, 15), 0u);
  std::size_t got = 0;
  EXPECT_EQ(in.fm.readRows(std::span<float>(rows.data(), 15), got), -1);
  EXPECT_EQ(got, 13u);  // the whole values of the cut row
}

TEST(DataFileRead, StationFileFirstValueIsTheFirstRow) {
  Reading in(sampleFile(3, kvr::kLogStation));
  DataFileSummary s;
  ASSERT_EQ(in.fm.summaryCheck(kvr::kSectionRows, s), 0);
  EXPECT_EQ(s.direction, kvr::kLogStation);
  EXPECT_EQ(s.firstValue, 1500.0f);
  EXPECT_EQ(s.lastValue, 1500.0f - 0.2f);
}

TEST(DataFileRead, GarbageNextFieldsAreIgnored) {
  raw::Bytes b = sampleFile(1);
  const raw::Sections s = raw::walk(b);
  for (std::size_t i = 0; i < 3; ++i) raw::putU32(b, 4 + 56 * i + 52, 0xDEADBEEF);
  for (std::size_t i = 0; i < 15; ++i) raw::putU32(b, s.channels + 4 + 56 * i + 52, 0x12345678u + i);
  Reading in(b);
  records::ToolList tools;
  records::ChannelList channels;
  ASSERT_EQ(in.fm.readToolList(tools), 0);
  ASSERT_EQ(in.fm.readChannelList(channels), 0);
  EXPECT_EQ(tools, sample::log().tools);
  EXPECT_EQ(channels, sample::log().channels);
}

// Hostile counts must be refused before anything is allocated for them.
TEST(DataFileRead, HugeCountsAreShortReads) {
  const raw::Bytes good = sampleFile(1);
  const raw::Sections s = raw::walk(good);
  for (std::size_t at : {std::size_t{0}, s.channels, s.blockStarts[0]}) {
    raw::Bytes b = good;
    raw::putU32(b, at, 0xFFFFFFFFu);
    Reading in(b);
    DataFileSummary sum;
    EXPECT_EQ(in.fm.summaryCheck(kvr::kSectionRows, sum), -1) << at;
    in.fm.summaryCheck(0, sum);
    auto blocks = expectedBlocks();
    const int r = readAll(in.fm, blocks);
    EXPECT_TRUE(r == -1 || r == -2) << at;
  }
  raw::Bytes b = good;
  raw::putU32(b, s.blockStarts[0], 0xFFFFFFFFu);
  Reading in(b);
  records::ToolList tools;
  records::ChannelList channels;
  ASSERT_EQ(in.fm.readToolList(tools), 0);
  ASSERT_EQ(in.fm.readChannelList(channels), 0);
  std::vector<records::ToolParameterS> block;
  EXPECT_EQ(in.fm.readStoredParameterBlock(block), -1);
  EXPECT_TRUE(block.empty());
}

// Cut anywhere inside the static data, the file is a read failure for every reader.
TEST(DataFileRead, TruncatedStaticDataIsAReadFailure) {
  const raw::Bytes good = sampleFile(2);
  for (std::size_t size = 0; size < sample::kStaticBytes + 60; ++size) {
    raw::Bytes b(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    Reading in(b);
    DataFileSummary s;
    ASSERT_EQ(in.fm.summaryCheck(kvr::kSectionRows, s), -1) << size;
    in.fm.summaryCheck(0, s);
    auto blocks = expectedBlocks();
    ASSERT_EQ(readAll(in.fm, blocks), -1) << size;
  }
}

TEST(DataFileRead, MissingFileAndNoOpenFile) {
  kvr::MemoryFileSystem fs;
  CFileManager fm(fs);
  EXPECT_EQ(fm.openInput("nothing.kvr"), -1);
  records::ToolList tools;
  EXPECT_EQ(fm.readToolList(tools), -1);
  DataFileSummary s;
  EXPECT_EQ(fm.summaryCheck(7, s), -1);
  std::size_t got = 0;
  std::vector<float> v(3);
  EXPECT_EQ(fm.readRows(v, got), -1);
}
