// The panel protocol against a scripted device: command frames, CRCs, the frame parser's
// refusals and resynchronisation, the ring ends, and the USB port's device search.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "kvr/link/CUSBPort.h"
#include "kvr/link/Crc16.h"
#include "kvr/link/PPort.h"
#include "panelsim/Crc16.h"
#include "platform/testing/ManualLoop.h"
#include "usbxp/ScriptedBackend.h"

namespace kvr {
namespace {

using Bytes = std::vector<std::uint8_t>;

void pushCrc(Bytes& f, std::size_t from) {
  const std::uint16_t c = Crc16::of(f.data() + from, f.size() - from);
  f.push_back(static_cast<std::uint8_t>(c >> 8));
  f.push_back(static_cast<std::uint8_t>(c));
}

Bytes panelBlock(std::uint8_t counter) { return {0, 100, 25, 0, counter, 0, 3, 232, 180, 5, 0x20, 120}; }

// A telemetry frame with the given blocks (address, data) and panel block.
Bytes frame(const std::vector<std::pair<std::uint8_t, Bytes>>& blocks, const Bytes& panel) {
  Bytes f{0x0B};
  for (const auto& [address, data] : blocks) {
    f.push_back(address);
    f.push_back(static_cast<std::uint8_t>(data.size()));
    f.insert(f.end(), data.begin(), data.end());
  }
  pushCrc(f, 1);
  f.push_back(0x0A);
  f.push_back(0xCD);
  const std::size_t from = f.size();
  f.push_back(0xFD);
  f.push_back(static_cast<std::uint8_t>(panel.size()));
  f.insert(f.end(), panel.begin(), panel.end());
  pushCrc(f, from);
  f.push_back(0xCC);
  return f;
}

// A DUNE-only string: one block of 6 bytes, 30-byte frames.
Bytes duneFrame(std::uint8_t counter) { return frame({{230, {1, 2, 3, 4, 5, counter}}}, panelBlock(counter)); }

struct Rig {
  Rig() {
    port.setMinimumFrameLength(30);
    const std::uint8_t dune = 230;
    port.setExpectedAddresses({&dune, 1});
    port.setFrameDataBytes(6);
    EXPECT_TRUE(usb.Open());
  }
  // Delivers bytes through Read and parses them.
  bool feed(const Bytes& bytes) {
    lib.queue(bytes);
    while (port.Read()) {
    }
    return port.Parse();
  }
  platform::testing::ManualLoop loop;
  usbxp::ScriptedBackend lib;
  CUSBPort usb{lib};
  FrameRing frames;
  PPort port{usb, loop.clock(), frames};
};

TEST(Crc16, CheckValuesAndTheEnableToolsCommandFrame) {
  const std::string digits = "123456789";
  const auto* d = reinterpret_cast<const std::uint8_t*>(digits.data());
  EXPECT_EQ(Crc16::of(d, 9), 0x31C3);
  EXPECT_EQ(panelsim::crc16Xmodem(d, 9), 0x31C3);

  Rig rig;
  rig.lib.clearWritten();
  const std::uint8_t enable[] = {0x03, 0xFE, 0x01, 0x00};
  ASSERT_TRUE(rig.port.Send(enable, 4));
  // The break goes first, one byte per write, then the command frame in one write.
  EXPECT_EQ(rig.lib.written(), (Bytes{0xFE, 0xFE, 0x0A, 0x08, 0x1E, 0x06, 0x03, 0xFE, 0x01, 0x00, 0x50, 0xBE, 0x0B}));
  EXPECT_TRUE(rig.port.requestPending());
}

TEST(PPortParse, GoodFramesAreCommittedWithTheirPayloadOnly) {
  Rig rig;
  Bytes stream = {0x33, 0x0B, 0x44};  // line noise and a false start before the frames
  for (std::uint8_t c = 1; c <= 3; ++c) {
    const Bytes f = duneFrame(c);
    stream.insert(stream.end(), f.begin(), f.end());
  }
  EXPECT_TRUE(rig.feed(stream));
  EXPECT_EQ(rig.port.goodFrames(), 3u);
  ASSERT_EQ(rig.frames.pending(), 3u * 18);
  EXPECT_EQ(rig.frames.at(0), 1);
  EXPECT_EQ(rig.frames.at(5), 1);        // the DUNE data ends with the counter
  EXPECT_EQ(rig.frames.at(6 + 4), 1);    // panel counter low byte
  EXPECT_EQ(rig.frames.at(18 + 5), 2);
}

// Five tools send more than 8 block addresses: the discovery block lists them all, while a
// data block still holds at most 8 bytes.
TEST(PPortParse, ADiscoveryBlockListsMoreThanEightAddresses) {
  Rig rig;
  const std::uint8_t discovery = PPort::kDiscoveryAddress;
  rig.port.setExpectedAddresses({&discovery, 1});
  const Bytes addresses = {210, 211, 230, 231, 232, 240, 241, 242, 250, 251, 252, 253};
  EXPECT_TRUE(rig.feed(frame({{255, addresses}}, panelBlock(1))));
  ASSERT_EQ(rig.port.goodFrames(), 1u);
  for (std::size_t i = 0; i < addresses.size(); ++i) EXPECT_EQ(rig.frames.at(static_cast<std::uint32_t>(i)), addresses[i]);
  EXPECT_EQ(rig.frames.at(static_cast<std::uint32_t>(addresses.size())), 0);

  Rig data;  // the DUNE string: a 9-byte block is no frame
  EXPECT_FALSE(data.feed(frame({{230, Bytes(9, 1)}}, panelBlock(2))));
  EXPECT_EQ(data.port.goodFrames(), 0u);
}

TEST(PPortParse, RefusedFramesMoveCountersOnlyAndTheParserResynchronises) {
  struct Case {
    const char* name;
    std::function<void(Bytes&)> damage;
    std::uint32_t crcErrors, frameErrors;
  };
  const std::vector<Case> cases = {
      {"wrong panel CRC", [](Bytes& f) { f[f.size() - 2] ^= 1; }, 1, 0},
      {"wrong downhole CRC", [](Bytes& f) { f[9] ^= 0x80; }, 1, 0},
      {"block length 9", [](Bytes& f) { f[2] = 9; }, 0, 1},
      {"unexpected block address", [](Bytes& f) { f[1] = 231; }, 0, 1},
      {"no separator", [](Bytes& f) { f[11] = 0x0C; }, 0, 1},
      {"panel block of 13 bytes", [](Bytes& f) { f[14] = 13; }, 0, 1},
      {"no panel marker", [](Bytes& f) { f[12] = 0xCE; }, 0, 0},
      {"no end byte", [](Bytes& f) { f.back() = 0xCB; }, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    Bytes bad = duneFrame(1);
    c.damage(bad);
    // Bytes of the damaged frame that happen to be a start byte must not start a frame either.
    for (std::size_t i = 1; i < bad.size(); ++i)
      if (bad[i] == 0x0B) bad[i] = 0x0C;
    EXPECT_FALSE(rig.feed(bad));
    EXPECT_EQ(rig.frames.write(), 0u) << "nothing of a refused frame is committed";
    EXPECT_EQ(rig.port.crcErrors(), c.crcErrors);
    EXPECT_EQ(rig.port.frameErrors(), c.frameErrors);
    EXPECT_TRUE(rig.feed(duneFrame(2)));
    EXPECT_EQ(rig.port.goodFrames(), 1u);
    EXPECT_EQ(rig.frames.at(5), 2);
  }
}

TEST(PPortParse, AFrameSplitAcrossReadsWaitsForItsEnd) {
  Rig rig;
  const Bytes f = duneFrame(7);
  EXPECT_FALSE(rig.feed(Bytes(f.begin(), f.begin() + 12)));
  Bytes rest(f.begin() + 12, f.end());
  const Bytes next = duneFrame(8);
  rest.insert(rest.end(), next.begin(), next.end());
  EXPECT_TRUE(rig.feed(rest));
  EXPECT_EQ(rig.port.goodFrames(), 2u);
  EXPECT_EQ(rig.port.frameErrors() + rig.port.crcErrors(), 0u);
}

TEST(PPortParse, FramesStraddlingTheEndOfBothRingsAreParsedLikeAnyOther) {
  Rig rig;
  // After 5461 frames of 30 bytes (18 kept) the receive ring stands 10 bytes and the frame
  // ring 6 bytes before their ends; the frame ring is emptied as the dispatch would.
  std::uint8_t counter = 0;
  for (int i = 0; i < 5461; ++i) {
    ASSERT_TRUE(rig.feed(duneFrame(++counter)));
    rig.frames.setRead(rig.frames.write());
  }
  const std::uint32_t before = rig.port.goodFrames();
  Bytes two = duneFrame(200);
  const Bytes second = duneFrame(201);
  two.insert(two.end(), second.begin(), second.end());
  ASSERT_EQ(rig.frames.write(), 32762u);
  ASSERT_TRUE(rig.feed(two));
  EXPECT_EQ(rig.port.goodFrames(), before + 2);
  EXPECT_EQ(rig.port.crcErrors() + rig.port.frameErrors(), 0u);
  const std::uint32_t r = rig.frames.read();
  EXPECT_EQ(rig.frames.pending(), 36u);
  EXPECT_EQ(rig.frames.at(r + 5), 200);
  EXPECT_EQ(rig.frames.at(r + 18 + 5), 201);
}

TEST(PPortParse, AFullFrameRingHoldsFramesBackInsteadOfOverwritingThem) {
  Rig rig;
  std::uint8_t counter = 0;
  // 32767 / 18 = 1820 frames fit; the rest waits in the receive ring.
  for (int i = 0; i < 1830; ++i) rig.feed(duneFrame(++counter));
  EXPECT_EQ(rig.port.goodFrames(), 1820u);
  EXPECT_EQ(rig.frames.read(), 0u);
  EXPECT_EQ(rig.frames.at(5), 1) << "the oldest unread frame is intact";
  rig.frames.setRead(rig.frames.write());
  rig.port.Parse();
  EXPECT_EQ(rig.port.goodFrames(), 1830u);
}

TEST(PPortSend, ANinetyOneByteMessageIsRefusedWithoutAWordToThePanel) {
  Rig rig;
  rig.lib.clearWritten();
  const Bytes msg(91, 0x11);
  EXPECT_FALSE(rig.port.Send(msg.data(), 91));
  EXPECT_TRUE(rig.lib.written().empty());
  EXPECT_TRUE(rig.feed(duneFrame(1))) << "reads go on";
  rig.lib.clearWritten();
  const Bytes ninety(90, 0x22);
  EXPECT_TRUE(rig.port.Send(ninety.data(), 90));
  EXPECT_EQ(rig.lib.written().size(), 2u + 97u);
}

TEST(PPortPing, AClosedPortWritesNothingAndAWrongAnswerIsErrorThree) {
  platform::testing::ManualLoop loop;
  usbxp::ScriptedBackend lib;
  CUSBPort usb{lib};
  FrameRing frames;
  PPort port{usb, loop.clock(), frames};
  EXPECT_FALSE(port.Ping());
  EXPECT_EQ(lib.calls(), 0u);
  ASSERT_TRUE(usb.Open());
  lib.answerPing(0x42);
  EXPECT_FALSE(port.Ping());
  EXPECT_EQ(port.errorCode(), PPort::kNoPing);
  lib.answerPing(0xEE);
  EXPECT_TRUE(port.Ping());
}

TEST(PPortOpen, InitialiseAnsweredWithTheErrorByteGivesErrorTwo) {
  platform::testing::ManualLoop loop;
  usbxp::ScriptedBackend lib;
  CUSBPort usb{lib};
  FrameRing frames;
  PPort port{usb, loop.clock(), frames};
  lib.answerInitialise(0xCC);
  EXPECT_FALSE(port.OpenPanel());
  EXPECT_EQ(port.errorCode(), PPort::kInitFailed);
  EXPECT_EQ(PPort::ErrorText(port.errorCode()), "Error While Initializing Surface Telemetry Panel");
  lib.answerInitialise(0x55);
  EXPECT_FALSE(port.OpenPanel());
  EXPECT_EQ(port.errorCode(), PPort::kOtherFailure);
  EXPECT_EQ(PPort::ErrorText(7), "Unknown USB port error");
  lib.answerInitialise(0x18);
  EXPECT_TRUE(port.OpenPanel());
}

TEST(PPortLog, EveryFrameStartWritesTheMinimumFrameLengthAsDecimalLines) {
  Rig rig;
  std::FILE* log = std::tmpfile();
  ASSERT_NE(log, nullptr);
  rig.port.setRawLog(log);
  const Bytes f = duneFrame(9);
  rig.feed(f);
  std::rewind(log);
  std::string text;
  for (int ch; (ch = std::fgetc(log)) != EOF;) text.push_back(static_cast<char>(ch));
  std::fclose(log);
  std::string expected;
  for (std::uint8_t b : f) expected += std::to_string(b) + "\r\n";
  EXPECT_EQ(text, expected);
}

TEST(CUSBPortTest, FindsThePanelAmongDevicesAndReportsFailures) {
  usbxp::ScriptedBackend lib({"CP2102 USB to UART", "1401"});
  CUSBPort usb{lib};
  EXPECT_FALSE(usb.Close()) << "close without open";
  EXPECT_EQ(lib.calls(), 0u);
  ASSERT_TRUE(usb.Open());
  EXPECT_EQ(lib.openedIndex(), 1u);
  EXPECT_TRUE(usb.Found());
  lib.failNextQueueQuery();
  EXPECT_EQ(usb.BytesWaiting(), CUSBPort::kQueryFailed);
  EXPECT_TRUE(usb.Close());
  EXPECT_FALSE(usb.IsOpen());

  usbxp::ScriptedBackend none({"CP2102 USB to UART"});
  CUSBPort other{none};
  EXPECT_FALSE(other.Open());
}

TEST(PPortRead, AFailedQueueQueryBecomesAThousandByteRead) {
  Rig rig;
  Bytes many(1500, 0x55);
  rig.port.Read();  // sends the read request
  rig.lib.queue(many);
  rig.lib.failNextQueueQuery();
  EXPECT_TRUE(rig.port.Read());
  EXPECT_EQ(rig.port.receivePending(), 1500u);
  EXPECT_FALSE(rig.port.linkLost()) << "the read itself worked";
}

TEST(PPortRead, ADeviceThatWentAwayMarksTheLinkLostAtOnce) {
  Rig rig;
  rig.port.Read();
  rig.lib.queue(duneFrame(1));
  rig.lib.setGone(true);
  EXPECT_FALSE(rig.port.Read());
  EXPECT_TRUE(rig.port.linkLost());
  EXPECT_EQ(rig.port.linkLosses(), 1u);
  EXPECT_FALSE(rig.port.Read());
  EXPECT_EQ(rig.port.linkLosses(), 1u);
}

}  // namespace
}  // namespace kvr
