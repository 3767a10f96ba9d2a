// The chart recorder feeds the log windows from the same formats and writers as the files.

#include "kvr/logging/ChartRecorder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>

#include "common/presentation/ByteFile.h"
#include "common/presentation/ChartDataFile.h"

#include "platform/testing/ManualLoop.h"
#include "platform/testing/ScriptedPrompter.h"
#include "platform/testing/TempPaths.h"

namespace kvr {
namespace {

constexpr const char* kTwoFormats =
    "&FORMAT\r\nCollar\r\nENGLISH\r\n200\r\n&TRACK\r\nLINEAR\r\n10\r\nMIDTHICK\r\n250\r\n0\r\nNOOVERLAP\r\n"
    "&CURVE\r\nCCL1\r\n6\r\nCollar Locator\r\n-10\r\n10\r\n40\r\nSOLID\r\n2\r\n0\r\n0\r\n255\r\n"
    "&FORMAT\r\nSlow\r\nMETRIC\r\n500\r\n&TRACK\r\nLINEAR\r\n10\r\nMIDTHICK\r\n250\r\n0\r\nNOOVERLAP\r\n"
    "&CURVE\r\nCCL1\r\n6\r\nCollar Locator\r\n-10\r\n10\r\n40\r\nSOLID\r\n2\r\n0\r\n0\r\n255\r\n";

struct Views final : ChartViews {
  struct Opened {
    ChartViewStart start;
    presentation::CFormat* format;
    const presentation::ChartDataWriter* writer;
  };
  std::vector<Opened> opened;
  std::vector<std::size_t> frames;
  int starts = 0, ends = 0;
  void logStarted() override {
    ++starts;
    opened.clear();
  }
  void formatStarted(const ChartViewStart& s, presentation::CFormat& f, const presentation::ChartDataWriter& w) override {
    opened.push_back({s, &f, &w});
  }
  void frameAdded(std::size_t index, std::span<const float> record, bool failed) override {
    EXPECT_FALSE(failed);
    EXPECT_EQ(record.size(), 2u);
    frames.push_back(index);
  }
  void logEnded() override { ++ends; }
};

TEST(ChartRecorder, EachFormatOpensAViewFedByItsWriter) {
  platform::testing::TempPaths paths;
  const auto folder = paths.base() / "main";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "DEFAULT_FORMAT.TXT", std::ios::binary) << kTwoFormats;
  const records::ChannelList channels{{"DEPTH", "ft", 0, 0, 0}, {"CCL1", "mV", 1, 0, 0}};
  platform::testing::ManualLoop loop;
  platform::testing::ScriptedPrompter prompter;
  ChartRecorder recorder(prompter, loop.clock(), [&] {
    ChartRecorder::Context c;
    c.mainFolder = folder;
    c.channels = &channels;
    c.dataFile = [&] { return folder / "UP-1.kvr"; };
    c.modeWord = 1;  // English, low resolution: four times the base step
    c.job.client = "Acme";
    c.job.wellName = "W-1";
    return c;
  });
  Views views;
  recorder.setViews(&views);

  recorder.startLog(1);
  ASSERT_EQ(views.opened.size(), 2u);
  const auto& a = views.opened[0].start;
  EXPECT_EQ(a.index, 0u);
  EXPECT_TRUE(a.loggingUp);
  EXPECT_EQ(a.step, 8);
  EXPECT_EQ(views.opened[1].start.step, 4);  // scale 500: base step 1
  EXPECT_EQ(a.header.client, "Acme");
  EXPECT_EQ(a.header.wellName, "W-1");
  EXPECT_EQ(a.header.logFile, "UP-1.kvr");
  EXPECT_EQ(a.header.formatFile, "Collar");
  EXPECT_EQ(a.header.scale, "1:200");
  EXPECT_EQ(a.header.createdOn, "Thu, Jan 01, 2026");
  EXPECT_EQ(a.header.createdAt, "08:00:00");
  EXPECT_EQ(views.opened[0].format->name, "Collar");

  const float row[3] = {5000.0f, 1.5f, 99.0f};
  for (int i = 0; i < 3; ++i) recorder.drawRow(row, 3);
  EXPECT_EQ(views.frames, (std::vector<std::size_t>{0, 1, 0, 1, 0, 1}));
  recorder.endLog();
  EXPECT_EQ(views.ends, 1);
  // The windows still scroll back after the log: the writers stay until the next start.
  EXPECT_EQ(views.opened[0].writer->frameCount(), 3u);
  std::vector<float> back;
  EXPECT_EQ(views.opened[0].writer->readFrames(0, 3, back), 3u);
  EXPECT_EQ(back[1], 1.5f);

  recorder.startLog(0);
  EXPECT_EQ(views.starts, 2);
  ASSERT_EQ(views.opened.size(), 2u);
  EXPECT_EQ(views.opened[0].start.step, -8);
}

std::string format(const std::string& name, const char* unit, bool withTrack) {
  std::string f = "&FORMAT\r\n" + name + "\r\n" + unit + "\r\n200\r\n";
  if (withTrack)
    f += "&TRACK\r\nLINEAR\r\n10\r\nMIDTHICK\r\n250\r\n0\r\nNOOVERLAP\r\n"
         "&CURVE\r\nCCL1\r\n6\r\nCollar Locator\r\n-10\r\n10\r\n40\r\nSOLID\r\n2\r\n0\r\n0\r\n255\r\n";
  return f;
}

// Chart data files sit beside their data file, each readable, in the session's units; a
// format whose name would leave the folder, repeats an earlier one or has no track is left
// out with a warning and the formats after it are still recorded.
TEST(ChartRecorder, FilesStayBesideTheirDataFileAndEveryOneReadsBack) {
  platform::testing::TempPaths paths;
  const auto main = paths.base() / "main";
  std::filesystem::create_directories(main);
  std::ofstream(main / "DEFAULT_FORMAT.TXT", std::ios::binary)
      << format("../escaped/x", "ENGLISH", true) << format("GR/CCL", "ENGLISH", true) << format("Plain", "ENGLISH", true)
      << format("Plain", "METRIC", true) << format("Empty", "ENGLISH", false) << format("Last", "METRIC", true);
  const records::ChannelList channels{{"DEPTH", "m", 0, 0, 0}, {"CCL1", "mV", 1, 0, 0}};
  platform::testing::ManualLoop loop;
  platform::testing::ScriptedPrompter prompter;
  std::filesystem::path dataFile;
  int modeWord = 0;
  ChartRecorder recorder(prompter, loop.clock(), [&] {
    ChartRecorder::Context c;
    c.mainFolder = main;
    c.channels = &channels;
    c.dataFile = [&] { return dataFile; };
    c.modeWord = modeWord;
    return c;
  });

  // One tool string logged up in two wells, the first metric, the second English.
  for (const auto& [well, mode] : {std::pair{"A-7", 0}, std::pair{"B-1", 1}}) {
    const auto session = paths.base() / well;
    std::filesystem::create_directories(session);
    dataFile = session / "GR_UP.kvr";
    modeWord = mode;
    recorder.startLog(1);
    const float row[2] = {1000.0f, 1.5f};
    recorder.drawRow(row, 2);
    recorder.endLog();
    ASSERT_EQ(recorder.files().size(), 2u) << well;
    EXPECT_EQ(recorder.files()[0], session / "PlainGR_UP.cdf");
    EXPECT_EQ(recorder.files()[1], session / "LastGR_UP.cdf");
    for (const auto& cdf : recorder.files()) {
      auto file = presentation::openByteFile(cdf, presentation::OpenMode::ReadOnly);
      ASSERT_TRUE(file);
      presentation::ChartDataReader reader(*file);
      ASSERT_EQ(reader.open(), 0) << cdf;
      EXPECT_EQ(reader.frameCount(), 1u);
      EXPECT_EQ(reader.header().format.english, mode == 1) << cdf;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(paths.base() / "escaped"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(main), {}), 1);  // DEFAULT_FORMAT.TXT alone
  for (const char* text : {kFormatNameRefused, kFormatNameRepeated, kFormatWithoutTracks}) {
    bool seen = false;
    for (const auto& t : prompter.texts()) seen = seen || t.find(text) != std::string::npos;
    EXPECT_TRUE(seen) << text;
  }
}

}  // namespace
}  // namespace kvr
