#include "cli/navikor-station/StationCsv.h"

#include <gtest/gtest.h>

#include <string>

using navikor_station::parseStations;

namespace {

const char* const kGood =
    "40.5, 0, 0.1, -0.2, -0.97, 10.1, -3.2, 4.4, 0.02, 0.03, 55.1, "
    "180, -0.1, 0.2, -0.97, -9.9, 3.1, 4.5, 0.02, 0.03, 55.2";

} // namespace

TEST(StationCsv, ParsesTheColumnsIntoTheTwoPositions)
{
    const auto r = parseStations(kGood);
    ASSERT_EQ(r.error, "");
    ASSERT_EQ(r.stations.size(), 1u);
    const auto& s = r.stations[0];
    EXPECT_EQ(s.lineNumber, 1);
    EXPECT_EQ(s.input.latitude, 40.5);
    EXPECT_EQ(s.input.position[0].acel.z, -0.97);
    EXPECT_EQ(s.input.position[0].gyro.x, 10.1);
    EXPECT_EQ(s.input.position[0].gyroNoise.y, 0.03);
    EXPECT_EQ(s.input.position[0].gyroTemp.x, 55.1);
    EXPECT_EQ(s.input.position[1].rotpos, 180);
    EXPECT_EQ(s.input.position[1].gyro.z, 4.5);
}

TEST(StationCsv, AnyLineEndingCommentsAndHeader)
{
    const std::string good = kGood;
    for (const char* eol : {"\n", "\r\n", "\r"}) {
        const std::string text = std::string("latitude,rotpos0,...") + eol + "# a comment" + eol + eol + good + eol + good;
        const auto r = parseStations(text);
        ASSERT_EQ(r.error, "") << "eol " << static_cast<int>(eol[0]);
        ASSERT_EQ(r.stations.size(), 2u);
        EXPECT_EQ(r.stations[0].lineNumber, 4);
        EXPECT_EQ(r.stations[1].lineNumber, 5);
    }
}

TEST(StationCsv, BadLinesAreNamed)
{
    struct Case {
        std::string text, error;
    };
    const std::string good = kGood;
    for (const Case& c : {
             Case{"1,2,3", "line 1: expected 21 columns, found 3"},
             Case{good + ",7", "line 1: expected 21 columns, found more"},
             Case{"# x\n" + good.substr(0, good.find(',')) + ",abc" + good.substr(good.find(',', good.find(',') + 1)),
                  "line 2: column 2 (rotpos0) is not a number: \"abc\""},
             Case{"95" + good.substr(good.find(',')), "line 1: latitude must lie strictly between -90 and 90 degrees"},
             Case{"nan" + good.substr(good.find(',')), "line 1: column 1 (latitude) is not a number: \"nan\""},
             Case{"40,0,0,0,0,1,1,1,0,0,0,180,0,0,-1,1,1,1,0,0,0", "line 1: the acceleration of position 0 is zero"},
             Case{good + "\n,", "line 2: column 1 (latitude) is not a number: \"\""},
         }) {
        const auto r = parseStations(c.text);
        EXPECT_EQ(r.error, c.error) << c.text;
    }
    EXPECT_TRUE(parseStations("").stations.empty());
}
