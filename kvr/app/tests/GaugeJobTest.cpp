// The memory gauge end to end: the program's station on the simulated panel, the "Data
// Latch Manager" connecting to the simulated gauge, programming it, and downloading its
// jobs into files that hold exactly what it recorded; and each fault's outcome.

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "common/records/LittleEndian.h"
#include "kvr/app/tests/LoggingJobFixture.h"
#include "kvr/app/tests/RunProgram.h"
#include "kvr/gauge/CDownloadDataDlg.h"
#include "kvr/gauge/GaugeTexts.h"
#include "panelsim/Faults.h"

namespace kvr {
namespace {

using platform::Answer;
using testing::Job;
using testing::readAll;
namespace text = gauge::text;
namespace v = tools::vunt;

// A minute's pause, 25 samples at 7 s (180 / 7), then 2 s for good.
panelsim::SimConfig gaugeConfig(std::vector<double> recordedJobsS = {}) {
  panelsim::SimConfig config;
  config.winch.direction = panelsim::Direction::Still;
  config.gauge.program = {{1, 0}, {3, 7}, {0xFFFF, 2}};
  config.gauge.recordedJobsS = std::move(recordedJobsS);
  return config;
}
// The time of sample n (from 1) of that program.
double sampleTime(int n) { return n <= 25 ? 60.0 + 7.0 * n : 235.0 + 2.0 * (n - 25); }

struct GaugeJob : Job {
  explicit GaugeJob(panelsim::SimConfig config) : Job(std::move(config)) {
    declare({"VUNT-MG"});
    telemetry();
    panel = station->gaugePanel();
    gauge = station->link().simulator->gaugeTool();
  }
  // Connect, through to "Memory Gauge Status".
  bool connect() {
    bool shown = false;
    panel->setStatusDialog([&] { shown = true; });
    panel->connect();
    const bool ok = loop.advanceUntil([&] { return shown; }, 30000);
    panel->setStatusDialog(nullptr);
    return ok;
  }
  // Downloads job `index` (from 0) to `name` in the temporary folder.
  gauge::CDownloadDataDlg::State download(int index, const std::string& name, std::int64_t budgetMs = 600000) {
    gauge::CDownloadDataDlg dlg({*panel, [] { return gauge::PickedDate{1796947200u, 1796981415u}; }, {}});
    if (!dlg.open()) return dlg.state();
    dlg.selectJob(index);
    prompter.queueFile((paths.base() / name).string());
    dlg.download();
    loop.advanceUntil([&] { return !dlg.running(); }, budgetMs, 100);
    pages = dlg.pagesReceived();
    return dlg.state();
  }
  std::filesystem::path path(const std::string& name) const { return paths.base() / name; }

  gauge::CDataLatchTaskPanel* panel = nullptr;
  panelsim::GaugeTool* gauge = nullptr;
  std::uint32_t pages = 0;
};

// What the text and binary files must hold for the gauge's job.
std::string expectedText(const panelsim::GaugeTool::Job& job, const v::CalibrationUnion& cal) {
  std::string t =
      "Client: \r\nField: \r\nWell: \r\nJob Description: Starting Date: \r\nEnding Date: \r\nDepth: \r\n"
      "Gauge Serial No: Battery Connection: \r\n\r\n           Time       Pressure    Temperature\r\n"
      "          HOURS            PSI           DEGC\r\n";
  for (std::size_t i = 0; i < job.samples.size(); ++i) {
    double p = job.samples[i].pressure, c = job.samples[i].temperature;
    VUNTCalculaValorCalibrado(&p, &c, &cal);
    char line[128];
    std::snprintf(line, sizeof line, "    %11.6f    %11.2lf    %11.2lf\r\n",
                  static_cast<double>(static_cast<float>(job.times[i]) / 3600.0f), p, c);
    t += line;
  }
  return t;
}

void expectBinary(const std::string& bin, const panelsim::GaugeTool::Job& job, const v::CalibrationUnion& cal) {
  ASSERT_EQ(bin.size(), 256 + 12 * job.samples.size());
  const auto* b = reinterpret_cast<const std::uint8_t*>(bin.data());
  EXPECT_EQ(records::le::getU32(b), 0u);
  EXPECT_EQ(records::le::getU32(b + 4), 1796947200u);
  EXPECT_EQ(records::le::getU32(b + 8), 1796981415u);
  EXPECT_EQ(records::le::getU32(b + 12), 0u);
  EXPECT_TRUE(std::equal(cal.bytes.begin(), cal.bytes.end(), b + 16));
  for (std::size_t i = 0; i < job.samples.size(); ++i) {
    const std::uint8_t* r = b + 256 + 12 * i;
    EXPECT_EQ(records::le::getI32(r), static_cast<std::int32_t>(job.times[i])) << i;
    EXPECT_EQ(records::le::getU32(r + 4), job.samples[i].pressure) << i;
    EXPECT_EQ(records::le::getU32(r + 8), job.samples[i].temperature) << i;
  }
}

TEST(GaugeJob, RecordedJobsDownloadValueForValueWhetherTheyEndOnAPageOrNot) {
  // Samples per job: inside the first page, exactly one and two pages, and off a page.
  const int lengths[] = {50, 105, 210, 263};
  std::vector<double> durations;
  for (int n : lengths) durations.push_back(sampleTime(n) + 1);
  GaugeJob job(gaugeConfig(durations));
  ASSERT_TRUE(job.connect());
  const auto cal = job.gauge->calibration();
  for (std::size_t i = 0; i < std::size(lengths); ++i) {
    SCOPED_TRACE(lengths[i]);
    const auto& recorded = job.gauge->jobs()[i];
    ASSERT_EQ(recorded.samples.size(), static_cast<std::size_t>(lengths[i]));
    const std::string name = "job" + std::to_string(i + 1) + ".txt";
    ASSERT_EQ(job.download(static_cast<int>(i), name), gauge::CDownloadDataDlg::State::Finished)
        << job.prompter.texts().back();
    EXPECT_EQ(job.prompter.texts().back(), text::kDownloaded);
    EXPECT_EQ(job.pages, static_cast<std::uint32_t>((lengths[i] + 104) / 105));  // no page more than the job's
    EXPECT_EQ(readAll(job.path(name)), expectedText(recorded, cal));
    expectBinary(readAll(job.path("job" + std::to_string(i + 1) + ".BIN")), recorded, cal);
    // The recorded values are the history through the calibration.
    for (std::size_t k = 0; k < recorded.samples.size(); ++k) {
      double p = recorded.samples[k].pressure, c = recorded.samples[k].temperature;
      VUNTCalculaValorCalibrado(&p, &c, &cal);
      ASSERT_NEAR(p, recorded.truth[k].psi, 0.001);
      ASSERT_NEAR(c, recorded.truth[k].degC, 0.002);
    }
  }
  EXPECT_FALSE(job.panel->frameSkipped());
}

// The job table arrives 15 bytes a frame, so words straddle the frames from the eighth on.
TEST(GaugeJob, TenJobsInMemoryGiveTheJobTableWordForWord) {
  GaugeJob job(gaugeConfig(std::vector<double>(10, sampleTime(50) + 1)));
  ASSERT_TRUE(job.connect());
  const auto& recorded = job.gauge->jobs();
  ASSERT_EQ(recorded.size(), 10u);
  const auto& table = job.station->library().globals().VUNTJobFat;
  for (std::size_t i = 0; i + 1 < recorded.size(); ++i) EXPECT_EQ(table[i], recorded[i + 1].startPage) << i;
  EXPECT_EQ(table[9], recorded[9].startPage + 1);  // 50 samples: one page
  EXPECT_EQ(table[10], 0);
}

TEST(GaugeJob, ProgramsWithShortEntriesOpenEndedPausesOrNoEndDownloadWhatWasRecorded) {
  struct Case {
    const char* what;
    std::vector<panelsim::GaugeProgramEntry> program;
    std::size_t samples;
  };
  const std::vector<Case> cases = {
      // 60 s cannot hold a 90 s interval: the entry is a pause; then an open-ended pause.
      {"short entry, open-ended pause", {{1, 90}, {2, 5}, {0xFFFF, 0}}, 24},
      {"no end entry", {{2, 5}}, 24},
      {"ended", {{2, 5}, {0, 0}}, 24},
      {"a page of samples, then the end", {{35, 20}, {0, 0}}, 105},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto config = gaugeConfig({4000});
    config.gauge.program = c.program;
    GaugeJob job(std::move(config));
    ASSERT_TRUE(job.connect());
    const auto& recorded = job.gauge->jobs()[0];
    ASSERT_EQ(recorded.samples.size(), c.samples);
    ASSERT_EQ(job.download(0, "p.txt", 60000), gauge::CDownloadDataDlg::State::Finished);
    EXPECT_EQ(readAll(job.path("p.txt")), expectedText(recorded, job.gauge->calibration()));
    EXPECT_EQ(job.pages, 1u);
  }
}

TEST(GaugeJob, ANameThatWouldMakeBothFilesOneIsRefusedAndLeavesNothing) {
  GaugeJob job(gaugeConfig({sampleTime(30) + 1}));
  ASSERT_TRUE(job.connect());
  EXPECT_EQ(job.download(0, "same.bin"), gauge::CDownloadDataDlg::State::Failed);
  EXPECT_TRUE(job.prompter.saw(text::kFatal, text::kBinaryOpenFailed));
  EXPECT_FALSE(std::filesystem::exists(job.path("same.bin")));
  EXPECT_FALSE(std::filesystem::exists(job.path("same.BIN")));
  // A binary file already there: the text file made for the download goes again.
  std::ofstream(job.path("taken.BIN")) << "kept";
  EXPECT_EQ(job.download(0, "taken.txt"), gauge::CDownloadDataDlg::State::Failed);
  EXPECT_FALSE(std::filesystem::exists(job.path("taken.txt")));
  EXPECT_EQ(readAll(job.path("taken.BIN")), "kept");
}

TEST(GaugeJob, AWriteThatFailsEndsTheDownloadWithoutTheSuccessMessage) {
  GaugeJob job(gaugeConfig({sampleTime(263) + 1}));
  ASSERT_TRUE(job.connect());
  // Files may grow to 4000 bytes: the binary file (3412 bytes) fits, the text file does not.
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 4000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const auto state = job.download(0, "full.txt");
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(state, gauge::CDownloadDataDlg::State::Failed);
  EXPECT_TRUE(job.prompter.saw(text::kFatal, text::kTextWriteFailed));
  EXPECT_FALSE(job.prompter.saw(text::kMessage, text::kDownloaded));
}

TEST(GaugeJob, AnOperatorErasesTheGaugeStartsAJobLetsItRecordAndDownloadsIt) {
  GaugeJob job(gaugeConfig({sampleTime(30) + 1}));
  auto sent = [&] { return job.station->link().simulator->messagesTo(240); };
  ASSERT_EQ(job.gauge->jobs().size(), 1u);

  job.prompter.queue(Answer::Yes);
  job.panel->eraseJobs();
  EXPECT_TRUE(job.loop.advanceUntil([&] { return job.prompter.saw(text::kMessage, text::kEraseDone); }, 3000));
  EXPECT_EQ(sent().back(), (std::vector<std::uint8_t>{3, 240, 0, 0x72}));  // GO after the acknowledged erase
  EXPECT_TRUE(job.gauge->jobs().empty());
  job.panel->checkRecording();  // nothing records after an erase
  EXPECT_TRUE(job.loop.advanceUntil([&] { return job.prompter.saw(text::kError, text::kNotRecording); }, 3000));

  job.prompter.queue(Answer::Yes);
  job.panel->newJob();
  EXPECT_TRUE(job.loop.advanceUntil([&] { return job.prompter.saw(text::kMessage, text::kNewJobDone); }, 3000));
  job.loop.advance(static_cast<std::int64_t>(sampleTime(140) * 1000) + 500);
  job.panel->checkRecording();
  EXPECT_TRUE(job.loop.advanceUntil([&] { return job.prompter.saw(text::kMessage, text::kCheckDone); }, 3000));
  // A second job ends the first.
  job.prompter.queue(Answer::Yes);
  job.panel->newJob();
  job.loop.advance(1500);
  ASSERT_EQ(job.gauge->jobs().size(), 2u);
  const auto recorded = job.gauge->jobs()[0];
  EXPECT_EQ(recorded.samples.size(), 140u);

  ASSERT_TRUE(job.connect());
  EXPECT_EQ(job.panel->status().text, text::kLinkUp);
  ASSERT_EQ(job.download(0, "first.txt"), gauge::CDownloadDataDlg::State::Finished) << job.prompter.texts().back();
  EXPECT_EQ(readAll(job.path("first.txt")), expectedText(recorded, job.gauge->calibration()));
  expectBinary(readAll(job.path("first.BIN")), recorded, job.gauge->calibration());
  // The save dialog proposed the serial number as the name.
  ASSERT_FALSE(job.prompter.fileRequests().empty());
  EXPECT_EQ(job.prompter.fileRequests().back().defaultName, "24017");
  EXPECT_EQ(job.prompter.fileRequests().back().filter, text::kSaveFilter);
}

TEST(GaugeJob, EveryFaultEndsWithItsMessageAndTheRecoverableOnesDownloadTheSameFile) {
  struct Case {
    const char* fault;
    const char* connectError;  // null: connects
    std::vector<const char*> downloadMessages;
    bool downloads;
    std::uint8_t resent = 0;  // the code the panel repeats to get round the fault, at least `times` over
    int times = 0;
  };
  const char* stage0 = "Downhole Tool did not acknoledge last command!\nTry connect to tool again\nStage Error: 0";
  const std::vector<Case> cases = {
      {"gauge-no-ack", stage0, {}, false},
      {"gauge-link-down", stage0, {}, false},
      {"gauge-stall-half-a=3", nullptr, {text::kDownloaded}, true, 0x70, 3},
      {"gauge-drop-half-b=3", nullptr, {text::kDownloaded}, true, 0x6F, 2 + 3},
      {"gauge-frame-skip=30", nullptr, {text::kDownloaded}, true},
      {"gauge-stall-half-a=10", nullptr, {text::kHalfAFailed, text::kLinkUnreliable}, false},
      {"gauge-drop-half-b=10", nullptr, {text::kHalfBFailed, text::kLinkUnreliable}, false},
      {"gauge-dead-after-page=1", nullptr, {text::kHalfAFailed, text::kLinkUnreliable}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    auto config = gaugeConfig({sampleTime(150) + 1});
    ASSERT_EQ(panelsim::applyFault(config.faults, c.fault), std::nullopt);
    GaugeJob job(std::move(config));
    if (c.connectError) {
      EXPECT_FALSE(job.connect());
      EXPECT_TRUE(job.prompter.saw(text::kError, c.connectError)) << job.prompter.texts().back();
      if (std::string(c.fault) == "gauge-link-down") {
        EXPECT_EQ(job.panel->status().text, text::kLinkDown);
        EXPECT_EQ(job.panel->status().colour, gauge::rgb(255, 0, 0));
      }
      continue;
    }
    ASSERT_TRUE(job.connect());
    const auto state = job.download(0, "out.txt");
    const auto texts = job.prompter.texts();
    ASSERT_GE(texts.size(), c.downloadMessages.size());
    const std::vector<std::string> last(texts.end() - static_cast<std::ptrdiff_t>(c.downloadMessages.size()), texts.end());
    EXPECT_EQ(last, std::vector<std::string>(c.downloadMessages.begin(), c.downloadMessages.end()));
    const auto& recorded = job.gauge->jobs()[0];
    if (c.downloads) {
      EXPECT_EQ(state, gauge::CDownloadDataDlg::State::Finished);
      EXPECT_EQ(readAll(job.path("out.txt")), expectedText(recorded, job.gauge->calibration()));
    } else {
      EXPECT_EQ(state, gauge::CDownloadDataDlg::State::Failed);
      // Both files closed with what arrived before the link gave up: whole records only.
      EXPECT_EQ((readAll(job.path("out.BIN")).size() - 256) % 12, 0u);
    }
    if (c.resent) {
      int n = 0;
      for (const auto& m : job.station->link().simulator->messagesTo(240)) n += m.size() == 4 && m[3] == c.resent;
      EXPECT_GE(n, c.times);
    }
    if (std::string(c.fault) == "gauge-frame-skip=30") {
      EXPECT_TRUE(job.panel->frameSkipped());
    }
    if (std::string(c.fault) == "gauge-dead-after-page=1") {
      // The tenth attempt at the second page is the last: 0x6E, then nine times 0x68 with page 1.
      int again = 0;
      for (const auto& m : job.station->link().simulator->messagesTo(240))
        again += m == std::vector<std::uint8_t>{5, 240, 0, 0x68, 0, 1};
      EXPECT_EQ(again, 9);
    }
  }
}

}  // namespace
}  // namespace kvr
