// The track and curve editors, the channel chooser and "Adding a Curve" over a small format.

#include <gtest/gtest.h>

#include "common/presentation/PresentationFile.h"
#include "kvr/presentation/CAddCurve.h"
#include "kvr/presentation/CCEditor.h"
#include "kvr/presentation/CChManager.h"
#include "kvr/presentation/CTEditor.h"
#include "platform/testing/ScriptedPrompter.h"

namespace {

using kvr::editor::CCEditor;
using kvr::editor::CTEditor;
using presentation::CFormat;

// Three tracks: linear with two curves, logarithmic with one, depth with one.
constexpr const char* kFormat =
    "&FORMAT\nLOG\nENGLISH\n200\n"
    "&TRACK\nLINEAR\n10\nMIDTHICK\n200\n0\nNOOVERLAP\n"
    "&CURVE\nGR\n0\nGamma ray\n0\n150\n40\nSOLID\n1\n0\n0\n0\n"
    "&CURVE\nCCL\n0\nCollar\n-1\n1\n30\nDASH\n2\n255\n0\n0\n"
    "&TRACK\nLOGARITMIC\n4\n1\nLEFTRIGHT\n400\n200\nNOOVERLAP\n"
    "&CURVE\nRES\n0\nResistivity\n.2\n2000\n40\nDOTTED\n3\n0\n0\n255\n"
    "&TRACK\nDEPTH\n60\n600\nOVERLAP\n"
    "&CURVE\nTENS\n0\nTension\n0\n5000\n20\nDASHDOTDOT\n7\n0\n128\n0\n"
    "&END";

CFormat format() {
  auto r = presentation::readPresentation(kFormat);
  return r.formats.at(0);
}

records::ChannelList channels() {
  records::ChannelList list(3);
  list[0].mnemonic = "DEPTH";
  list[1].mnemonic = "SPEEDX";
  list[2].mnemonic = "GR";
  return list;
}

TEST(TrackEditor, CellsEditsAndOk) {
  auto f = format();
  CTEditor editor(f);
  ASSERT_EQ(editor.rows(), 3u);
  const std::vector<std::vector<std::string>> cells = {
      {"TRACK-0", "LINEAR", "10", "Thick", "", "", ""},
      {"TRACK-1", "LOGARITMIC", "", "", "4", "1", "Letf to Right"},
      {"TRACK-2", "DEPTH", "", "", "", "", ""}};
  for (std::size_t r = 0; r < 3; ++r)
    for (int c = 0; c < CTEditor::kColumns; ++c) EXPECT_EQ(editor.cell(r, c), cells[r][c]) << r << "," << c;

  // Spin fields only where they apply, with their ranges.
  EXPECT_FALSE(editor.spin(1, CTEditor::kDivisions));
  EXPECT_FALSE(editor.click(1, CTEditor::kMiddleLine));
  EXPECT_EQ(editor.spin(0, CTEditor::kDivisions)->max, 100);
  EXPECT_EQ(editor.spin(1, CTEditor::kDecades)->max, 10);
  EXPECT_EQ(editor.spin(1, CTEditor::kStartingDecade)->max, 9);
  EXPECT_FALSE(editor.setSpin(0, CTEditor::kDivisions, 0));
  EXPECT_FALSE(editor.setSpin(1, CTEditor::kStartingDecade, 10));
  EXPECT_TRUE(editor.setSpin(0, CTEditor::kDivisions, 5));
  EXPECT_TRUE(editor.setSpin(1, CTEditor::kDecades, 2));
  EXPECT_TRUE(editor.click(0, CTEditor::kMiddleLine));
  EXPECT_TRUE(editor.click(1, CTEditor::kDirection));
  EXPECT_EQ(editor.cell(1, CTEditor::kDirection), "Right to Left");
  // Mode cycles linear, logarithmic, depth, linear.
  for (const char* mode : {"LINEAR", "LOGARITMIC", "DEPTH"}) {
    editor.click(2, CTEditor::kMode);
    EXPECT_EQ(editor.cell(2, CTEditor::kMode), mode);
  }
  editor.click(2, CTEditor::kMode);
  editor.click(2, CTEditor::kMode);  // the depth track becomes logarithmic

  const auto before = f.tracks[1].logTicks;
  editor.apply(f);
  EXPECT_EQ(f.tracks[0].divisions, 5);
  EXPECT_FALSE(f.tracks[0].midThick);
  EXPECT_EQ(f.tracks[1].decades, 2);
  EXPECT_FALSE(f.tracks[1].leftToRight);
  EXPECT_NE(f.tracks[1].logTicks, before);  // recomputed for two decades, right to left
  EXPECT_EQ(f.tracks[1].logOrigin, 200 + 400);
  EXPECT_EQ(f.tracks[2].mode, presentation::TrackMode::Logarithmic);
  EXPECT_NE(f.tracks[2].logTicks[0], 0);
  EXPECT_EQ(f.tracks[0].curves.size(), 2u);  // the curves are not the track editor's
}

TEST(CurveEditor, CellsAndCycles) {
  auto f = format();
  platform::testing::ScriptedPrompter prompter;
  CCEditor editor(f, prompter);
  ASSERT_EQ(editor.rows(), 4u);
  const std::vector<std::vector<std::string>> cells = {
      {"Gamma ray", "TRACK-0", "0", "150", "SOLID", "Thin", "", "GR"},
      {"Collar", "TRACK-0", "-1", "1", "DASH", "Medium", "", "CCL"},
      {"Resistivity", "TRACK-1", ".2", "2000", "DOTTED", "Thick", "", "RES"},
      {"Tension", "TRACK-2", "0", "5000", "DASHDTDT", "Thin", "", "TENS"}};
  for (std::size_t r = 0; r < 4; ++r)
    for (int c = 0; c < CCEditor::kColumns; ++c) EXPECT_EQ(editor.cell(r, c), cells[r][c]) << r << "," << c;
  EXPECT_EQ(editor.colour(1), platform::rgb(255, 0, 0));
  EXPECT_EQ(editor.trackChoices(), (std::vector<std::string>{"TRACK-0", "TRACK-1", "TRACK-2"}));

  editor.click(3, CCEditor::kLineType);  // dash-dot-dot wraps to solid
  EXPECT_EQ(editor.cell(3, CCEditor::kLineType), "SOLID");
  editor.click(3, CCEditor::kThickness);  // 7 ("Thin") goes to 1, then 2, 3, 1
  for (const char* t : {"Medium", "Thick", "Thin"}) {
    editor.click(3, CCEditor::kThickness);
    EXPECT_EQ(editor.cell(3, CCEditor::kThickness), t);
  }
  prompter.queueColour(platform::rgb(1, 2, 3));
  EXPECT_TRUE(editor.click(0, CCEditor::kColour));
  prompter.queueColour(std::nullopt);  // the colour dialog cancelled
  EXPECT_FALSE(editor.click(0, CCEditor::kColour));
  EXPECT_EQ(editor.colour(0), platform::rgb(1, 2, 3));

  kvr::editor::CChManager chooser(channels());
  EXPECT_EQ(chooser.names(), (std::vector<std::string>{"DEPTH", "SPEEDX", "GR"}));
  EXPECT_FALSE(chooser.chosen());
  chooser.select(1);
  editor.setChannel(0, *chooser.chosen());
  EXPECT_EQ(editor.cell(0, CCEditor::kChannel), "SPEEDX");

  // Nothing reaches the format before OK.
  EXPECT_EQ(f.tracks[0].curves[0].name, "GR");
  editor.apply(f);
  EXPECT_EQ(f.tracks[0].curves[0].name, "SPEEDX");
  EXPECT_EQ(f.tracks[0].curves[0].channelIndex, 1u);
  EXPECT_EQ(f.tracks[0].curves[0].pen(), (platform::Pen{platform::PenStyle::Solid, 1, platform::rgb(1, 2, 3)}));
  EXPECT_EQ(f.tracks[2].curves[0].thickness, 1);
}

TEST(CurveEditor, ValueFieldsRefuseWhatCannotBeDrawn) {
  auto f = format();
  platform::testing::ScriptedPrompter prompter;
  CCEditor editor(f, prompter);
  struct Case {
    std::size_t row;
    int column;
    const char* text;
    const char* refusal;  // nullptr: taken
    const char* shown;
  };
  const Case cases[] = {
      {0, CCEditor::kLeftValue, "abc", kvr::editor::kNotANumberText, "0"},
      {0, CCEditor::kLeftValue, "12x", kvr::editor::kNotANumberText, "0"},
      {0, CCEditor::kLeftValue, "", kvr::editor::kNotANumberText, "0"},
      {0, CCEditor::kLeftValue, "150", kvr::editor::kEqualValuesText, "0"},
      {0, CCEditor::kLeftValue, " -25.5 ", nullptr, "-25.5"},
      {0, CCEditor::kRightValue, "+.05", nullptr, ".050"},
      {2, CCEditor::kLeftValue, "0", kvr::editor::kLogBoundsText, ".2"},
      {2, CCEditor::kRightValue, "-3", kvr::editor::kLogBoundsText, "2000"},
      {2, CCEditor::kLeftValue, "1", nullptr, "1"},
  };
  for (const auto& c : cases) {
    prompter.clear();
    EXPECT_EQ(editor.setValue(c.row, c.column, c.text), c.refusal == nullptr) << c.text;
    EXPECT_EQ(editor.cell(c.row, c.column), c.shown) << c.text;
    if (c.refusal) EXPECT_TRUE(prompter.saw("INPUT ERROR", c.refusal)) << c.text;
    else EXPECT_TRUE(prompter.messages().empty()) << c.text;
  }
  // A curve with a bound at 0 cannot go to the logarithmic track.
  EXPECT_FALSE(editor.setTrack(3, 1));
  EXPECT_EQ(editor.trackOf(3), 2u);
  editor.apply(f);
  EXPECT_FLOAT_EQ(f.tracks[0].curves[0].leftValue, -25.5f);
  EXPECT_FLOAT_EQ(f.tracks[1].curves[0].leftValue, 1.0f);
}

TEST(CurveEditor, OkMovesRetrackedCurvesLastAndRestacksHeadings) {
  auto f = format();
  platform::testing::ScriptedPrompter prompter;
  CCEditor editor(f, prompter);
  ASSERT_TRUE(editor.setTrack(0, 2));  // "Gamma ray" from track 0 to the depth track
  editor.apply(f);
  ASSERT_EQ(f.tracks[0].curves.size(), 1u);
  ASSERT_EQ(f.tracks[2].curves.size(), 2u);
  EXPECT_EQ(f.tracks[2].curves[0].description, "Tension");
  EXPECT_EQ(f.tracks[2].curves[1].description, "Gamma ray");
  EXPECT_EQ(f.tracks[2].curves[1].trackIndex, 2u);
  // Track 0 starts at the top; track 1 (no overlap) too; track 2 overlaps and continues
  // below track 1's heading box.
  EXPECT_EQ(f.tracks[0].curves[0].labelPosition, 0);
  EXPECT_EQ(f.tracks[1].curves[0].labelPosition, 0);
  EXPECT_EQ(f.tracks[2].curves[0].labelPosition, 40);
  EXPECT_EQ(f.tracks[2].curves[1].labelPosition, 60);
  EXPECT_EQ(f.curveCount, 4);
}

TEST(CurveEditor, AddAndErase) {
  auto f = format();
  platform::testing::ScriptedPrompter prompter;
  CCEditor editor(f, prompter);

  // No channel list yet: a message and no curve.
  EXPECT_FALSE(editor.add({}));
  EXPECT_TRUE(prompter.saw("MESSAGE", kvr::editor::kNoChannelsText));
  EXPECT_TRUE(prompter.textRequests().empty());

  prompter.queueText(std::string(100, 'x'));
  ASSERT_TRUE(editor.add(channels()));
  ASSERT_EQ(prompter.textRequests().size(), 1u);
  EXPECT_EQ(prompter.textRequests()[0].title, "Adding a Curve");
  EXPECT_EQ(prompter.textRequests()[0].label, "Please enter a name ");
  EXPECT_EQ(prompter.textRequests()[0].initial, "NEW CURVE");
  const std::vector<std::string> added = {std::string(79, 'x'), "TRACK-0", "0", "1", "SOLID", "Thin", "", "DEPTH"};
  for (int c = 0; c < CCEditor::kColumns; ++c) EXPECT_EQ(editor.cell(4, c), added[static_cast<std::size_t>(c)]);
  prompter.queueText(std::nullopt);  // Cancel
  EXPECT_FALSE(editor.add(channels()));
  EXPECT_EQ(kvr::editor::CAddCurve::description("  "), "NoChannel");
  EXPECT_EQ(kvr::editor::CAddCurve::description("a\r\nb"), "a  b");

  prompter.clear();
  editor.click(1, CCEditor::kCurveName);
  prompter.queue(platform::Answer::Cancel);
  EXPECT_FALSE(editor.erase());
  prompter.queue(platform::Answer::Ok);
  EXPECT_TRUE(editor.erase());
  EXPECT_EQ(prompter.messages().back().text, "You are about to erase: Collar");
  EXPECT_EQ(prompter.messages().back().title, "ATTENTION");
  editor.apply(f);
  ASSERT_EQ(f.tracks[0].curves.size(), 2u);
  EXPECT_EQ(f.tracks[0].curves[1].labelPosition, 40);
  EXPECT_EQ(f.tracks[0].curves[1].labelHeight, 40);
  EXPECT_EQ(f.tracks[0].curves[1].description.size(), 79u);

  // The written format reads back whole.
  const auto again = presentation::readPresentation(presentation::writePresentation({f}));
  ASSERT_EQ(again.formats.size(), 1u);
  EXPECT_EQ(again.formats[0].tracks[0].curves[1].description, std::string(79, 'x'));
  EXPECT_EQ(again.formats[0].tracks[2].curves.size(), 1u);
}

TEST(CurveEditor, TheLastCurveStays) {
  auto f = presentation::readPresentation(
               "&FORMAT\nONE\nMETRIC\n100\n&TRACK\nDEPTH\n60\n0\nNOOVERLAP\n"
               "&CURVE\nA\n0\nOnly\n0\n1\n40\nSOLID\n1\n0\n0\n0\n&END")
               .formats.at(0);
  platform::testing::ScriptedPrompter prompter;
  CCEditor editor(f, prompter);
  editor.select(0);
  EXPECT_FALSE(editor.erase());
  EXPECT_TRUE(prompter.saw("ERROR", kvr::editor::kLastCurveText));
  EXPECT_EQ(editor.rows(), 1u);
}

}  // namespace
