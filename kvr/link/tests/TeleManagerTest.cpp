// Start and stop telemetry, discovery and the string check, downhole messages, injected
// faults and a panel that goes away: the whole link against the simulated panel on
// virtual time.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "kvr/link/TelemetryMessages.h"
#include "panelsim/Faults.h"
#include "kvr/link/tests/SimLink.h"

namespace kvr::testing {
namespace {

namespace t = tele_text;
constexpr std::uint8_t kBrix = 210, kDune = 230, kSevo = 232;

// Every committed frame is an undamaged data frame the panel sent, byte for byte, and every
// undamaged data frame from the first committed one on was committed, in order.
void expectRingHoldsExactlyTheSentFrames(SimLink& link) {
  ASSERT_FALSE(link.committed.empty());
  std::vector<panelsim::SentFrame> data;
  for (auto& f : link.sim->sentFrames())
    if (!f.discovery) data.push_back(f);
  const std::uint16_t first = link.counterOf(link.committed.front());
  auto it = std::find_if(data.begin(), data.end(), [&](const auto& f) { return f.counter == first; });
  ASSERT_NE(it, data.end());
  std::size_t k = 0;
  for (; it != data.end() && k < link.committed.size(); ++it) {
    if (it->damaged) continue;
    ASSERT_EQ(link.committed[k], it->payload) << "frame " << it->counter;
    ++k;
  }
  EXPECT_EQ(k, link.committed.size());
  EXPECT_EQ(it, data.end()) << "undamaged frames left uncommitted";
}

// After a reconnection the frames read during its discovery are gone; each committed frame
// is still an undamaged frame the panel sent, byte for byte, in the order sent.
void expectCommittedFramesWereSent(SimLink& link) {
  std::map<std::uint16_t, std::vector<std::uint8_t>> sent;
  for (const auto& f : link.sim->sentFrames())
    if (!f.discovery && !f.damaged) sent[f.counter] = f.payload;
  int last = -1;
  for (const auto& f : link.committed) {
    const std::uint16_t counter = link.counterOf(f);
    EXPECT_EQ(sent[counter], f) << "frame " << counter;
    EXPECT_GT(counter, last);
    last = counter;
  }
}

// Stops reading and takes in what the panel still holds, so that counts are final.
void finish(SimLink& link) {
  link.flags.keepRunning = false;
  link.loop.advance(300);
  while (link.port->Read()) {
  }
  link.port->Parse();
  link.dispatch();
}

TEST(TeleManager, StartDiscoversTheStringAndFillsTheRingWithExactlyTheFramesSent) {
  SimLink link(simConfig({kBrix, kDune}), {kBrix, kDune});
  ASSERT_TRUE(link.tele->StartTelemetry());
  EXPECT_TRUE(link.prompter.messages().empty());
  EXPECT_EQ(link.tele->discoveredAddresses(), (std::vector<std::uint8_t>{210, 211, 230}));
  EXPECT_EQ(link.string.tools()[0].frameOffset, 0u);
  EXPECT_EQ(link.string.tools()[1].frameOffset, 5u);
  EXPECT_EQ(link.string.surfaceOffset, 11u);
  EXPECT_TRUE(link.flags.keepRunning);
  EXPECT_EQ(link.statusLines.back(), std::string(t::kLinkOnPrefix) + "Simulated surface panel");
  EXPECT_EQ(link.backend->baudRate(), 500000u);
  EXPECT_EQ(link.backend->readTimeout(), 200u);

  link.loop.advance(10000);
  finish(link);
  EXPECT_GT(link.committed.size(), 140u);  // 15 a second
  expectRingHoldsExactlyTheSentFrames(link);
  EXPECT_EQ(link.port->goodFrames(), link.committed.size());
  EXPECT_EQ(link.port->crcErrors() + link.port->frameErrors(), 0u);
  EXPECT_GT(link.flags.readCycles.load(), 35u);
}

TEST(TeleManager, TheStringCheckFollowsTheDiscoveredOrder) {
  struct Case {
    std::vector<std::uint8_t> connected, reported, declared;
    bool passes;
    std::uint32_t brixOffset, duneOffset;
  };
  const std::vector<Case> cases = {
      {{kBrix, kDune}, {}, {kBrix, kDune}, true, 0, 5},
      {{kDune, kBrix}, {}, {kBrix, kDune}, true, 6, 0},
      {{kBrix, kDune}, {210, 230, 211}, {kBrix, kDune}, false, 0, 0},
      {{kBrix, kDune, kSevo}, {}, {kBrix, kDune}, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.connected) + " reported " + ::testing::PrintToString(c.reported));
    auto config = simConfig(c.connected);
    config.reportedAddresses = c.reported;
    SimLink link(config, c.declared);
    EXPECT_EQ(link.tele->StartTelemetry(), c.passes);
    if (c.passes) {
      EXPECT_EQ(link.string.tools()[0].frameOffset, c.brixOffset);
      EXPECT_EQ(link.string.tools()[1].frameOffset, c.duneOffset);
      link.loop.advance(2000);
      finish(link);
      expectRingHoldsExactlyTheSentFrames(link);
    } else {
      EXPECT_TRUE(link.prompter.saw(t::kTitleError, t::kStringDiffers));
      EXPECT_FALSE(link.tele->telemetryActive()) << "stopped after the failed check";
      EXPECT_FALSE(link.flags.keepRunning);
    }
  }
}

TEST(TeleManager, FailuresBeforeStreamingShowTheirTexts) {
  {
    auto config = simConfig({kDune});
    config.faults.initError = true;
    SimLink link(config, {kDune});
    EXPECT_FALSE(link.tele->StartTelemetry());
    EXPECT_TRUE(link.prompter.saw(
        "Error", "Error While Initializing Surface Telemetry Panel - Program will run without any acquisition"));
    EXPECT_FALSE(link.tele->telemetryActive());
  }
  {
    auto config = simConfig({kDune});
    config.faults.noPing = true;
    SimLink link(config, {kDune});
    EXPECT_FALSE(link.tele->StartTelemetry());
    EXPECT_TRUE(link.prompter.saw("Error",
                                  "USB Interface failed to comunicate !\nPlease check the USB cable is properly "
                                  "connected - Program will run without any acquisition"));
  }
  {
    SimLink link(simConfig({kDune}), {});
    EXPECT_FALSE(link.tele->StartTelemetry());
    EXPECT_TRUE(link.prompter.saw(t::kTitleError, t::kNoToolString));
  }
  {
    SimLink link(simConfig({kDune}), {});
    DeclaredString none({}, false);
    TeleManager tele(*link.port, none, link.flags, link.prompter, link.loop.clock(), link.loop);
    EXPECT_FALSE(tele.StartTelemetry());
    EXPECT_EQ(link.prompter.texts().back(), t::kNoSession);
    EXPECT_EQ(link.sim->stats().pings, 0u);
  }
}

TEST(TeleManager, InjectedFaultsOnlyMoveCountersAndNothingBadIsCommitted) {
  struct Case {
    const char* fault;
    bool crcOnly;  // every damaged frame counts exactly one CRC error
  };
  const std::vector<Case> cases = {
      {"bad-downhole-crc=7", true}, {"bad-panel-crc=7", true}, {"cut-frames=7", false},
      {"drop-bytes=0.005", false},  {"corrupt-bytes=0.005", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    auto config = simConfig({kBrix, kDune, kSevo});
    ASSERT_FALSE(panelsim::applyFault(config.faults, c.fault));
    SimLink link(config, {kBrix, kDune, kSevo});
    ASSERT_TRUE(link.tele->StartTelemetry());
    link.loop.advance(20000);
    finish(link);
    expectRingHoldsExactlyTheSentFrames(link);
    const std::uint16_t first = link.counterOf(link.committed.front());
    std::uint32_t damaged = 0;
    for (const auto& f : link.sim->sentFrames())
      if (!f.discovery && f.counter >= first && f.damaged) ++damaged;
    EXPECT_GT(damaged, 10u);
    if (c.crcOnly) {
      // Start bytes inside a refused frame's data may add frame errors; CRC errors are exact.
      EXPECT_EQ(link.port->crcErrors(), damaged);
    } else {
      EXPECT_GT(link.port->crcErrors() + link.port->frameErrors(), 0u);
    }
    EXPECT_EQ(link.port->goodFrames(), link.committed.size());
  }
}

TEST(TeleManager, DownholeMessagesReachTheToolsByteForByteAndTheStreamGoesOn) {
  SimLink link(simConfig({kBrix, kDune}), {kBrix, kDune});
  records::ToolParameterS speed;
  speed.messageLength = 5;
  speed.message = {230, 0x05, 0, 0, 0};
  speed.encoding = 3;
  speed.value = 300.7f;
  records::ToolParameterS surfaceOnly;

  EXPECT_EQ(link.tele->SendParameters({&speed}, false), 0);
  EXPECT_TRUE(link.prompter.saw(t::kTitleAttention, t::kNoTelemetryForSend));
  EXPECT_EQ(link.tele->SendParameters({&speed}, true), 0);
  EXPECT_TRUE(link.prompter.saw(t::kTitleAttention, t::kNoTelemetryForSendAll));

  ASSERT_TRUE(link.tele->StartTelemetry());
  link.loop.advance(1000);
  EXPECT_EQ(link.tele->SendParameters({&surfaceOnly, &speed}, false), 1);
  EXPECT_TRUE(link.prompter.saw(t::kTitleMessage, t::kSurfaceOnlyParameter));
  const std::uint8_t collar[] = {3, 211, 0x09, 0x01};
  EXPECT_TRUE(link.tele->SendDownholeMessage(collar, sizeof collar));
  const std::uint32_t before = link.port->goodFrames();
  link.loop.advance(2000);
  EXPECT_GT(link.port->goodFrames(), before + 20) << "the next read asks the panel to stream again";

  using Bytes = std::vector<std::uint8_t>;
  EXPECT_EQ(link.sim->messagesTo(kDune), (std::vector<Bytes>{{5, 230, 0x05, 0, 0x2C, 0x01}}));
  EXPECT_EQ(link.sim->messagesTo(kBrix), (std::vector<Bytes>{{3, 211, 0x09, 0x01}}));
  const auto all = link.sim->messages();
  EXPECT_EQ(all.front(), (Bytes{0x03, 0xFE, 0x01, 0x00}));
  EXPECT_EQ(all[1], (Bytes{0x03, 0xFE, 0x02, 0x00}));

  const Bytes tooLong(91, 0x01);
  const auto commands = link.sim->stats().commands;
  EXPECT_FALSE(link.tele->SendDownholeMessage(tooLong.data(), 91));
  EXPECT_EQ(link.sim->stats().commands, commands);
  EXPECT_TRUE(link.sim->streaming());
  finish(link);
  expectRingHoldsExactlyTheSentFrames(link);
}

TEST(TeleManager, StopIsRefusedDuringALogAndOtherwiseBreaksTheStream) {
  SimLink link(simConfig({kDune}), {kDune});
  ASSERT_TRUE(link.tele->StartTelemetry());
  link.loop.advance(1000);
  link.logRunning = true;
  const auto breaks = link.sim->stats().breaks;
  EXPECT_FALSE(link.tele->StopTelemetry());
  EXPECT_TRUE(link.prompter.saw(t::kTitleMessage, t::kStopLoggingFirst));
  EXPECT_EQ(link.sim->stats().breaks, breaks);
  EXPECT_TRUE(link.tele->telemetryActive());

  link.logRunning = false;
  EXPECT_TRUE(link.tele->StopTelemetry());
  EXPECT_FALSE(link.flags.keepRunning);
  EXPECT_FALSE(link.sim->streaming());
  EXPECT_EQ(link.tele->statusText(), t::kLinkOff);
  EXPECT_TRUE(link.usb->IsOpen()) << "the port stays open";
  EXPECT_EQ(link.sim->hostAvailable(), 0u) << "drained";
}

TEST(TeleManager, APanelThatGoesAwayIsNoticedAtOnceAndTheLinkComesBackByItself) {
  auto config = simConfig({kBrix, kDune});
  ASSERT_FALSE(panelsim::applyFault(config.faults, "disconnect=4,3"));
  SimLink link(config, {kBrix, kDune});
  ASSERT_TRUE(link.tele->StartTelemetry());
  const auto addresses = link.tele->discoveredAddresses();
  link.loop.advance(3500);
  EXPECT_EQ(link.tele->linkState(), LinkState::Acquiring);
  const std::uint32_t before = link.port->goodFrames();

  ASSERT_TRUE(link.loop.advanceUntil([&] { return link.tele->linkState() == LinkState::Lost; }, 1500));
  EXPECT_EQ(link.port->linkLosses(), 1u);
  EXPECT_EQ(link.statusLines.back(), std::string(t::kLinkLostPrefix) + "Simulated surface panel");
  link.loop.advance(2000);
  EXPECT_EQ(link.tele->linkState(), LinkState::Lost) << "still away";

  ASSERT_TRUE(link.loop.advanceUntil([&] { return link.tele->linkState() == LinkState::Acquiring; }, 3000));
  EXPECT_EQ(link.tele->reconnects(), 1u);
  EXPECT_EQ(link.tele->discoveredAddresses(), addresses);
  EXPECT_GE(link.port->goodFrames(), before) << "counters keep their totals";
  const std::size_t committedBefore = link.committed.size();
  link.loop.advance(3000);
  finish(link);
  EXPECT_GT(link.committed.size(), committedBefore + 40) << "telemetry resumed";
  EXPECT_EQ(link.sim->stats().disconnects, 1u);
  expectCommittedFramesWereSent(link);
}

TEST(TeleManager, ALongSilenceCountsAsALossAndShortOnesDoNot) {
  for (const char* fault : {"stall=2,1.5", "stall=2,6"}) {
    SCOPED_TRACE(fault);
    auto config = simConfig({kDune});
    ASSERT_FALSE(panelsim::applyFault(config.faults, fault));
    SimLink link(config, {kDune});
    ASSERT_TRUE(link.tele->StartTelemetry());
    link.loop.advance(15000);
    const bool longStall = std::string(fault) == "stall=2,6";
    EXPECT_EQ(link.port->linkLosses(), longStall ? 1u : 0u);
    EXPECT_EQ(link.tele->reconnects(), longStall ? 1u : 0u);
    EXPECT_EQ(link.tele->linkState(), LinkState::Acquiring);
    finish(link);
    if (longStall) expectCommittedFramesWereSent(link);
    else expectRingHoldsExactlyTheSentFrames(link);
  }
}

}  // namespace
}  // namespace kvr::testing
