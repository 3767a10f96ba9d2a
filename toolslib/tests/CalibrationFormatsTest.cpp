// The calibration transfer frames and the sensor correction table: round trips, and the
// damaged or malformed inputs each is refused for.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "toolslib/Library.h"
#include "toolslib/calibration/CalibrationKit.h"
#include "toolslib/calibration/SctTable.h"
#include "toolslib/calibration/TransferFrame.h"
#include "toolslib/families/TarnB.h"

namespace tools::cal {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(TransferFrames, ABlockSurvivesAnyFrameSizeAndOrder) {
  for (std::size_t dataBytes : {5u, 16u, 24u}) {
    for (std::string text : {"", "x", "SEVO SN 23107, calibrated 2026-03-14"}) {
      SCOPED_TRACE(std::to_string(dataBytes) + " " + text);
      const auto frames = encodeTransfer(Bytes(text.begin(), text.end()), dataBytes);
      ASSERT_FALSE(frames.empty());
      TransferCollector c;
      for (auto it = frames.rbegin(); it != frames.rend(); ++it) {
        ASSERT_EQ(it->size(), dataBytes);
        const auto chunk = decodeTransfer(*it);
        ASSERT_TRUE(chunk);
        c.take(*chunk);
      }
      c.take(*decodeTransfer(frames.front()));  // a repeat counts once
      EXPECT_TRUE(c.complete());
      EXPECT_EQ(c.percent(), 100);
      const auto block = c.block();
      EXPECT_EQ(std::string(block.begin(), block.end()), text);
    }
  }
  EXPECT_TRUE(encodeTransfer(Bytes(10), 4).empty()) << "no room for a payload";
  EXPECT_TRUE(encodeTransfer(Bytes(256), 5).empty()) << "more than 255 frames";
}

TEST(TransferFrames, ReadingsAndDamagedFramesAreNotTakenForTransfers) {
  const Bytes good = encodeTransfer(Bytes{'a', 'b'}, 6).front();
  struct Case {
    const char* name;
    Bytes frame;
  } cases[] = {
      {"readings", {127, 128, 126, 127, 60}},
      {"too short", {0xCA, 0, 1, 0}},
      {"index past the count", {0xCA, 1, 1, 'a', 'b', 0}},
      {"no chunks", {0xCA, 0, 0, 'a', 'b', 0}},
  };
  for (auto c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(decodeTransfer(c.frame));
  }
  for (std::size_t i = 1; i < good.size(); ++i) {
    Bytes bad = good;
    bad[i] ^= 0x10;
    EXPECT_FALSE(decodeTransfer(bad)) << "a flipped bit in byte " << i;
  }
  EXPECT_TRUE(decodeTransfer(good));
}

constexpr const char* kTable =
    "KVR SENSOR CORRECTION TABLE 1\nSN G-17\nDATE 2026-03-14\nTYPE 2\nROWS 2\n20 0.1 -0.2 30 31\n80 0.7 0.4 32 33\n";

TEST(SctTable, ReadsAnyLineEndsInterpolatesAndWritesBack) {
  for (std::string ends : {"\n", "\r\n", "\r"}) {
    std::string text = kTable;
    std::string converted;
    for (char c : text) converted += c == '\n' ? ends : std::string(1, c);
    const auto r = parseSct(converted, 4);
    ASSERT_TRUE(r.table) << r.error;
    EXPECT_EQ(r.table->serial, "G-17");
    EXPECT_EQ(r.table->date, "2026-03-14");
    EXPECT_EQ(r.table->type, 2);
    const auto mid = r.table->at(50);
    EXPECT_NEAR(mid[0], 0.4, 1e-12);
    EXPECT_NEAR(mid[3], 32.0, 1e-12);
    EXPECT_EQ(r.table->at(-10), r.table->rows.front()) << "held beyond the ends";
    const auto again = parseSct(formatSct(*r.table), 4);
    ASSERT_TRUE(again.table);
    EXPECT_EQ(again.table->rows, r.table->rows);
  }
}

TEST(SctTable, RefusesMalformedTables) {
  const std::string head = "KVR SENSOR CORRECTION TABLE 1\nSN A\nDATE D\nTYPE 1\n";
  struct Case {
    const char* name;
    std::string text;
  } cases[] = {
      {"empty", ""},
      {"another file", "hello\nSN A\nDATE D\nTYPE 1\nROWS 1\n1 2 3 4 5\n"},
      {"missing ROWS", head + "1 2 3 4 5\n"},
      {"zero rows", head + "ROWS 0\n"},
      {"a huge count", head + "ROWS 99999999\n"},
      {"a fractional count", head + "ROWS 1.5\n1 2 3 4 5\n"},
      {"ends early", head + "ROWS 2\n1 2 3 4 5\n"},
      {"a short row", head + "ROWS 1\n1 2 3 4\n"},
      {"not a number", head + "ROWS 1\n1 2 x 4 5\n"},
      {"nan", head + "ROWS 1\n1 2 nan 4 5\n"},
      {"descending", head + "ROWS 2\n5 2 3 4 5\n4 2 3 4 5\n"},
      {"TYPE not a number", "KVR SENSOR CORRECTION TABLE 1\nSN A\nDATE D\nTYPE x\nROWS 1\n1 2 3 4 5\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto r = parseSct(c.text, 4);
    EXPECT_FALSE(r.table);
    EXPECT_FALSE(r.error.empty());
  }
}

TEST(TarnBTables, ALoadedTableCorrectsTheGyroAndIsSavedButNeverOverAFile) {
  tools::Library lib;
  lib.initToolsData({});
  auto* tarnb = lib.family(224);
  tarnb->init();
  const auto dir = std::filesystem::temp_directory_path() / ("sct-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto in = dir / "in.sct", out = dir / "out.sct";
  std::ofstream(in) << kTable;

  unsigned status = 0;
  char text[kTextBytes] = {};
  EXPECT_EQ(tarnb->executeCal(2, 0, &status, text), kOpenFile);
  std::strcpy(text, in.c_str());
  EXPECT_EQ(tarnb->executeCal(2, 1, &status, text), kShow);
  EXPECT_STREQ(text, "Sensor correction table loaded: SN G-17, date 2026-03-14, type 2, 2 rows.\n");
  EXPECT_EQ(status, 0u);
  EXPECT_TRUE(tarnb->correctionTableActive());
  EXPECT_EQ(lib.globals().TARNB_Cal_Sensor_SN, "G-17");

  // RATEX of raw 10.1 mV at a gyro temperature of 20: (10.1 - 0.1) x 30.
  std::vector<float> row(19, 0.0f);
  row[5] = 10.1f;
  row[10] = 20.0f;
  ASSERT_TRUE(tarnb->recomputeRaw(row));
  EXPECT_NEAR(row[0], 300.0, 1e-3);

  EXPECT_EQ(tarnb->executeCal(3, 0, &status, text), kSaveFile);
  std::strcpy(text, out.c_str());
  EXPECT_EQ(tarnb->executeCal(3, 1, &status, text), kShow);
  std::ifstream saved(out);
  EXPECT_TRUE(parseSct(std::string(std::istreambuf_iterator<char>(saved), {}), 4).table);
  std::strcpy(text, out.c_str());
  status = 0;
  EXPECT_EQ(tarnb->executeCal(3, 1, &status, text), kShow);
  EXPECT_EQ(status, kStatusEnd) << "an existing file is never replaced";

  std::ofstream(in) << "not a table\n";
  std::strcpy(text, in.c_str());
  status = 0;
  EXPECT_EQ(tarnb->executeCal(2, 1, &status, text), kShow);
  EXPECT_EQ(status, kStatusEnd);
  EXPECT_TRUE(tarnb->correctionTableActive()) << "a bad file leaves the loaded table";
  std::filesystem::remove_all(dir);
}

TEST(TarnBTables, EightColumnsCarryTheGravityCoefficientsTheRollTestExpects) {
  tools::Library lib;
  lib.initToolsData({});
  auto* tarnb = static_cast<tools::TarnB*>(lib.family(224));
  tarnb->init();
  // Without a table: the parameters, the gain in earth rates per mV, no gravity terms.
  EXPECT_FLOAT_EQ(tarnb->correctedGyroGain(25)[0], static_cast<float>(30 / 15.041));
  EXPECT_FLOAT_EQ(tarnb->correctedGyroGravityCoefficients(25)[4], 0.0f);
  const auto dir = std::filesystem::temp_directory_path() / ("sct8-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto in = dir / "g.sct";
  std::ofstream(in) << "KVR SENSOR CORRECTION TABLE 1\nSN G-8\nDATE 2026-05-01\nTYPE 3\nROWS 1\n"
                       "25 0.5 -0.25 30 15.041 0.01 0.02 0.03 0.04\n";
  unsigned status = 0;
  char text[kTextBytes] = {};
  tarnb->executeCal(2, 0, &status, text);
  std::strcpy(text, in.c_str());
  tarnb->executeCal(2, 1, &status, text);
  ASSERT_TRUE(tarnb->correctionTableActive()) << text;
  EXPECT_FLOAT_EQ(tarnb->correctedGyroOffset(25)[2], -0.25f);
  EXPECT_FLOAT_EQ(tarnb->correctedGyroGain(25)[2], 1.0f);
  const auto g = tarnb->correctedGyroGravityCoefficients(25);
  EXPECT_FLOAT_EQ(g[0], 0.01f);
  EXPECT_FLOAT_EQ(g[1], 0.02f);
  EXPECT_FLOAT_EQ(g[4], 0.03f);
  EXPECT_FLOAT_EQ(g[5], 0.04f);
  // RATEY of raw 0.75 mV with the tool on its side, y axis down (ACCY = 1 g): the gravity term goes.
  std::vector<float> row(19, 0.0f);
  row[6] = 0.75f;            // RAWRATEGY
  row[8] = 1000.0f;          // RAWAY: 1 g
  row[10] = 25.0f;           // TEMPG
  ASSERT_TRUE(tarnb->recomputeRaw(row));
  EXPECT_NEAR(row[1], (0.75 + 0.25) * 15.041 - 15.041 * 0.04, 1e-3);
  EXPECT_NEAR(row[15], 90.0, 1e-3) << "DEVI of a tool on its side";
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tools::cal
