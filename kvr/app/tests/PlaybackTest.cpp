// Playback of recorded files through the logging path: a replay gives back the rows and the
// chart data of the log, the playback options cut, shift and recompute it, and a bad file
// changes nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "common/datafile/FileMessages.h"
#include "common/presentation/ByteFile.h"
#include "common/presentation/ChartDataFile.h"
#include "common/records/ToolCodes.h"
#include "kvr/app/tests/LoggingJobFixture.h"
#include "kvr/playback/PlaybackComputations.h"
#include "kvr/playback/PlaybackMessages.h"
#include "toolslib/Library.h"

namespace {

using kvr::testing::Job;
using records::SysParam;

std::vector<float> chartValues(const std::filesystem::path& cdf, int& perFrame) {
  auto file = presentation::openByteFile(cdf, presentation::OpenMode::ReadOnly);
  if (!file) return {};
  presentation::ChartDataReader reader(*file);
  if (reader.open() != 0) return {};
  perFrame = reader.valuesPerFrame();
  std::vector<float> out;
  reader.readFrames(0, static_cast<std::size_t>(reader.frameCount()), out);
  return out;
}

struct Recorded {
  std::filesystem::path file;
  std::vector<std::filesystem::path> charts;
  std::vector<float> rows;
  std::size_t width = 0;
};

// Records a log up of BRIX + DUNE for `ms` of virtual time.
Recorded record(Job& job, std::int64_t ms, std::uint8_t direction = 1) {
  job.declare();
  job.telemetry();
  EXPECT_TRUE(job.dlg().startLog(direction, false));
  job.loop.advance(ms);
  job.dlg().stopLogging();
  job.dlg().stopTelemetry();
  Recorded r;
  r.file = job.dlg().outputFile();
  r.charts = job.station->charts().files();
  std::uint8_t d = 0;
  EXPECT_EQ(job.readBack(r.file, r.rows, r.width, d), 0);
  return r;
}

// Chooses the file (answering Yes to the session question) and plays it to its end.
bool replay(Job& job, const std::filesystem::path& file) {
  auto& playback = job.station->playback();
  job.prompter.queue(platform::Answer::Yes);
  if (!playback.loadFile(file) || !playback.startPlayback()) return false;
  job.loop.runPending();
  return !playback.running();
}

void setOption(Job& job, SysParam p, float value, int choice = 0) {
  auto& rec = job.program.systemParameters[p];
  rec.value = value;
  rec.selectedChoice = static_cast<std::uint8_t>(choice);
}

TEST(Playback, ALogReplaysToTheSameRowsAndTheSameChartData) {
  Job job;
  // 20 minutes at 1800 ft/h: 600 ft, 2400 rows, so blocks meet twice.
  const auto log = record(job, 20 * 60'000);
  const std::size_t n = log.rows.size() / log.width;
  ASSERT_GT(n, 2000u);
  ASSERT_FALSE(log.charts.empty());
  const auto drawnBefore = job.dlg().rowsDrawn();

  ASSERT_TRUE(replay(job, log.file));
  EXPECT_TRUE(job.prompter.saw(kvr::msg::kReplaceSession.title, kvr::msg::kReplaceSession.text));
  auto& playback = job.station->playback();
  EXPECT_EQ(playback.direction(), 1);
  EXPECT_EQ(playback.rowsReplayed(), n);
  EXPECT_EQ(job.dlg().rowsDrawn() - drawnBefore, n);
  EXPECT_NE(playback.outputName().filename().string().find("PLAY-UP"), std::string::npos);

  std::vector<float> rows;
  std::size_t width = 0;
  std::uint8_t direction = 9;
  ASSERT_EQ(job.readBack(playback.outputName(), rows, width, direction), 0);
  EXPECT_EQ(direction, 1);
  EXPECT_EQ(width, log.width);
  EXPECT_EQ(rows, log.rows) << "every row once, in order, unchanged";

  const auto& charts = job.station->charts().files();
  ASSERT_EQ(charts.size(), log.charts.size());
  for (std::size_t i = 0; i < charts.size(); ++i) {
    SCOPED_TRACE(charts[i].string());
    EXPECT_NE(charts[i], log.charts[i]);
    int a = 0, b = 0;
    const auto logged = chartValues(log.charts[i], a);
    EXPECT_EQ(chartValues(charts[i], b), logged);
    EXPECT_EQ(logged.size(), n * static_cast<std::size_t>(a));
  }
  // The file must be chosen again; the menu says what can be done now.
  EXPECT_FALSE(playback.fileChosen());
  EXPECT_FALSE(job.station->menu().enabled(kvr::MenuCommand::StartPlayback));
  EXPECT_FALSE(job.station->menu().enabled(kvr::MenuCommand::StopPlayback));
}

TEST(Playback, TheWindowAndTheOffsetCutAndShiftADownLogAndNoFileIsWritten) {
  Job job(true, 9, {}, panelsim::Direction::Down);
  const auto log = record(job, 12 * 60'000, 0);  // 360 ft down from 5000 ft
  const std::size_t n = log.rows.size() / log.width;
  ASSERT_GT(n, 1200u);
  const float first = log.rows[0];
  const float minDepth = first + 20, maxDepth = first + 300;
  setOption(job, records::kPbMinDepth, minDepth);
  setOption(job, records::kPbMaxDepth, maxDepth);
  setOption(job, records::kPbDepthOffset, 10);
  setOption(job, records::kPbOutputFile, 1, 1);  // "DON'T CREATE"
  const auto folder = job.station->session().sessionFolder();
  // Data files only: the chart data files of the replay are still drawn, in the session folder.
  const auto dataFiles = [&] {
    return std::count_if(std::filesystem::directory_iterator(folder), {},
                         [](const auto& e) { return e.path().extension() == ".kvr"; });
  };
  const auto filesBefore = dataFiles();

  ASSERT_TRUE(replay(job, log.file));
  EXPECT_EQ(job.station->playback().outputName(), kvr::msg::kNotCreated);
  EXPECT_EQ(dataFiles(), filesBefore);
  for (const auto& cdf : job.station->charts().files()) EXPECT_EQ(cdf.parent_path(), folder);

  // The rows from the first at or below the minimum to the last above the maximum, shifted.
  std::vector<float> expected;
  for (std::size_t i = 0; i < n; ++i) {
    const float d = log.rows[i * log.width];
    if (d >= minDepth && d < maxDepth) expected.push_back(d + 10);
  }
  int perFrame = 0;
  const auto values = chartValues(job.station->charts().files().at(0), perFrame);
  ASSERT_GT(perFrame, 0);
  std::vector<float> depths;
  for (std::size_t i = 0; i < values.size(); i += static_cast<std::size_t>(perFrame)) depths.push_back(values[i]);
  EXPECT_EQ(depths, expected);
  EXPECT_GT(depths.size(), 1000u);
}

TEST(Playback, TheFilesOwnChannelsReplayAndAStringThatDoesNotMatchTheRowsIsRefused) {
  Job job;
  const auto log = record(job, 60'000);
  setOption(job, records::kPbChannelSource, 1, 1);  // "PLAYBACK FILE"
  setOption(job, records::kPbOutputFile, 1, 1);
  ASSERT_TRUE(replay(job, log.file));
  EXPECT_EQ(job.station->playback().rowsReplayed(), log.rows.size() / log.width);

  // The same file with one TOOLS channel dropped from its list and its rows as wide: the
  // tool string would make more channels than the rows hold.
  kvr::PosixFileSystem fs;
  kvr::CFileManager in(fs), out(fs);
  ASSERT_EQ(in.openInput(log.file), 0);
  records::ToolList tools;
  records::ChannelList channels;
  ASSERT_EQ(in.readToolList(tools), 0);
  ASSERT_EQ(in.readChannelList(channels), 0);
  channels.pop_back();
  ASSERT_EQ(out.createOutputFile(job.paths.base(), "narrow"), 0);
  ASSERT_EQ(out.writeToolList(tools), 0);
  ASSERT_EQ(out.writeChannelList(channels), 0);
  for (const auto& t : tools) {
    if (!t.isTool()) continue;
    std::vector<records::ToolParameterS> block;
    ASSERT_EQ(in.readStoredParameterBlock(block), 0);
    ASSERT_EQ(out.writeParameterBlock(block), 0);
  }
  std::uint8_t direction = 0;
  std::vector<records::SysParameterS> table;
  records::JobRecord record;
  ASSERT_EQ(in.readDirection(direction) | in.readMainSystemParameters(table) | in.readJobRecord(record), 0);
  ASSERT_EQ(out.writeDirection(direction) | out.writeMainSystemParameters(table) | out.writeJobRecord(record), 0);
  kvr::SampleRing ring;
  ring.allocate(channels.size());
  ring.setWrite(channels.size() * 10);
  ASSERT_EQ(out.closeOutput(ring), 0);
  const auto narrow = out.lastFilePath();

  setOption(job, records::kPbChannelSource, 0, 0);  // "TOOL STRING"
  job.station->tools().setToolList({});
  job.prompter.clear();
  EXPECT_FALSE(job.station->playback().loadFile(narrow));
  EXPECT_TRUE(job.prompter.saw(kvr::kIntegrityFailed.title, kvr::kIntegrityFailed.text));
  EXPECT_TRUE(job.station->tools().toolList().empty()) << "a refused file replaces nothing";
  EXPECT_FALSE(job.station->playback().fileChosen());
}

TEST(Playback, UnreadableFilesAreRefusedAndTheSessionStays) {
  Job job;
  const auto log = record(job, 30'000);
  const auto before = job.station->tools().toolList();
  auto& playback = job.station->playback();
  job.prompter.clear();

  job.prompter.queue(platform::Answer::No);
  EXPECT_FALSE(playback.loadFile(job.paths.base() / "none.kvr"));
  EXPECT_TRUE(job.prompter.messages().size() == 1) << "No to the session question ends it";

  job.prompter.queue(platform::Answer::Yes);
  EXPECT_FALSE(playback.loadFile(job.paths.base() / "none.kvr"));
  EXPECT_TRUE(job.prompter.saw(kvr::kOpenInputFailed.title, kvr::kOpenInputFailed.text));

  // A data file cut inside its static data.
  const auto cut = job.paths.base() / "cut.kvr";
  std::filesystem::copy_file(log.file, cut);
  std::filesystem::resize_file(cut, 200);
  job.prompter.queue(platform::Answer::Yes);
  EXPECT_FALSE(playback.loadFile(cut));
  EXPECT_TRUE(job.prompter.saw(kvr::kReadFailed.title, kvr::kReadFailed.text));
  EXPECT_EQ(job.station->tools().toolList().size(), before.size());
  EXPECT_FALSE(playback.fileChosen());

  job.prompter.clear();
  EXPECT_FALSE(playback.startPlayback());
  EXPECT_TRUE(job.prompter.saw(kvr::msg::kNoPlaybackFile.title, kvr::msg::kNoPlaybackFile.text));
}

TEST(Playback, StoppingHalfWayDrawsTheBlockInHandAndClosesTheOutput) {
  Job job;
  const auto log = record(job, 10 * 60'000);
  auto& playback = job.station->playback();
  job.prompter.queue(platform::Answer::Yes);
  ASSERT_TRUE(playback.loadFile(log.file));
  EXPECT_TRUE(job.station->menu().enabled(kvr::MenuCommand::StartPlayback));
  ASSERT_TRUE(playback.startPlayback());
  EXPECT_TRUE(job.station->menu().enabled(kvr::MenuCommand::StopPlayback));
  EXPECT_FALSE(job.dlg().startTelemetry()) << "the dispatch stays out of the replayed ring";
  const auto drawnBefore = job.dlg().rowsDrawn();
  // The first block and 50 of its rows.
  EXPECT_EQ(job.loop.runPending(51), 51u);
  EXPECT_EQ(job.dlg().rowsDrawn() - drawnBefore, 50u);
  ASSERT_GT(playback.rowsReplayed(), 900u);
  playback.stopPlayback();
  EXPECT_FALSE(playback.running());
  const auto drawn = job.dlg().rowsDrawn() - drawnBefore;
  EXPECT_EQ(drawn, playback.rowsReplayed()) << "every row written is drawn";
  std::vector<float> rows;
  std::size_t width = 0;
  std::uint8_t direction = 0;
  ASSERT_EQ(job.readBack(playback.outputName(), rows, width, direction), 0);
  EXPECT_EQ(rows.size() / width, playback.rowsReplayed());
  EXPECT_TRUE(std::equal(rows.begin(), rows.end(), log.rows.begin()));
  job.loop.runPending();  // nothing follows a stopped playback
  EXPECT_EQ(job.dlg().rowsDrawn() - drawnBefore, drawn);
}

// --- the tool computations ---

std::vector<float> spinnerRows(std::size_t n, const std::function<float(std::size_t)>& spinner) {
  std::vector<float> rows(n * 3, 0.0f);  // LSPD, SPINNER, PRATE
  for (std::size_t i = 0; i < n; ++i) {
    rows[i * 3] = 1800;
    rows[i * 3 + 1] = spinner(i);
  }
  return rows;
}

TEST(PlaybackComputations, TheSpinnerIsAveragedOverThirtyRowsCentredFifteenRowsBack) {
  kvr::SpinnerComputation c({0, 1, 2});
  c.reset();
  const std::size_t n = 100;
  auto rows = spinnerRows(n, [](std::size_t i) { return static_cast<float>(i); });
  c.processBlock(rows.data(), n, 3, true);
  auto spinner = [&](std::size_t i) { return rows[i * 3 + 1]; };
  auto prate = [&](std::size_t i) { return rows[i * 3 + 2]; };
  for (std::size_t i = 0; i < n; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rows[i * 3], 21.0f);
    double expected;
    if (i < n - 15) {
      // From the row 15 later: the 30 values i-14 .. i+15, the ring's zeros before the file.
      const double lo = std::max<double>(0, static_cast<double>(i) - 14), hi = static_cast<double>(i) + 15;
      expected = (lo + hi) * (hi - lo + 1) / 2 / 30;
    } else {
      // Drained: the window shrinks from its old end, 29 values down to 15.
      const std::size_t k = i - (n - 15);
      const double lo = static_cast<double>(n - 29 + k), hi = static_cast<double>(n - 1);
      expected = (lo + hi) / 2;
    }
    EXPECT_NEAR(spinner(i), expected, 1e-4);
    EXPECT_NEAR(prate(i), kvr::spinnerFlowRate(spinner(i)), std::abs(prate(i)) * 1e-6 + 1e-3);
  }
  EXPECT_NEAR(kvr::spinnerFlowRate(10.0), ((10.0 - 21.0 * 0.101) / 0.101 + 3.35) * 0.83 * 28.739519 * 34, 1e-6);
}

TEST(PlaybackComputations, TheRingCarriesOverFromBlockToBlock) {
  kvr::SpinnerComputation one({0, 1, 2}), two({0, 1, 2});
  one.reset();
  two.reset();
  auto whole = spinnerRows(60, [](std::size_t i) { return static_cast<float>(i % 7); });
  auto split = whole;
  one.processBlock(whole.data(), 60, 3, false);
  two.processBlock(split.data(), 40, 3, false);
  two.processBlock(split.data() + 40 * 3, 20, 3, false);
  // The rows 15 back of the second block's start are rewritten from the first block only
  // in the whole run; from the second block's 16th row on both agree.
  for (std::size_t i = 40 + 15; i < 60; ++i) EXPECT_EQ(whole[i * 3 + 2], split[i * 3 + 2]) << i;
  for (std::size_t i = 0; i < 25; ++i) EXPECT_EQ(whole[i * 3 + 1], split[i * 3 + 1]) << i;
}

TEST(PlaybackComputations, TarnBValuesAreRecomputedWithTheParametersOfNow) {
  tools::Library library;
  records::ToolList string(1);
  string[0].toolCode = records::kTarnB;
  string[0].setKind(1);
  records::ChannelList channels = records::surfaceChannels(true);
  library.family(records::kTarnB)->addDataChannels(channels);
  for (std::size_t i = records::kSurfaceChannelCount; i < channels.size(); ++i)
    channels[i].baseColumn = records::kSurfaceChannelCount;
  kvr::PlaybackComputations c(library, string, channels);
  EXPECT_EQ(c.tarnBTools(), 1u);
  EXPECT_FALSE(c.spinner());
  std::vector<float> row(channels.size(), 0.0f);
  const std::size_t base = records::kSurfaceChannelCount;
  row[base + 5] = 3.0f;  // RAWRATEGX, mV
  row[base + 9] = 1000.0f;  // RAWAZ, mV: vertical
  c.start(string);
  library.family(records::kTarnB)->getParameterList()[0].value = 1.0f;  // GXOFF
  c.processBlock(row.data(), 1, row.size(), true);
  EXPECT_FLOAT_EQ(row[base + 0], 60.0f);  // (3 - 1) x 30
  EXPECT_FLOAT_EQ(row[base + 4], 1.0f);   // ACCZ
}

}  // namespace
