#include <gtest/gtest.h>

#include "RawLayout.h"
#include "SampleLog.h"
#include "common/datafile/FileMessages.h"
#include "common/datafile/MemoryFiles.h"
#include "common/datafile/PosixFiles.h"
#include "platform/testing/TempPaths.h"

using kvr::CFileManager;
using kvr::SampleRing;

namespace {

// Fills the ring with rows whose values say row and column (row * 100 + column).
void writeRows(SampleRing& ring, int firstRow, int rows) {
  for (int r = firstRow; r < firstRow + rows; ++r) {
    std::size_t p = ring.write();
    for (std::size_t c = 0; c < ring.rowWidth(); ++c) {
      ring.data()[p] = static_cast<float>(r * 100 + static_cast<int>(c));
      p = ring.advance(p, 1);
    }
    ring.setWrite(p);
  }
}

void expectRows(const raw::Bytes& file, std::size_t rowsStart, std::size_t width, int count) {
  ASSERT_EQ(file.size(), rowsStart + static_cast<std::size_t>(count) * width * 4);
  for (int r = 0; r < count; ++r) {
    for (std::size_t c = 0; c < width; ++c) {
      const float v = raw::f32(file, rowsStart + (r * width + c) * 4);
      ASSERT_EQ(v, static_cast<float>(r * 100 + static_cast<int>(c))) << "row " << r << " column " << c;
    }
  }
}

}  // namespace

// Writes a real file through the POSIX port and checks every section with the raw reader.
TEST(DataFileWrite, EverySectionAtItsDocumentedPlace) {
  platform::testing::TempPaths paths;
  kvr::PosixFileSystem fs;
  CFileManager fm(fs);
  const sample::Log log = sample::log();
  ASSERT_EQ(fm.nextFileNumber(paths.base()), 0);
  ASSERT_EQ(fm.createOutputFile(paths.base(), CFileManager::logFileName(log.tools, log.direction, false)), 0);
  ASSERT_EQ(sample::writeStatic(fm, log), 0);
  SampleRing ring;
  ring.allocate(log.channels.size());
  writeRows(ring, 0, 3);
  ASSERT_EQ(fm.closeOutput(ring), 0);

  auto bytes = fs.readText(fm.lastFilePath(), 1 << 20);
  ASSERT_TRUE(bytes);
  const raw::Bytes b(bytes->begin(), bytes->end());
  const raw::Sections s = raw::walk(b);

  // Section 1: the tool entries.
  ASSERT_EQ(s.toolCount, 3u);
  EXPECT_EQ(raw::text(b, 4, 12), "BRIX");
  EXPECT_EQ(raw::u32(b, 4 + 24), 210u);
  EXPECT_EQ(raw::u32(b, 4 + 48), (17u << 6) | 1u);
  EXPECT_EQ(raw::f32(b, 4 + 32), 180.5f);
  EXPECT_EQ(raw::text(b, 4 + 56, 12), "**CENTRAL");
  EXPECT_EQ(raw::u32(b, 4 + 56 + 48), 4u);
  EXPECT_EQ(raw::text(b, 4 + 112, 12), "DUNE");
  EXPECT_EQ(raw::u32(b, 4 + 112 + 48), (321u << 6) | 1u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(raw::u32(b, 4 + 56 * i + 52), 0u) << "next of tool " << i;

  // Section 2: the channel entries.
  EXPECT_EQ(s.channels, 4u + 3 * 56 + 4);
  ASSERT_EQ(s.channelCount, 15u);
  const std::size_t ch = s.channels + 4;
  EXPECT_EQ(raw::text(b, ch, 20), "DEPTH");
  EXPECT_EQ(raw::text(b, ch + 20, 20), "M");
  EXPECT_EQ(raw::text(b, ch + 56 * 5, 20), "UHCURR");
  EXPECT_EQ(raw::u32(b, ch + 56 * 5 + 48), 253u);
  EXPECT_EQ(raw::text(b, ch + 56 * 6 + 0, 20), "CCL");
  EXPECT_EQ(raw::u32(b, ch + 56 * 12 + 40), 11u);
  EXPECT_EQ(raw::u32(b, ch + 56 * 12 + 44), 1u);
  EXPECT_EQ(raw::u32(b, ch + 56 * 12 + 48), 230u);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(raw::u32(b, ch + 56 * i + 52), 0u);

  // Section 3: a block of three for the BRIX, an empty one for the DUNE, none for the accessory.
  ASSERT_EQ(s.blockStarts.size(), 2u);
  EXPECT_EQ(raw::u32(b, s.blockStarts[0]), 3u);
  EXPECT_EQ(raw::text(b, s.blockStarts[0] + 4, 10), "GAIN");
  EXPECT_EQ(raw::text(b, s.blockStarts[0] + 4 + 388 + 0, 10), "THRESH");
  EXPECT_EQ(raw::f32(b, s.blockStarts[0] + 4 + 92), 2.5f);
  EXPECT_EQ(b[s.blockStarts[0] + 4 + 106], 4);
  EXPECT_EQ(b[s.blockStarts[0] + 4 + 107], 210);
  EXPECT_EQ(raw::u32(b, s.blockStarts[1]), 0u);
  EXPECT_EQ(raw::u32(b, s.blockStarts[1] + 4), 0u);

  // Section 4: three equal direction bytes.
  EXPECT_EQ(b[s.direction], 1);
  EXPECT_EQ(b[s.direction + 1], 1);
  EXPECT_EQ(b[s.direction + 2], 1);

  // Section 5: SVYMODE with the mode word as its value, the start stamp in SIMSTARTD.
  const std::size_t sys = s.mainParameters + 4;
  EXPECT_EQ(raw::text(b, sys, 10), "SVYMODE");
  EXPECT_EQ(raw::f32(b, sys + 92), 10.0f);
  EXPECT_EQ(raw::text(b, sys + 352, 10), "SIMDEPTH");
  EXPECT_EQ(raw::text(b, sys + 2 * 352, 10), "SIMSTARTD");
  const float stamp[] = {8, 30, 15, 4, 3, 2024, 1500};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(raw::f32(b, sys + 2 * 352 + 312 + 4 * i), stamp[i]) << "slot " << i;
  EXPECT_EQ(raw::text(b, sys + 3 * 352, 10), "SIMSPEED");
  EXPECT_EQ(raw::f32(b, sys + 3 * 352 + 92), 10.0f);

  // Section 6: the job record.
  const std::size_t job = s.job + 4;
  EXPECT_EQ(raw::text(b, job, 50), "Ann");
  EXPECT_EQ(raw::text(b, job + 50, 50), "Acme Oil");
  EXPECT_EQ(raw::text(b, job + 100, 50), "W-7");
  EXPECT_EQ(raw::u32(b, job + 424), 2u);
  EXPECT_EQ(raw::text(b, job + 860 + 11 * 65, 65), "last remark");

  // Section 7: the rows.
  EXPECT_EQ(s.rows, sample::kStaticBytes);
  expectRows(b, s.rows, 15, 3);
}

TEST(DataFileWrite, FlushFollowsTheRingAcrossItsEnd) {
  kvr::MemoryFileSystem fs;
  CFileManager fm(fs);
  ASSERT_EQ(fm.createOutputFile("s", "F"), 0);
  SampleRing ring;
  ring.allocate(3);
  int written = 0;
  // 400 rows at a time: the third batch wraps, the fifth ends exactly on the ring's end.
  for (int batch = 0; batch < 5; ++batch) {
    writeRows(ring, written, 400);
    written += 400;
    ASSERT_EQ(fm.flushRows(ring), 0);
    EXPECT_EQ(ring.flushed(), ring.write());
  }
  EXPECT_EQ(ring.write(), 0u);
  EXPECT_EQ(fm.flushRows(ring), 0);  // nothing new: nothing written
  ASSERT_EQ(fm.closeOutput(ring), 0);
  expectRows(fs.file("s/F.kvr"), 0, 3, written);
}

// A full disk in the middle of a row: the flush fails, logging goes on, and once space
// returns every row reaches the file exactly once and in order, wherever the write stopped.
TEST(DataFileWrite, ShortWriteLosesNoRowAndWritesNoneTwice) {
  for (std::size_t space = 0; space <= 4 * 5 * 4 + 1; ++space) {
    SCOPED_TRACE("space left " + std::to_string(space));
    kvr::MemoryFileSystem fs;
    CFileManager fm(fs);
    ASSERT_EQ(fm.createOutputFile("s", "F"), 0);
    SampleRing ring;
    ring.allocate(5);
    writeRows(ring, 0, 998);
    ASSERT_EQ(fm.flushRows(ring), 0);

    writeRows(ring, 998, 4);  // wraps: two rows before the ring's end, two after
    fs.setSpaceLeft(space);
    const int first = fm.flushRows(ring);
    EXPECT_EQ(first, space >= 4 * 5 * 4 ? 0 : -1);
    writeRows(ring, 1002, 3);
    EXPECT_EQ(fm.flushRows(ring), -1);  // still full
    fs.setSpaceLeft(std::nullopt);
    writeRows(ring, 1005, 2);
    ASSERT_EQ(fm.flushRows(ring), 0);
    ASSERT_EQ(fm.closeOutput(ring), 0);
    expectRows(fs.file("s/F.kvr"), 0, 5, 1007);
  }
}

TEST(DataFileWrite, StaticWriteFailuresAreReported) {
  const sample::Log log = sample::log();
  for (std::size_t space : {std::size_t{0}, std::size_t{100}, sample::kStaticBytes - 1}) {
    kvr::MemoryFileSystem fs;
    CFileManager fm(fs);
    ASSERT_EQ(fm.createOutputFile("s", "F"), 0);
    fs.setSpaceLeft(space);
    EXPECT_EQ(sample::writeStatic(fm, log), -1) << space;
  }
  kvr::MemoryFileSystem fs;
  CFileManager fm(fs);
  EXPECT_EQ(fm.writeToolList({}), -1);  // no output file
  SampleRing ring;
  ring.allocate(2);
  EXPECT_EQ(fm.flushRows(ring), -1);
  fs.refuse("s/F.kvr");
  EXPECT_EQ(fm.createOutputFile("s", "F"), -1);
  ASSERT_EQ(fm.createOutputFile("s", "G"), 0);
  EXPECT_EQ(fm.writeMainSystemParameters(std::vector<records::SysParameterS>(3)), -1);
  EXPECT_EQ(fm.writeParameterBlock({}), 0);
  EXPECT_EQ(fs.file("s/G.kvr"), (raw::Bytes{0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(DataFileWrite, MessagesOfTheCallers) {
  EXPECT_STREQ(kvr::kCreateOutputFailed.text,
               "Error while trying to open the output file\nRestart the program and check for enough disk space !");
  EXPECT_STREQ(kvr::kFlushFailed.title, "FATAL");
  EXPECT_STREQ(kvr::kFlushFailed.text,
               "Error while writting data to the output file\nRestart the program and check for enough disk space !");
  EXPECT_EQ(&kvr::readFailureMessage(-2), &kvr::kIntegrityFailed);
  EXPECT_EQ(&kvr::readFailureMessage(-1), &kvr::kReadFailed);
}
