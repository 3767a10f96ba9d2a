// The readers of a session: the event log rows, the segments between stations and the raw
// stream's checks, each with the message the user sees.
#include <gtest/gtest.h>

#include <unistd.h>

#include "kvr/postprocess/RawStreamFile.h"
#include "kvr/postprocess/SessionLog.h"
#include "kvr/postprocess/tests/SessionFixture.h"
#include "platform/testing/ScriptedPrompter.h"

namespace pp = kvr::postprocess;
using namespace kvr::postprocess::testing;
using platform::testing::ScriptedPrompter;

TEST(SessionLog, RowsAreReadWithTheWritersPattern) {
  const std::string log = std::string(kLogHeader) +
                          "10.5,0,1,2,3,4,99,100,200,END_STATION\r\n"
                          "12,1\n"         // time and kind only: the rest stays zero
                          "abc\n"          // no number: dropped
                          "7\r"            // one field: dropped; CR alone ends a line
                          "\n"             // an empty line
                          "13,0,0,0,0,0,0,0,0,END_STATION \r\n"  // the blank is part of the name
                          "14,0,0,0,0,0,0,0,0,STOP_SURVEY";      // no line end at the end
  const auto events = pp::parseSessionLog(log);
  ASSERT_EQ(events.size(), 4u);
  const auto& e = events[0];
  EXPECT_EQ(e.Time, 10.5);
  EXPECT_EQ(e.Tipo, 0u);
  EXPECT_EQ(e.Devi, 1);
  EXPECT_EQ(e.Azi, 2);
  EXPECT_EQ(e.Hstf, 3);
  EXPECT_EQ(e.Tf, 4);
  EXPECT_EQ(e.Qc, 99);
  EXPECT_EQ(e.Pos0, 100u);
  EXPECT_EQ(e.Pos180, 200u);
  EXPECT_EQ(e.Flag, "END_STATION");
  EXPECT_EQ(events[1].Time, 12);
  EXPECT_EQ(events[1].Tipo, 1u);
  EXPECT_EQ(events[1].Devi, 0);
  EXPECT_EQ(events[1].Flag, "");
  EXPECT_EQ(events[2].Flag, "END_STATION ");
  EXPECT_EQ(events[3].Flag, "STOP_SURVEY");
  EXPECT_EQ(pp::findSegments(events).stations, std::vector<int>{0}) << "a trailing blank is another name";
}

TEST(SessionLog, ThreeStationsGiveTwoSegmentsTheSecondFromTheSecondStation) {
  std::string log = kLogHeader;
  log += "1,0,0,0,0,0,0,0,0,START_STATION\n10,0,5,100,20,30,95,12,524,END_STATION\n";
  log += "11,0,0,0,0,0,0,0,0,START_SURVEYDOWN\n70,0,0,0,0,0,0,0,0,STOP_SURVEY\n";
  log += "71,0,0,0,0,0,0,0,0,START_STATION\n80,1,6,101,21,31,50,12,524,END_STATION\n";
  log += "81,0,0,0,0,0,0,0,0,START_STATION\n200,0,7.5,102,22,32,90,12,524,END_STATION\n";
  ScriptedPrompter prompter;
  pp::KeptTrace trace;
  const auto r = pp::FindContinuousSegments(pp::parseSessionLog(log), prompter, trace);
  EXPECT_EQ(r.stations, (std::vector<int>{1, 5, 7}));
  ASSERT_EQ(r.segments.size(), 2u);
  const auto& s = r.segments[1];
  EXPECT_EQ(s.startEvent, 5);
  EXPECT_EQ(s.endEvent, 7);
  EXPECT_EQ(s.startTime, 80);
  EXPECT_EQ(s.duration, 120);
  EXPECT_EQ(s.iniDevi, 6);
  EXPECT_EQ(s.finDevi, 7.5);
  EXPECT_EQ(s.finTf, 32);
  EXPECT_TRUE(prompter.saw("Continuos Detected",
                           "Found 2 CONTINUO segments between 3 stations.\n\nCheck Output window for details."));
  EXPECT_EQ(trace.lines.at(2),
            "  CONTINUO[0]: T=[10.000 -> 80.000]  dur=70.0 sec (1.2 min)\n    INI: Devi=5.0000 Azi=100.0000 "
            "Hstf=20.0000 Tf=30.0000\n    FIN: Devi=6.0000 Azi=101.0000 Hstf=21.0000 Tf=31.0000\n");
}

// Every way a session's files can be unusable, with what the user is told.
TEST(SessionReaders, EdgeCases) {
  struct Case {
    const char* name;
    std::string log;  // empty: no event log on disk
    bool writeRaw;
    std::string raw;
    const char* caption;
    std::string message;  // the last message shown
    long samples;         // samples loaded, -1 when the log is refused first
  };
  const std::string oneStation = std::string(kLogHeader) + "5,0,1,2,3,4,99,12,524,END_STATION\n";
  const std::string twoSamples = rawBytes(0xAA, 7, {sampleAt(0), sampleAt(1.0 / 15)});
  const std::vector<Case> cases = {
      {"header-only log", kLogHeader, false, "", "WARNING",
       "Need at least 2 END_STATION events to define a CONTINUO segment.", -1},
      {"missing log", "", false, "", "ERROR", "Could not open the CSV session file.", -1},
      {"missing raw file", oneStation, false, "", "ERROR", "Could not open the associated RAW file:\n@RAW", 0},
      {"short header", oneStation, true, std::string("\xAA\x01\x00\x07", 4), "ERROR",
       "Could not read RAW header (7 bytes).", 0},
      {"wrong magic byte", oneStation, true, rawBytes(0xAB, 7, {sampleAt(0)}), "ERROR",
       "Invalid RAW magic byte: 0xAB (expected 0xAA).", 0},
      {"header length below 7", oneStation, true, rawBytes(0xAA, 6, {sampleAt(0)}), "ERROR",
       "Invalid RAW header length: 6 bytes (minimum is 7).", 0},
      {"header length beyond the file", oneStation, true, rawBytes(0xAA, 7, {}).replace(3, 4, "\x00\x10\x00\x00", 4),
       "ERROR", "Invalid RAW header length (4096) for file size (7).", 0},
      {"header only", oneStation, true, rawBytes(0xAA, 16, {}), "ERROR",
       "RAW payload does not contain complete samples.", 0},
      {"partial last sample", oneStation, true, rawBytes(0xAA, 7, {sampleAt(0), sampleAt(1.0 / 15)}, 50), "", "", 2},
      {"longer header skipped", oneStation, true, rawBytes(0xAA, 16, {sampleAt(0), sampleAt(1.0 / 15)}), "", "", 2},
      {"complete stream", oneStation, true, twoSamples, "", "", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    const auto log = folder.output() / "Session_3.csv";
    const auto rawPath = folder.output() / "DataSession3.raw";
    if (!c.log.empty()) writeFile(log, c.log);
    if (c.writeRaw) writeFile(rawPath, c.raw);
    ScriptedPrompter prompter;
    pp::KeptTrace trace;
    long loaded = -1;
    const auto events = pp::LoadSessionLog(log.string(), prompter, trace);
    if (events && !pp::FindContinuousSegments(*events, prompter, trace).stations.empty()) {
      prompter.clear();
      EXPECT_EQ(pp::rawStreamPathFor(log.string()), rawPath.string());
      pp::RawStreamFile raw(prompter, trace);
      loaded = 0;
      if (raw.open(rawPath.string()))
        raw.readSamples([&](std::span<const pp::RawSample> block, long first) {
          EXPECT_EQ(first, loaded);
          for (const auto& s : block) EXPECT_EQ(s.v[1], loaded++ / 15.0);
        });
    }
    EXPECT_EQ(loaded, c.samples);
    std::string expected = c.message;
    if (const auto at = expected.find("@RAW"); at != std::string::npos) expected.replace(at, 4, rawPath.string());
    if (expected.empty()) {
      EXPECT_TRUE(prompter.messages().empty()) << prompter.messages().front().text;
    } else {
      ASSERT_FALSE(prompter.messages().empty());
      EXPECT_EQ(prompter.messages().back().title, c.caption);
      EXPECT_EQ(prompter.messages().back().text, expected);
    }
  }
}

TEST(SessionReaders, ARaggedTailIsTracedAndIgnored) {
  TempFolder folder;
  const auto path = folder.output() / "DataSession1.raw";
  writeFile(path, rawBytes(0xAA, 7, {sampleAt(0), sampleAt(0.5)}, 50));
  ScriptedPrompter prompter;
  pp::KeptTrace trace;
  pp::RawStreamFile raw(prompter, trace);
  ASSERT_TRUE(raw.open(path.string()));
  EXPECT_EQ(raw.sampleCount(), 2);
  ASSERT_TRUE(raw.readSamples([](std::span<const pp::RawSample>, long) {}));
  EXPECT_EQ(trace.lines.at(0), "RAW header parsed: VERSION=1 HEADER_LEN=7 bytes\n");
  EXPECT_EQ(trace.lines.at(1),
            "WARNING: RAW payload size (290 bytes) is not a multiple of sample size (120 bytes).\n"
            "Possible file corruption or different format.\n");
  EXPECT_EQ(trace.lines.at(3),
            "  Sample[0]: depth=100.00 time=0.000 Gx=1.0000 Gy=2.0000 Gz=3.0000 Ax=4.0000 Ay=5.0000 Az=6.0000 "
            "angle=12.00\n");
}

TEST(SessionReaders, AStreamFromTheToolsWriterIsReadWhole) {
  TempFolder folder;
  tools::tarnc::RawStreamWriter w;
  ASSERT_TRUE(w.open(folder.path.string(), "DataSession", "9", "SN X\n")) << w.error();
  for (int i = 0; i < 5000; ++i) w.add({sampleAt(i / 15.0, i)});
  w.close();
  ScriptedPrompter prompter;
  pp::NullTrace trace;
  pp::RawStreamFile raw(prompter, trace);
  ASSERT_TRUE(raw.open(w.path()));
  long n = 0;
  ASSERT_TRUE(raw.readSamples([&](std::span<const pp::RawSample> block, long) {
    for (const auto& s : block) EXPECT_EQ(s.v[14], n++);
  }));
  EXPECT_EQ(n, 5000);
  EXPECT_TRUE(prompter.messages().empty());
}
