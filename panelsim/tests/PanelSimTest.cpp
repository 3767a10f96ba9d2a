// The simulated panel: what it hears, what it sends, and how its readings behave.

#include <gtest/gtest.h>

#include <cmath>

#include "panelsim/Crc16.h"
#include "panelsim/Faults.h"
#include "panelsim/HostProtocol.h"
#include "panelsim/PanelSimulator.h"
#include "panelsim/ToolNames.h"
#include "platform/testing/ManualLoop.h"
#include "toolslib/wire/Layouts.h"

namespace panelsim {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(HostProtocol, SequencesSplitAnywhereBecomeOneEventEach) {
  const Bytes cmd = {0x0A, 0x08, 0x1E, 0x06, 0x03, 0xFE, 0x01, 0x00, 0x50, 0xBE, 0x0B};
  Bytes stream = {0x0A, 0x01, 0x07, 0x0B, 0xFE, 0xFE, 0x0A, 0x01, 0x18, 0x0B};
  stream.insert(stream.end(), cmd.begin(), cmd.end());
  Bytes badCrc = cmd;
  badCrc[9] ^= 1;
  stream.insert(stream.end(), badCrc.begin(), badCrc.end());
  stream.insert(stream.end(), {0x0A, 0x01, 0x0A, 0x0B});
  HostProtocol p;
  std::vector<HostEvent> events;
  for (std::uint8_t b : stream) p.feed(b, events);
  ASSERT_EQ(events.size(), 7u);
  EXPECT_EQ(events[0].kind, HostEvent::Ping);
  EXPECT_EQ(events[1].kind, HostEvent::Break);
  EXPECT_EQ(events[3].kind, HostEvent::Initialise);
  EXPECT_EQ(events[4].kind, HostEvent::Command);
  EXPECT_EQ(events[4].message, (Bytes{0x03, 0xFE, 0x01, 0x00}));
  EXPECT_EQ(events[5].kind, HostEvent::BadCommand);
  EXPECT_EQ(events[6].kind, HostEvent::ReadRequest);
}

TEST(PanelBlock, CarriesDepthCounterTensionHeadValuesAndUnits) {
  std::uint8_t b[12];
  encodePanelBlock({-12.34, 0xABCD, -300, 185.4, 500, true}, b);
  EXPECT_EQ(static_cast<std::int16_t>(b[0] << 8 | b[1]), -12);
  EXPECT_EQ(static_cast<std::int8_t>(b[2]), -34);
  EXPECT_EQ(b[3], 0xAB);
  EXPECT_EQ(b[4], 0xCD);
  EXPECT_EQ(static_cast<std::int16_t>(b[6] << 8 | b[7]), -300);
  EXPECT_EQ(b[8], 185);
  EXPECT_EQ(b[9], 4);
  EXPECT_EQ(b[10] & 0x20, 0x20);
  EXPECT_NEAR(((b[10] & 3) << 8 | b[11]) * kMilliampsPerCount, 500, 1);
  encodePanelBlock({0, 0, 0, 0, 0, false}, b);
  EXPECT_EQ(b[10] & 0x20, 0);
}

TEST(Winch, DepthFollowsDirectionAndTensionIsHigherComingUp) {
  Winch down({true, 1000, 3600, Direction::Down});
  Winch up({true, 1000, 3600, Direction::Up});
  Winch still({true, 1000, 3600, Direction::Still});
  EXPECT_NEAR(down.at(10, 0).depth, 1010, 1e-9);  // 3600 ft/h is 1 ft/s
  EXPECT_NEAR(up.at(10, 0).depth, 990, 1e-9);
  EXPECT_NEAR(still.at(10, 0).depth, 1000, 1e-9);
  EXPECT_GT(up.at(10, 0).tensionLb, still.at(10, 0).tensionLb);
  EXPECT_GT(still.at(10, 0).tensionLb, down.at(10, 0).tensionLb);
  EXPECT_GT(down.at(1000, 0).tensionLb, down.at(0, 0).tensionLb) << "cable weight";
  Winch metric({false, 300, 9, Direction::Down});
  EXPECT_NEAR(metric.at(60, 0).depth, 309, 1e-9);
}

TEST(Gyro, SensorsSeeEarthRateAndGravityForTheAttitude) {
  const SensorTruth vertical = sensorTruth({30, 0, 0, 0});
  EXPECT_NEAR(vertical.gravity[2], 1, 1e-12);
  EXPECT_NEAR(vertical.rate[0], 15.041 * std::cos(30 * 3.1415926535898 / 180), 1e-9);  // x points north
  EXPECT_NEAR(vertical.rate[1], 0, 1e-9);
  const SensorTruth east = sensorTruth({45, 90, 90, 0});  // horizontal, heading east
  EXPECT_NEAR(std::hypot(east.rate[0], std::hypot(east.rate[1], east.rate[2])), 15.041, 1e-9);
  EXPECT_NEAR(east.rate[2], 0, 1e-9) << "an east-west tool axis sees no earth rate along it";
  EXPECT_NEAR(east.gravity[2], 0, 1e-9);
  const SensorTruth turned = sensorTruth({30, 0, 0, 0}, 180);
  EXPECT_NEAR(turned.rate[0], -vertical.rate[0], 1e-9) << "half a turn of the indexer flips x";
}

// Runs a panel streaming data frames for the given seconds.
std::vector<SentFrame> stream(SimConfig config, int seconds) {
  platform::testing::ManualLoop loop;
  config.recordFrames = true;
  config.discoveryFrames = 0;
  PanelSimulator sim(config, loop.clock());
  const Bytes enable = {0x0A, 0x08, 0x1E, 0x06, 0x03, 0xFE, 0x01, 0x00, 0x50, 0xBE, 0x0B};
  const std::uint16_t crc = crc16Xmodem(Bytes{0x03, 0xFE, 0x02, 0x00}.data(), 4);
  const Bytes read = {0x0A, 0x08, 0x1E, 0x06, 0x03, 0xFE, 0x02, 0x00, static_cast<std::uint8_t>(crc >> 8),
                      static_cast<std::uint8_t>(crc), 0x0B, 0x0A, 0x01, 0x0A, 0x0B};
  sim.hostWrite(enable.data(), enable.size());
  sim.hostWrite(read.data(), read.size());
  loop.advance(seconds * 1000);
  EXPECT_EQ(sim.stats().dataFramesSent, static_cast<std::uint32_t>(seconds * 15));
  return sim.sentFrames();
}

TEST(ToolModels, CollarLocatorPulsesAboutEveryThirtyFeet) {
  SimConfig c;
  c.toolCodes = {210};
  c.winch = {true, 1000, 3600, Direction::Down};
  const auto frames = stream(c, 120);  // 120 ft of hole
  int pulses = 0;
  bool inPulse = false;
  for (const auto& f : frames) {
    double v[tools::wire::brix::kFieldCount];
    tools::wire::decode(tools::wire::brix::kLayout, f.payload.data(), v);
    const bool high = v[0] > 160;
    if (high && !inPulse) ++pulses;
    inPulse = high;
  }
  EXPECT_GE(pulses, 3);
  EXPECT_LE(pulses, 5);
}

TEST(ToolModels, PressureAndTemperatureFollowTrueVerticalDepth) {
  SimConfig c;
  c.toolCodes = {232};
  c.winch = {true, 5000, 0, Direction::Still};
  c.well.inclinationDeg = 60;  // 2500 ft vertical
  const auto frames = stream(c, 1);
  double v[tools::wire::sevo::kFieldCount];
  tools::wire::decode(tools::wire::sevo::kLayout, frames.back().payload.data(), v);
  EXPECT_NEAR(v[tools::wire::sevo::kPressure], 14.7 + 0.433 * 2500, 0.5);
  EXPECT_NEAR(v[tools::wire::sevo::kTemp], 21 + 0.00833 * 2500, 0.2);
}

TEST(ToolModels, SpinnerTurnsWithFluidPastTheToolAndStallsBelowItsThreshold) {
  auto rps = [](double speedFtPerH, Direction d, double fluid) {
    SimConfig c;
    c.toolCodes = {230};
    c.winch = {true, 1000, speedFtPerH, d};
    c.well.fluidVelocityFtPerMin = fluid;
    const auto frames = stream(c, 1);
    double v[tools::wire::dune::kFieldCount];
    tools::wire::decode(tools::wire::dune::kLayout, frames.back().payload.data(), v);
    return v[tools::wire::dune::kSpin];
  };
  EXPECT_GT(rps(3600, Direction::Down, 60), rps(0, Direction::Still, 60)) << "running in against the flow";
  EXPECT_LT(rps(3600, Direction::Up, 60), rps(0, Direction::Still, 60));
  EXPECT_EQ(rps(0, Direction::Still, 3), 0);
}

TEST(PanelSimulator, TheSameSeedRepeatsARunByteForByte) {
  SimConfig c;
  c.toolCodes = {227, 230};
  c.well = {52, 30, 270, 45};
  const auto a = stream(c, 2), b = stream(c, 2);
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].payload, b[i].payload);
}

TEST(PanelSimulator, RefusesStringsItCannotDescribe) {
  EXPECT_FALSE(PanelSimulator::checkToolString({227, 224, 240}));  // 9 addresses: one discovery block lists them
  EXPECT_TRUE(PanelSimulator::checkToolString({99}));
  EXPECT_FALSE(PanelSimulator::checkToolString({227, 210, 230, 254}));
}

TEST(Faults, NamesAndValues) {
  Faults f;
  EXPECT_FALSE(applyFault(f, "drop-bytes"));
  EXPECT_DOUBLE_EQ(f.dropBytes, 0.01);
  EXPECT_FALSE(applyFault(f, "stall=5,2.5"));
  EXPECT_DOUBLE_EQ(f.stallForS, 2.5);
  EXPECT_FALSE(applyFault(f, "disconnect=3"));
  EXPECT_DOUBLE_EQ(f.disconnectForS, 3);
  EXPECT_FALSE(applyFault(f, "init-error"));
  EXPECT_TRUE(applyFault(f, "bad-panel-crc=0"));
  EXPECT_TRUE(applyFault(f, "corrupt-bytes=2"));
  EXPECT_TRUE(applyFault(f, "lightning"));
  EXPECT_TRUE(applyFault(f, "no-ping=1"));
}

TEST(ToolNames, ListedNamesFirstThenTheFamilyPrefix) {
  const std::map<std::string, std::uint8_t> listed = {{"SPIN-X", 230}};
  EXPECT_EQ(toolCodeForName("SPIN-X", listed), 230);
  EXPECT_EQ(toolCodeForName("TARNB-FSK", listed), 224);
  EXPECT_EQ(toolCodeForName("TARN-C", listed), 227);
  EXPECT_EQ(toolCodeForName("TARN", listed), 220);
  EXPECT_EQ(toolCodeForName("DUNE-ROLA", listed), 230);
  EXPECT_FALSE(toolCodeForName("WIDGET", listed));
}

}  // namespace
}  // namespace panelsim
