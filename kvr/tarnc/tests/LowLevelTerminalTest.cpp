// The low-level command terminal against the simulated TARN-C tool: the bytes of every
// command, refusals that send nothing, the reply texts and the read-backs, on virtual time.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/records/ToolCodes.h"
#include "kvr/tarnc/CTARNC_LowLevelCmdDlg.h"
#include "panelsim/TarnCTool.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/ScriptedPrompter.h"
#include "toolslib/Library.h"

using kvr::tarnc::CTARNC_LowLevelCmdDlg;
using Bytes = std::vector<std::uint8_t>;

namespace {

// The tool's frames come every 1/15 s of virtual time and are decoded into the globals; the
// terminal's messages reach the tool as the panel delivers them.
class Rig : public platform::EventTarget {
 public:
  explicit Rig(panelsim::TarnCSettings settings = {}) : tool(std::move(settings)) {
    env.well.latitudeDeg = 40;
    env.temperatureC = 45;
    loop.startTimer(this, 1, 1);
  }
  ~Rig() override { loop.forget(this); }

  void onTimer(int) override {
    while (frameTimeMs() <= loop.clock().nowMs()) frame();
  }
  void onCommand(int, std::int64_t) override {}

  platform::testing::ManualLoop loop;
  platform::testing::ScriptedPrompter prompter;
  tools::Library lib;
  panelsim::TarnCTool tool;
  panelsim::Environment env;
  panelsim::Noise noise{5};
  std::vector<Bytes> sent;
  bool deliver = true;
  CTARNC_LowLevelCmdDlg terminal{{loop, prompter, lib.globals(), [this](const Bytes& m) {
                                    sent.push_back(m);
                                    if (deliver) tool.onMessage(m);
                                    return true;
                                  }}};

  // Chooses, types and sends, then lets two seconds pass.
  void run(int command, const std::string& values) {
    terminal.choose(command);
    terminal.setValues(values);
    terminal.sendToTool();
    loop.advance(2000);
  }

 private:
  double frameTimeMs() const { return frames_ * 1000.0 / 15; }
  void frame() {
    std::uint8_t b[24];
    tool.produce(env, noise, b);
    ++frames_;
    env.timeS = frames_ / 15.0;
    for (int i = 0; i < 24; ++i) ring_[i] = b[i];
    float* p = row_.data();
    lib.family(records::kTarnC)->processData(ring_, 0, 0, &p, row_.data(), row_.data() + 24, {});
  }
  std::int64_t frames_ = 0;
  std::vector<std::uint8_t> ring_ = std::vector<std::uint8_t>(32768);
  std::vector<float> row_ = std::vector<float>(25);
};

}  // namespace

TEST(LowLevelTerminal, EveryCommandSendsItsBytesAndShowsTheReply) {
  const struct {
    int command;
    const char* values;
    Bytes message;
    const char* status;
  } cases[] = {
      {0, "1013", {7, 227, 0, 0x9B, 0x03, 0x61, 0xF5, 0x03}, "Angle Position ACK received"},
      {1, "  268", {7, 227, 0, 0x9B, 0x03, 0x62, 0x0C, 0x01}, "Angle Position ACK received"},
      {2, "524x", {7, 227, 0, 0x9B, 0x03, 0x63, 0x0C, 0x02}, "Angle Position ACK received"},
      {3, "780\r\n1", {7, 227, 0, 0x9B, 0x03, 0x64, 0x0C, 0x03}, "Angle Position ACK received"},
      {4, "150,10,20,0", {7, 227, 0, 0x97, 150, 10, 20, 0}, "General ACK received"},
      {5, "-10,1", {4, 227, 0, 0x83, 0xCA}, "Frequency ACK received"},
      {7, "55", {6, 227, 0, 0x9C, 0x02, 0x9A, 55}, "Frequency ACK received"},
      {8, "", {5, 227, 0, 0x9C, 0x02, 0x9B}, "Frequency ACK received"},
      {9, "", {5, 227, 0, 0x9C, 0x02, 0x9C}, "Frequency ACK received"},
      {10, "500", {6, 227, 0, 0x98, 0xF4, 0x01, 0x01}, "Angle Position ACK received"},
      {12, "50000", {5, 227, 0, 0xA2, 0x50, 0xC3}, "General ACK received"},
      {13, "10", {5, 227, 0, 0xA3, 10, 0}, "General ACK received"},
      {14, "300", {5, 227, 0, 0xA4, 0x2C, 0x01}, "General ACK received"},
      {15, "0", {4, 227, 0, 0xA5, 0}, "General ACK received"},
  };
  Rig rig;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    rig.sent.clear();
    rig.run(c.command, c.values);
    ASSERT_EQ(rig.sent.size(), 1u);
    EXPECT_EQ(rig.sent[0], c.message);
    EXPECT_EQ(rig.terminal.status(), c.status);
  }
  EXPECT_TRUE(rig.prompter.messages().empty());
}

TEST(LowLevelTerminal, RefusedInputsSendNothing) {
  const struct {
    int command;
    const char* values;
    const char* message;
  } cases[] = {
      {0, "1014", "The specified value range must be from 10 to 1013"},
      {10, "9", "The specified value range must be from 10 to 1013"},
      {4, "150", "You must use a comma separator ',' beetwen the first two values"},
      {4, "150,10", "You must use a comma separator ',' beetwen the second and third values"},
      {4, "150,10,20", "You must use a comma separator ',' beetwen the third and forth values"},
      {4, "49,10,20,0", "The specified value range for the initial PWM pulse must be from 50 to 200"},
      {4, "150,101,20,0", "The specified value range for PWM time window must be from 10 to 100"},
      {4, "150,10,41,0", "The specified value range for cycle timeout must be from 5 to 40"},
      {4, "150,10,20,11", "The specified value range position accuracy must be from 0 to 10"},
      {5, "10", "You must use a comma separator ',' beetwen the value and TURN-ON activation flag"},
      {5, "64,0", "The specified value range for the DTG frequency must be from -63 to 63"},
      {5, "10,2", "The specified value for the TURN-ON activation flag must be 0=OFF or 1=ON"},
      {6, "20,40\r\n30,45\r\n40,50\r\n50,55\r\n60,60\r\n70,65\r\n80,70",
       "This command takes 8 sets of values separated by a comma ','\nYou have entered more or less than required values !"},
      {6, "20,40\r\n30,45\r\n40,50\r\n50 55\r\n60,60\r\n70,65\r\n80,70\r\n90,75",
       "You must use a comma separator ',' beetwen the temperature and frequency values"},
      {6, "0,40\r\n30,45\r\n40,50\r\n50,55\r\n60,60\r\n70,65\r\n80,70\r\n90,75",
       "The specified value range for temperature must be from 1 to 200"},
      {6, "20,40\r\n30,45\r\n40,50\r\n50,101\r\n60,60\r\n70,65\r\n80,70\r\n90,75",
       "The specified value range for frequency must be from 30 to 100"},
      {7, "29", "The specified value range must be from 30 to 100"},
      {12, "70000", "The specified value range must be from 10 to 50000"},
      {13, "99999999999999999999", "The specified value range must be from 10 to 50000"},
      {15, "256", "The specified value range must be from 0 to 255"},
  };
  Rig rig;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.values);
    rig.prompter.clear();
    rig.run(c.command, c.values);
    ASSERT_EQ(rig.prompter.messages().size(), 1u);
    EXPECT_EQ(rig.prompter.messages()[0].title, "ERROR");
    EXPECT_EQ(rig.prompter.messages()[0].text, c.message);
  }
  EXPECT_TRUE(rig.sent.empty());
}

TEST(LowLevelTerminal, TheFrequencyTableGoesInFourConfirmedParts) {
  Rig rig;
  std::vector<std::string> shown;
  rig.terminal.setChanged([&] {
    if (!rig.terminal.status().empty() && (shown.empty() || shown.back() != rig.terminal.status()))
      shown.push_back(rig.terminal.status());
  });
  rig.run(6, "20,40\r\n30,45\r\n40,50\r\n50,55\r\n60,60\r\n70,65\r\n80,70\r\n90,75\r\n");
  ASSERT_EQ(rig.sent.size(), 4u);
  EXPECT_EQ(rig.sent[0], (Bytes{8, 227, 0, 0x9E, 20, 40, 30, 45, 40}));
  EXPECT_EQ(rig.sent[3], (Bytes{8, 227, 0, 0xA1, 80, 70, 90, 75, 0}));
  EXPECT_EQ(shown, (std::vector<std::string>{"Frequency ACK received 1", "Frequency ACK received 2",
                                             "Frequency ACK received 3", "Frequency ACK received"}));
  // Read back through A6.
  rig.run(11, "");
  EXPECT_EQ(rig.sent.back(), (Bytes{3, 227, 0, 0xA6}));
  EXPECT_EQ(rig.terminal.status(), "All data received.");
  EXPECT_EQ(rig.terminal.values(), "20,40\r\n30,45\r\n40,50\r\n50,55\r\n60,60\r\n70,65\r\n80,70\r\n90,75\r\n");
}

TEST(LowLevelTerminal, PositionsAndThresholdsReadBack) {
  Rig rig;
  rig.run(1, "300");
  rig.run(16, "");
  EXPECT_EQ(rig.sent.back(), (Bytes{3, 227, 0, 0x99}));
  EXPECT_EQ(rig.terminal.status(), "All data received.");
  EXPECT_EQ(rig.terminal.values(), "Pos 0  : 12\r\nPos 90 : 300\r\nPos 180: 524\r\nPos 270: 780");
  rig.run(12, "5000");
  rig.run(13, "7000");
  rig.run(15, "25");
  rig.run(17, "");
  EXPECT_EQ(rig.sent.back(), (Bytes{3, 227, 0, 0xA7}));
  EXPECT_EQ(rig.terminal.values(), "GyroX: 5000\r\nGyroY: 7000\r\nTime Window:25\r\n");
}

TEST(LowLevelTerminal, ATroubledToolShowsTimeoutsAndMissingData) {
  {
    panelsim::TarnCSettings s;
    s.faults.noAck = true;
    Rig rig(s);
    rig.run(15, "20");
    EXPECT_EQ(rig.terminal.status(), "No ACK received");
    rig.run(6, "20,40\n30,45\n40,50\n50,55\n60,60\n70,65\n80,70\n90,75");
    EXPECT_EQ(rig.terminal.status(), "No ACK received");
    EXPECT_EQ(rig.sent.size(), 2u) << "no next part without an ACK";
  }
  {
    panelsim::TarnCSettings s;
    s.faults.shortTable = true;
    Rig rig(s);
    rig.run(16, "");
    EXPECT_EQ(rig.terminal.status(), "Missing data.");
  }
  {
    Rig rig;
    rig.deliver = false;  // the message never reaches the tool
    rig.run(16, "");
    EXPECT_EQ(rig.terminal.status(), "Tool response timeout.");
    rig.run(11, "");
    EXPECT_EQ(rig.terminal.status(), "Tool response timeout.");
  }
}

TEST(LowLevelTerminal, ChoosingACommandShowsItsHelpAndClearsTheBoxes) {
  Rig rig;
  rig.run(0, "1013");
  rig.terminal.choose(9);
  EXPECT_EQ(rig.terminal.help(), "This command will disable the IMU frequency table\the IMU will keep the current value");
  EXPECT_EQ(rig.terminal.status(), "");
  EXPECT_EQ(rig.terminal.values(), "");
}
