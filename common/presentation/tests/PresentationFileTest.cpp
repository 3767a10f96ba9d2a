#include "common/presentation/PresentationFile.h"

#include <gtest/gtest.h>

#include <string>

namespace presentation {
namespace {

using Outcome = PresentationRead::Outcome;

// One format, one linear track, one curve; tail is what follows the curve block.
std::string oneCurveFile(const std::string& tail = "&END") {
  return "&FORMAT\r\nGamma\r\nENGLISH\r\n200\r\n"
         "&TRACK\r\nLINEAR\r\n10\r\nMIDTHICK\r\n400\r\n0\r\nNOOVERLAP\r\n"
         "&CURVE\r\nCCL1\r\n7\r\nCollar Locator\r\n-10\r\n.050\r\n40\r\nDASH\r\n2\r\n255\r\n0\r\n128\r\n" +
         tail;
}

CFormat sampleFormat() {
  CFormat f;
  f.name = "Production";
  f.english = false;
  f.scale = 500;
  CColumn lin;
  lin.divisions = 5;
  lin.midThick = false;
  lin.width = 250;
  CCurve a;
  a.name = "LSPD";
  a.channelIndex = 1;
  a.description = "Line Speed";
  a.leftValue = 0.0f;
  a.rightValue = 0.25f;
  a.lineType = LineType::DashDotDot;
  a.thickness = 3;
  a.colour = platform::rgb(1, 2, 3);
  lin.curves.push_back(a);
  CColumn log;
  log.mode = TrackMode::Logarithmic;
  log.decades = 3;
  log.startDecade = 2;
  log.leftToRight = false;
  log.left = 250;
  log.width = 300;
  log.overlap = true;
  CCurve b = a;
  b.name = "PRES";
  b.description = "Pressure";
  b.leftValue = 2000.0f;
  b.rightValue = 2.0f;
  b.labelHeight = 30;
  log.curves.push_back(b);
  CColumn depth;
  depth.mode = TrackMode::Depth;
  depth.left = 550;
  depth.width = 60;
  f.tracks = {lin, log, depth};
  return f;
}

TEST(PresentationFile, WrittenFileReadsBackTheSameFormats) {
  auto f = sampleFormat();
  const std::string text = writePresentation({f, f});
  EXPECT_EQ(text.substr(0, 9), "&FORMAT\r\n");
  EXPECT_EQ(text.substr(text.size() - 6), "\r\n&END");
  EXPECT_NE(text.find("\r\n.25\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nLOGARITMIC\r\n3\r\n2\r\nRIGHTLEFT\r\n300\r\n250\r\nOVERLAP\r\n"), std::string::npos);

  const auto r = readPresentation(text);
  ASSERT_EQ(r.outcome, Outcome::Stopped);  // "&END" ends the read before the end of the file is met
  ASSERT_EQ(r.formats.size(), 2u);
  const auto& g = r.formats[1];
  EXPECT_EQ(g.name, "Production");
  EXPECT_FALSE(g.english);
  EXPECT_EQ(g.scale, 500);
  ASSERT_EQ(g.tracks.size(), 3u);
  EXPECT_EQ(g.tracks[2].index, 2u);
  EXPECT_EQ(g.tracks[2].mode, TrackMode::Depth);
  EXPECT_EQ(g.tracks[0].divisions, 5);
  EXPECT_FALSE(g.tracks[0].midThick);
  EXPECT_EQ(g.tracks[1].decades, 3);
  EXPECT_EQ(g.tracks[1].startDecade, 2);
  EXPECT_FALSE(g.tracks[1].leftToRight);
  EXPECT_TRUE(g.tracks[1].overlap);
  EXPECT_EQ(g.tracks[1].left, 250);
  const auto& c = g.tracks[1].curves[0];
  EXPECT_EQ(c.name, "PRES");
  EXPECT_EQ(c.description, "Pressure");
  EXPECT_FLOAT_EQ(c.leftValue, 2000.0f);
  EXPECT_FLOAT_EQ(c.rightValue, 2.0f);
  EXPECT_EQ(c.lineType, LineType::DashDotDot);
  EXPECT_EQ(c.thickness, 3);
  EXPECT_EQ(c.colour, platform::rgb(1, 2, 3));
  EXPECT_EQ(c.trackIndex, 1u);
  EXPECT_FLOAT_EQ(g.tracks[0].curves[0].rightValue, 0.25f);
  EXPECT_EQ(writePresentation(r.formats), text);
}

TEST(PresentationFile, ValidityStates) {
  const struct {
    const char* what;
    std::string text;
    Outcome outcome;
    std::size_t formats;
  } cases[] = {
      {"&END without a line end", oneCurveFile("&END"), Outcome::Stopped, 1},
      {"no &END, ends after a curve", oneCurveFile(""), Outcome::Valid, 1},
      {"&END then more lines", oneCurveFile("&END\r\n&TRACK\r\nbroken\r\n"), Outcome::Stopped, 1},
      {"format and track without a curve",
       "&FORMAT\nX\nENGLISH\n200\n&TRACK\nDEPTH\n60\n0\nNOOVERLAP\n", Outcome::Invalid, 1},
      {"track before any format", "&TRACK\nDEPTH\n60\n0\nNOOVERLAP\n" + oneCurveFile(""), Outcome::Invalid, 1},
      {"curve before a track of its format", oneCurveFile("&FORMAT\nSecond\nMETRIC\n100\n&CURVE\nA\n0\nd\n0\n1\n40\nSOLID\n1\n0\n0\n0\n"),
       Outcome::Invalid, 2},
      {"keyword followed by a blank is no keyword", "&FORMAT \nX\n", Outcome::Invalid, 0},
      {"empty file", "", Outcome::Invalid, 0},
  };
  for (const auto& c : cases) {
    const auto r = readPresentation(c.text);
    EXPECT_EQ(r.outcome, c.outcome) << c.what;
    EXPECT_EQ(r.formats.size(), c.formats) << c.what;
  }
}

TEST(PresentationFile, AcceptsEveryLineEnd) {
  std::string lf = oneCurveFile(""), cr = lf;
  for (std::size_t p; (p = lf.find("\r\n")) != std::string::npos;) lf.erase(p, 1);
  for (std::size_t p; (p = cr.find("\r\n")) != std::string::npos;) cr.erase(p + 1, 1);
  for (const auto& text : {lf, cr}) {
    const auto r = readPresentation(text);
    ASSERT_EQ(r.outcome, Outcome::Valid);
    const auto& c = r.formats[0].tracks[0].curves[0];
    EXPECT_EQ(r.formats[0].name, "Gamma");
    EXPECT_EQ(c.description, "Collar Locator");
    EXPECT_FLOAT_EQ(c.rightValue, 0.05f);
    EXPECT_EQ(c.colour, platform::rgb(255, 0, 128));
  }
}

TEST(PresentationFile, SixteenthFormatAndAllAfterItAreIgnored) {
  std::string text;
  for (int i = 0; i < 17; ++i) text += oneCurveFile("");
  const auto r = readPresentation(text);
  EXPECT_EQ(r.formats.size(), 15u);
  EXPECT_EQ(r.outcome, Outcome::Stopped);
  EXPECT_EQ(readPresentation(oneCurveFile("") + oneCurveFile(""), 1).formats.size(), 1u);
}

TEST(PresentationFile, WordsOutsideTheVocabularyTakeTheDefaults) {
  const std::string text =
      "&FORMAT\nW\nSI\n3000\n"
      "&TRACK\nCARTESIAN\n33\n0\nNOOVERLAP\n"
      "&TRACK\nLINEAR\n4\nMIDDLE\n100\n0\nNOOVERLAP\n"
      "&TRACK\nLOGARITMIC\n2\n12\nUPWARDS\n200\n100\nNOOVERLAP\n"
      "&CURVE\nA\n0\n\n   \n  Described late\n1\n2\n40\nWAVY\n1\n300\n-4\n0\n";
  const auto r = readPresentation(text);
  ASSERT_EQ(r.outcome, Outcome::Valid);
  const auto& f = r.formats[0];
  EXPECT_FALSE(f.english);
  EXPECT_EQ(f.scale, 200);  // 3000 lies outside 1..2999: the format keeps its scale
  EXPECT_EQ(f.tracks[0].mode, TrackMode::Depth);
  EXPECT_EQ(f.tracks[0].width, 33);  // a depth track reads no mode parameters
  EXPECT_FALSE(f.tracks[1].midThick);
  EXPECT_TRUE(f.tracks[2].leftToRight);
  EXPECT_EQ(f.tracks[2].startDecade, 1);
  const auto& c = f.tracks[2].curves[0];
  EXPECT_EQ(c.description, "Described late");  // empty and blank lines are skipped
  EXPECT_EQ(c.lineType, LineType::Solid);
  EXPECT_EQ(c.colour, platform::rgb(255, 0, 0));
}

TEST(PresentationFile, OverlappingTracksStackTheirHeadingsAcrossTracksAndFormats) {
  const std::string curve = "&CURVE\nA\n0\nd\n0\n1\n40\nSOLID\n1\n0\n0\n0\n";
  const std::string text = "&FORMAT\nF\nENGLISH\n200\n&TRACK\nDEPTH\n60\n0\nNOOVERLAP\n" + curve + curve +
                           "&TRACK\nDEPTH\n60\n60\nOVERLAP\n" + curve + "&TRACK\nDEPTH\n60\n120\nNOOVERLAP\n" + curve +
                           "&FORMAT\nG\nENGLISH\n200\n&TRACK\nDEPTH\n60\n0\nOVERLAP\n" + curve;
  const auto r = readPresentation(text);
  ASSERT_EQ(r.outcome, Outcome::Valid);
  const auto& t = r.formats[0].tracks;
  EXPECT_EQ(t[0].curves[0].labelPosition, 0);
  EXPECT_EQ(t[0].curves[1].labelPosition, 40);
  EXPECT_EQ(t[1].curves[0].labelPosition, 80);
  EXPECT_EQ(t[2].curves[0].labelPosition, 0);
  // The running total is not reset by a new format block.
  EXPECT_EQ(r.formats[1].tracks[0].curves[0].labelPosition, 40);
}

TEST(PresentationFile, OverlongFieldsAreCutToTheirFields) {
  const std::string longName(200, 'N');
  const std::string text = "&FORMAT\n" + longName + "\nENGLISH\n200\n&TRACK\nDEPTH\n60\n0\nNOOVERLAP\n&CURVE\n" +
                           std::string(30, 'M') + "\n0\n" + longName + "\n0\n1\n40\nSOLID\n1\n0\n0\n0\n";
  const auto r = readPresentation(text);
  ASSERT_EQ(r.outcome, Outcome::Valid);
  EXPECT_EQ(r.formats[0].name.size(), kFormatNameMax);
  EXPECT_EQ(r.formats[0].tracks[0].curves[0].name.size(), kCurveNameMax);
  EXPECT_EQ(r.formats[0].tracks[0].curves[0].description.size(), kDescriptionMax);
}

TEST(PresentationFile, ValuesThatWouldBreakTheDrawingAreBroughtIntoRange) {
  const std::string text =
      "&FORMAT\nF\nENGLISH\n200\n&TRACK\nLINEAR\n0\nMIDTHICK\n-5\n0\nNOOVERLAP\n"
      "&TRACK\nLOGARITMIC\n0\n1\nLEFTRIGHT\n400\n0\nNOOVERLAP\n"
      "&CURVE\nA\n-3\nd\n1e400\nnan\n-40\nSOLID\n-1\n0\n0\n0\n";
  const auto r = readPresentation(text);
  ASSERT_EQ(r.outcome, Outcome::Valid);
  EXPECT_EQ(r.formats[0].tracks[0].divisions, 1);
  EXPECT_EQ(r.formats[0].tracks[0].width, 0);
  EXPECT_EQ(r.formats[0].tracks[1].decades, 1);
  const auto& c = r.formats[0].tracks[1].curves[0];
  EXPECT_EQ(c.channelIndex, 0u);
  EXPECT_FLOAT_EQ(c.leftValue, -1.0f);
  EXPECT_FLOAT_EQ(c.rightValue, 1.0f);
  EXPECT_EQ(c.labelHeight, 0);
}

TEST(PresentationFile, WriterKeepsTokenFieldsReadable) {
  CFormat f = sampleFormat();
  f.tracks[0].curves[0].description = "";
  f.tracks[0].curves[0].name = "TWO WORDS";
  const auto r = readPresentation(writePresentation({f}));
  ASSERT_EQ(r.formats.size(), 1u);
  EXPECT_EQ(r.formats[0].tracks[0].curves[0].description, "NoChannel");
  EXPECT_EQ(r.formats[0].tracks[0].curves[0].name, "TWO_WORDS");
  EXPECT_FLOAT_EQ(r.formats[0].tracks[0].curves[0].rightValue, 0.25f);
}

}  // namespace
}  // namespace presentation

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace presentation {
namespace {

TEST(DefaultFormatFile, ShippedFormatsAreValidAndWrittenAsTheWriterWould) {
  // The tests run in their source folder; VAREXA_SOURCE_DIR names the root where it is set.
  const char* source = std::getenv("VAREXA_SOURCE_DIR");
  const std::string root = source ? source : "../../..";
  std::ifstream in(root + "/data/DEFAULT_FORMAT.TXT", std::ios::binary);
  ASSERT_TRUE(in);
  const std::string text(std::istreambuf_iterator<char>(in), {});
  auto r = readPresentation(text);
  EXPECT_EQ(r.outcome, PresentationRead::Outcome::Stopped);
  // Without its "&END" the file must still pass the end-of-file check.
  EXPECT_EQ(readPresentation(text.substr(0, text.size() - 4)).outcome, PresentationRead::Outcome::Valid);
  ASSERT_GE(r.formats.size(), 3u);
  bool logTrack = false;
  for (const auto& f : r.formats) {
    EXPECT_GT(f.curveCount, 0) << f.name;
    int width = 0;
    for (const auto& t : f.tracks) {
      logTrack = logTrack || t.mode == TrackMode::Logarithmic;
      width = std::max(width, t.left + t.width);
    }
    EXPECT_LE(width, 750) << f.name;  // fits the log page
  }
  EXPECT_TRUE(logTrack);
  EXPECT_EQ(writePresentation(r.formats), text);
}

}  // namespace
}  // namespace presentation
