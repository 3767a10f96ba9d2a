// The monitor boxes over a tool manager's channels and sample ring, the monitor file with its
// failures, and the text control.

#include <gtest/gtest.h>

#include <cstring>

#include "common/datafile/MemoryFiles.h"
#include "kvr/monitors/CMonitorManager.h"
#include "kvr/monitors/CStaticEx.h"
#include "platform/testing/RecordingCanvas.h"
#include "platform/testing/ScriptedPrompter.h"

namespace {

using namespace kvr::monitors;

records::ChannelStruct channel(const char* name, const char* unit, std::uint32_t column) {
  records::ChannelStruct c;
  c.mnemonic = name;
  c.unit = unit;
  c.baseColumn = column;
  return c;
}

struct Fixture {
  tools::Library lib;
  platform::testing::ScriptedPrompter prompter;
  kvr::NoTaskPanels panels;
  kvr::FrameRing frames;
  kvr::CToolManager tools{lib, prompter, panels, frames};
  kvr::MemoryFileSystem files;
  std::filesystem::path mainFolder = "/main";
  CMonitorManager monitors{prompter, files, tools, mainFolder};

  explicit Fixture(records::ChannelList list = {channel("DEPTH", "ft", 0), channel("TENS", "lb", 1),
                                                channel("GR", "API", 2)}) {
    // As the program does: every rebuild of the channels re-binds the boxes.
    tools.setChannelsRebuilt([this] { monitors.rebind(); });
    setChannels(std::move(list));
  }
  void setChannels(records::ChannelList list) {
    tools.setChannels(std::move(list));
    tools.allocateRing();
  }
  // Writes one row at the write position and moves it on, as the frame dispatch does.
  void addRow(std::initializer_list<float> values) {
    auto& ring = tools.ring();
    std::size_t p = ring.write();
    for (float v : values) ring.data()[p++] = v;
    ring.setWrite(ring.write() + ring.rowWidth());
  }
  void bind(std::size_t box, std::size_t position) {
    monitors.bind(box, kvr::editor::ChosenChannel{tools.channels()[position], position});
  }
};

TEST(Monitors, BoxesShowTheNewestRowAndWrapAtTheRingStart) {
  Fixture f;
  f.bind(0, 2);
  f.bind(5, 1);
  EXPECT_EQ(f.monitors.caption(0), "GR [API]");
  EXPECT_EQ(f.monitors.caption(1), "");
  f.addRow({1000, 2500, 45.5});
  f.addRow({1001, 2400, 150.25});
  f.monitors.update();
  EXPECT_EQ(f.monitors.value(0), "150.25");
  EXPECT_EQ(f.monitors.value(5), "2400");
  EXPECT_EQ(f.monitors.value(1), "");

  // Fill to the end of the ring: the write position is back at the start, and the newest row
  // is the ring's last.
  for (std::size_t r = 2; r < kvr::SampleRing::kRows - 1; ++r) f.addRow({0, 0, 0});
  f.addRow({1999, 3000, .05f});
  ASSERT_EQ(f.tools.ring().write(), 0u);
  f.monitors.update();
  EXPECT_EQ(f.monitors.value(0), ".050");
  EXPECT_EQ(f.monitors.value(5), "3000");

  f.monitors.close(5);
  f.monitors.update();
  EXPECT_EQ(f.monitors.caption(5), "");
  EXPECT_EQ(f.monitors.value(5), "");
}

TEST(Monitors, MagnifiedMonitorsOutliveTheirBoxAndRebindByName) {
  Fixture f;
  f.bind(3, 1);
  EXPECT_FALSE(f.monitors.magnify(4));  // inactive: nothing to magnify
  const auto id = f.monitors.magnify(3);
  ASSERT_TRUE(id);
  f.monitors.close(3);
  f.addRow({10, 777, 1});
  f.monitors.update();
  EXPECT_EQ(f.monitors.findMagnified(*id)->value, "777");

  // A new string without TENS: the magnified monitor goes inactive too; GR moves column.
  f.bind(0, 2);
  f.setChannels({channel("DEPTH", "m", 0), channel("GR", "API", 1)});
  EXPECT_TRUE(f.monitors.box(0).active);
  EXPECT_EQ(f.monitors.box(0).channel.column(), 1u);
  EXPECT_FALSE(f.monitors.findMagnified(*id)->box.active);
  EXPECT_EQ(f.monitors.findMagnified(*id)->value, "");
  f.monitors.closeMagnified(*id);
  EXPECT_TRUE(f.monitors.magnified().empty());
}

TEST(Monitors, AColumnBeyondTheRowGoesInactive) {
  Fixture f;
  f.bind(0, 2);
  // The ring is rebuilt narrower while the box still holds its old column.
  f.tools.ring().allocate(2);
  f.monitors.update();
  EXPECT_FALSE(f.monitors.box(0).active);
  EXPECT_EQ(f.monitors.value(0), "");
}

TEST(MonitorFile, RoundTripWithRebindingAndOurControlIds) {
  Fixture f;
  f.bind(0, 2);
  f.bind(19, 1);
  f.prompter.queueFile(std::string("/main/MyMonitors.mon"));
  ASSERT_TRUE(f.monitors.save());
  EXPECT_EQ(f.prompter.fileRequests().back().filter, "KVR Monitor File (*.mon)|*.mon||");
  EXPECT_EQ(f.prompter.fileRequests().back().defaultName, "MyMonitors");
  EXPECT_EQ(f.prompter.fileRequests().back().initialDir, "/main");
  EXPECT_EQ(f.monitors.latestFile(), "/main/MyMonitors.mon");

  auto bytes = f.files.file("/main/MyMonitors.mon");
  ASSERT_EQ(bytes.size(), 1617u);
  EXPECT_EQ(std::memcmp(bytes.data(), "KVR Monitor File\0", 17), 0);
  const std::uint8_t* box0 = bytes.data() + 17;
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(box0)), "GR");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(box0 + 56)), "GR");
  EXPECT_EQ(box0[40], 2);  // the base column
  EXPECT_EQ(box0[68], kTextIdBase & 0xFF);
  EXPECT_EQ(box0[76], 1);
  EXPECT_EQ(bytes[17 + 80 + 76], 0);

  // Another program's control ids in the file; a string that lacks TENS.
  bytes[17 + 68] = 0x55;
  f.files.setFile("/main/other.mon", bytes);
  f.setChannels({channel("GR", "API", 0), channel("DEPTH", "ft", 1)});
  Fixture g({channel("GR", "API", 0)});
  ASSERT_TRUE(g.monitors.load("/main/../main/x.mon") == false);  // not there
  g.files.setFile("/main/other.mon", bytes);
  ASSERT_TRUE(g.monitors.load("/main/other.mon"));
  EXPECT_TRUE(g.monitors.box(0).active);
  EXPECT_EQ(g.monitors.box(0).channel.column(), 0u);
  EXPECT_EQ(g.monitors.box(0).textId, kTextIdBase);
  EXPECT_FALSE(g.monitors.box(19).active);
  EXPECT_EQ(g.monitors.caption(19), "");
  EXPECT_EQ(g.monitors.latestFile(), "/main/other.mon");
}

TEST(MonitorFile, FailedLoadsAndSavesChangeNothing) {
  Fixture f;
  f.bind(7, 0);
  auto good = encodeMonitorFile(MonitorBoxes{});
  auto other = good;
  other[4] = 'X';
  struct Case {
    const char* name;
    std::optional<std::vector<std::uint8_t>> bytes;  // nullopt: no such file
    const char* message;
  };
  const Case cases[] = {
      {"missing", std::nullopt, kLoadOpenFailed},
      {"header", other, kLoadNotValid},
      {"short", std::vector<std::uint8_t>(good.begin(), good.end() - 1), kLoadShort},
      {"header only", std::vector<std::uint8_t>(good.begin(), good.begin() + 17), kLoadShort},
      {"empty", std::vector<std::uint8_t>{}, kLoadShort},
      {"garbage", std::vector<std::uint8_t>(5, 0xFF), kLoadNotValid},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = std::string("/main/") + c.name + ".mon";
    if (c.bytes) f.files.setFile(path, *c.bytes);
    f.prompter.clear();
    EXPECT_FALSE(f.monitors.load(path));
    EXPECT_TRUE(f.prompter.saw("ERROR", c.message));
    EXPECT_TRUE(f.monitors.box(7).active);
    EXPECT_EQ(f.monitors.caption(7), "DEPTH [ft]");
    EXPECT_EQ(f.monitors.latestFile(), "");
  }

  f.files.refuse("/main/refused.mon");
  EXPECT_FALSE(f.monitors.save("/main/refused.mon"));
  EXPECT_TRUE(f.prompter.saw("ERROR", kSaveOpenFailed));
  f.files.setSpaceLeft(100);
  EXPECT_FALSE(f.monitors.save("/main/full.mon"));
  EXPECT_TRUE(f.prompter.saw("ERROR", kSaveShort));
  EXPECT_EQ(f.monitors.latestFile(), "");
}

TEST(StaticEx, DefaultsTimerModeAndMagnifiedFont) {
  CStaticEx text;
  EXPECT_EQ(text.background(), CStaticEx::kBlack);
  EXPECT_EQ(text.textColour(), CStaticEx::kRed);
  EXPECT_EQ(text.font().height, 30);
  EXPECT_EQ(text.font().width, 10);
  EXPECT_EQ(text.font().weight, 400);
  EXPECT_EQ(text.font().family, platform::FontFamily::Swiss);
  text.setTimerMode(true);
  EXPECT_EQ(text.text(), "Stopped");
  text.showElapsed(125);
  EXPECT_EQ(text.text(), "02m, 05s");

  // The client height, 35 % of it wide, as long as the text fits across.
  text.setText("12");
  text.fitTo({400, 100});
  EXPECT_EQ(text.font().height, 100);
  EXPECT_EQ(text.font().width, 35);
  text.setText("1234.56");
  text.fitTo({400, 300});
  EXPECT_LT(text.font().height, 300);
  EXPECT_LE(text.font().width * 7, 400);

  platform::testing::RecordingCanvas canvas;
  text.setColours(CStaticEx::kBlack, CStaticEx::kGreen);
  text.paint(canvas, {0, 0, 400, 300});
  const auto fills = canvas.callsOf(platform::testing::DrawCall::FillRect);
  const auto texts = canvas.callsOf(platform::testing::DrawCall::Text);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].fill, CStaticEx::kBlack);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "1234.56");
  EXPECT_EQ(texts[0].textColour, CStaticEx::kGreen);
  EXPECT_EQ(texts[0].points[0].x, 200);
  EXPECT_EQ(texts[0].align & 6u, platform::AlignCenter);
}

}  // namespace
