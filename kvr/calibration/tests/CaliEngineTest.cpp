// The calibration engine against a scripted procedure: what each code does, the waits on
// the poll and time-out timers, and the mends (time-out counter, closing, unknown codes).

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "common/datafile/MemoryFiles.h"
#include "kvr/calibration/CCaliManager.h"
#include "kvr/calibration/CalibrationMessages.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/ScriptedPrompter.h"

namespace kvr {
namespace {

using platform::Answer;
using platform::testing::ManualLoop;
using platform::testing::ScriptedPrompter;
namespace t = cal_text;

// One step of a scripted procedure: the code it returns, the text it writes, and what it
// does with the status.
struct Call {
  unsigned cal, step, statusIn;
};
using Procedure = std::function<int(unsigned cal, unsigned step, unsigned* status, char* text)>;

class ScriptFamily final : public tools::Family {
 public:
  std::uint8_t code() const override { return 232; }
  std::string_view name() const override { return "SEVO"; }
  std::uint32_t dataBytes() const override { return 0; }
  std::uint32_t rowFloats() const override { return 0; }
  void addDataChannels(records::ChannelList&) const override {}
  std::uint32_t processData(std::span<const std::uint8_t>, std::uint32_t, std::uint32_t, float**, float*, float*,
                            const tools::FrameContext&) override {
    return 0;
  }
  std::vector<records::ToolParameterS>& getParameterList() override { return params_; }
  bool loadParameterList(std::span<const records::ToolParameterS>, bool) override { return false; }
  void init() override {}
  std::vector<records::ToolCalS>& getCalList() override { return cals_; }
  void loadCalList() override {
    cals_.resize(2);
    cals_[0].setName("Transfer");
    cals_[1].setName("Reference");
  }
  int executeCal(unsigned cal, unsigned step, unsigned* status, char* text) override {
    calls.push_back({cal, step, *status});
    return procedure(cal, step, status, text);
  }
  void freeAllDynamicMem() override {}

  Procedure procedure;
  std::vector<Call> calls;

 private:
  std::vector<records::ToolParameterS> params_;
  std::vector<records::ToolCalS> cals_;
};

class Families final : public CalibrationFamilies {
 public:
  tools::Family* family(std::uint8_t code) override { return code == 232 ? &sevo : nullptr; }
  int progress() const override { return position; }
  ScriptFamily sevo;
  int position = 0;
};

class Sender final : public DownholeSender {
 public:
  int sendParameters(const std::vector<records::ToolParameterS*>&, bool) override { return 0; }
  bool sendMessage(const std::uint8_t* bytes, std::uint32_t length) override {
    sent.emplace_back(bytes, bytes + length);
    return works;
  }
  std::vector<std::vector<std::uint8_t>> sent;
  bool works = true;
};

struct Bench {
  Bench() {
    records::ToolEntry sevo;
    sevo.name = "SEVO-P";
    sevo.toolCode = 232;
    sevo.setKind(1);
    string.push_back(sevo);
    files.createFolder("s");
  }
  std::unique_ptr<CCaliManager> open() {
    return std::make_unique<CCaliManager>(CalibrationPorts{families, sender, prompter, loop, loop.clock(), view, files},
                                          string, "s");
  }
  std::string report() const { return files.text("s/CaliReport.txt"); }

  Families families;
  Sender sender;
  ScriptedPrompter prompter;
  ManualLoop loop;
  RecordingCalibrationView view;
  MemoryFileSystem files;
  records::ToolList string;
};

// A procedure from a list of steps: {code, text}.
Procedure steps(std::vector<std::pair<int, std::string>> list) {
  return [list](unsigned, unsigned step, unsigned*, char* text) {
    if (step >= list.size()) return 0;
    std::strcpy(text, list[step].second.c_str());
    return list[step].first;
  };
}

TEST(CaliEngine, CodesOfOneRoundAndTheirAnswers) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, std::string>> steps;
    std::vector<Answer> answers;
    std::string output;    // what reached the window and the report
    unsigned lastStep;     // the last step the procedure was called with
  } cases[] = {
      {"texts then the end", {{2, "one "}, {2, "two"}, {0, ""}}, {}, "one two", 2},
      {"OK goes on", {{1, "Place the tool"}, {2, "done"}}, {Answer::Ok}, "done", 2},
      {"Cancel ends", {{1, "Place the tool"}, {2, "done"}}, {Answer::Cancel}, "", 0},
      {"7: Continue goes on", {{7, "point"}, {2, "done"}}, {Answer::Continue}, "done", 2},
      {"7: Cancel, No, then Continue", {{7, "point"}, {2, "done"}}, {Answer::Cancel, Answer::No, Answer::Continue},
       "done", 2},
      {"7: Cancel, Yes ends", {{7, "point"}, {2, "done"}}, {Answer::Cancel, Answer::Yes}, "", 0},
      {"an unknown code ends the run", {{2, "a"}, {42, ""}, {2, "never"}}, {}, std::string("a") + t::kUnknownCode, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bench b;
    b.families.sevo.procedure = steps(c.steps);
    for (Answer a : c.answers) b.prompter.queue(a);
    auto cal = b.open();
    EXPECT_EQ(cal->title(), "SEVO Calibration");
    EXPECT_EQ(cal->calibrationNames(), (std::vector<std::string>{"Transfer", "Reference"}));
    cal->start(1);
    EXPECT_EQ(b.view.output, c.output);
    EXPECT_EQ(b.families.sevo.calls.back().step, c.lastStep);
    EXPECT_EQ(b.families.sevo.calls.back().cal, 2u);
    EXPECT_FALSE(cal->running());
    EXPECT_EQ(cal->step(), 0u) << "every end resets the step";
    EXPECT_EQ(b.prompter.unusedAnswers(), 0u);
    EXPECT_EQ(b.report().find("KVR Calibration Report"), 0u);
  }
}

TEST(CaliEngine, TryAgainGoesBackToTheStepTheStatusNamesAndCode8CancelSetsStatus2) {
  Bench b;
  b.families.sevo.procedure = [](unsigned, unsigned step, unsigned* status, char* text) {
    std::strcpy(text, "accept?");
    if (step == 3) {
      *status = 1;  // Try Again comes back to step 1
      return 8;
    }
    return step < 5 ? 2 : 0;
  };
  b.prompter.queue(Answer::TryAgain);
  b.prompter.queue(Answer::Cancel);
  auto cal = b.open();
  cal->start(1);
  std::vector<unsigned> seen;
  for (const auto& call : b.families.sevo.calls) seen.push_back(call.step * 10 + call.statusIn);
  // Steps 0..3, back to 1 (status 1 as the procedure left it), 2, 3 again; Cancel: step 4 sees status 2.
  EXPECT_EQ(seen, (std::vector<unsigned>{0, 10, 20, 30, 11, 21, 31, 42, 52}));
}

// Calibration 1 waits for the tool: a request on code 5 with status 1, then polls until
// the procedure says the block is in.
struct Transfer {
  bool answered = false;  // the simulated tool has sent its block
  bool requested = false;
  int operator()(unsigned, unsigned step, unsigned* status, char* text) {
    if (step == 0) {
      requested = false;
      std::strcpy(text, "Reading\n");
      return 2;
    }
    if (step == 1) {
      if (!requested) {
        requested = true;
        const char message[] = {3, char(232), 0, 0x66, 0};
        std::memcpy(text, message, sizeof message);
        *status = 1;
        return 5;
      }
      *status = answered ? 0 : 2;
      return 5;
    }
    if (step == 2) {
      std::strcpy(text, "Block in\n");
      return 2;
    }
    return 0;
  }
};

TEST(CaliEngine, ASilentToolTimesOutAfterFiveSecondsAndTheNextRunWorks) {
  Bench b;
  auto transfer = std::make_shared<Transfer>();
  b.families.sevo.procedure = [transfer](unsigned c, unsigned s, unsigned* st, char* x) { return (*transfer)(c, s, st, x); };
  auto cal = b.open();
  cal->start(0);
  EXPECT_TRUE(cal->running());
  EXPECT_TRUE(b.view.progressVisible);
  EXPECT_EQ(b.view.progressText, t::kTransferring);
  ASSERT_EQ(b.sender.sent.size(), 1u);
  EXPECT_EQ(b.sender.sent[0], (std::vector<std::uint8_t>{3, 232, 0, 0x66}));

  b.loop.advance(4900);
  EXPECT_TRUE(cal->running()) << "still inside the 5 s";
  b.loop.advance(300);
  EXPECT_FALSE(cal->running());
  EXPECT_EQ(b.view.output, std::string("Reading\n") + t::kTimeout);
  EXPECT_EQ(b.sender.sent.back(), (std::vector<std::uint8_t>{3, 232, 0x00, 0x65})) << "the tool being calibrated";
  EXPECT_FALSE(b.loop.timerActive(cal.get(), CCaliManager::kPollTimer));
  EXPECT_FALSE(b.loop.timerActive(cal.get(), CCaliManager::kTimeoutTimer));

  // The counter starts again with its timer: the next run waits and gets its block.
  b.view.output.clear();
  cal->start(0);
  b.loop.advance(1000);
  EXPECT_TRUE(cal->running());
  transfer->answered = true;
  b.loop.advance(200);
  EXPECT_FALSE(cal->running());
  EXPECT_EQ(b.view.output, "Reading\nBlock in\n");
  EXPECT_FALSE(b.view.progressVisible);
  EXPECT_NE(b.report().find("Reading\r\nBlock in\r\n"), std::string::npos) << "CR LF in the report";
}

TEST(CaliEngine, ClosingMidCalibrationStopsTheTimersAndResetsTheStep) {
  Bench b;
  auto transfer = std::make_shared<Transfer>();
  b.families.sevo.procedure = [transfer](unsigned c, unsigned s, unsigned* st, char* x) { return (*transfer)(c, s, st, x); };
  auto cal = b.open();
  cal->start(0);
  EXPECT_EQ(cal->step(), 1u);
  cal->close();
  EXPECT_EQ(cal->step(), 0u);
  const auto calls = b.families.sevo.calls.size();
  b.loop.advance(10000);
  EXPECT_EQ(b.families.sevo.calls.size(), calls) << "no timer runs the engine after the close";
  EXPECT_EQ(b.view.output.find("Timeout"), std::string::npos);
}

TEST(CaliEngine, Code255WaitsForTheProgressAndFileCodesFillTheText) {
  Bench b;
  std::string chosen;
  b.families.sevo.procedure = [&chosen](unsigned, unsigned step, unsigned*, char* text) {
    switch (step) {
      case 0: std::strcpy(text, "Measuring"); return 255;
      case 1: return 3;
      case 2: chosen = text; return 4;
      case 3: chosen += std::string("|") + text; return 0;
      default: return 0;
    }
  };
  b.prompter.queueFile("in.sct");
  b.prompter.queueFile(std::nullopt);  // Cancel of the save dialog ends the run
  auto cal = b.open();
  cal->start(1);
  EXPECT_TRUE(b.view.progressVisible);
  EXPECT_EQ(b.view.progressText, "Measuring");
  b.loop.advance(2000);
  EXPECT_TRUE(cal->running());
  b.families.position = 100;
  b.loop.advance(500);
  EXPECT_FALSE(cal->running());
  EXPECT_EQ(chosen, "in.sct");
  ASSERT_EQ(b.prompter.fileRequests().size(), 2u);
  EXPECT_EQ(b.prompter.fileRequests()[0].filter, t::kSctFilter);
  EXPECT_EQ(b.families.sevo.calls.back().step, 2u) << "the save dialog's Cancel ended it";
}

TEST(CaliEngine, FailedSendsAndReportWritesAreShown) {
  Bench b;
  b.files.setSpaceLeft(0);
  b.sender.works = false;
  b.families.sevo.procedure = [](unsigned, unsigned step, unsigned*, char* text) {
    const char message[] = {3, char(232), 0, 0x67, 0};
    std::memcpy(text, message, sizeof message);
    return step == 0 ? 6 : 0;
  };
  auto cal = b.open();
  EXPECT_TRUE(b.prompter.saw(t::kTitleError, t::kReportFailed));
  cal->start(1);
  EXPECT_TRUE(b.prompter.saw(t::kTitleError, t::kSendFailed));
}

TEST(CaliEngine, NoToolWithCalibrationsGivesAnEmptyList) {
  Bench b;
  b.string.clear();
  auto cal = b.open();
  EXPECT_FALSE(cal->hasTools());
  EXPECT_TRUE(cal->calibrationNames().empty());
  EXPECT_EQ(cal->title(), "Tool Calibration");
  cal->start(0);
  EXPECT_FALSE(cal->running());
}

}  // namespace
}  // namespace kvr
