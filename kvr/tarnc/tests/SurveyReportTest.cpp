// The survey report pair's lines byte for byte, and the loader behind "Upload".
#include <gtest/gtest.h>

#include "kvr/tarnc/SurveyReport.h"

using namespace kvr::tarnc;

TEST(SurveyReport, StationLinesCarryTheFileNumberOrNA) {
  StationLine a{1, 7, 1500.0, 30, 123.4, 50, 173.4, 99.5, 10, 5, 7, 11, 12, 2026, 80, 0};
  EXPECT_EQ(stationLine(a),
            "001         _007     1500.0       30.00      123.40       50.00      173.40       99.5    10:05:07    "
            "11/12/2026     80.0\r\n");
  StationLine b{12, -1, -3.3, 0.5, 359.99, -120, 0, 50, 1, 2, 3, 4, 5, 2027, 20.5, 12.5};
  EXPECT_EQ(stationLine(b),
            "012         -NA-       -3.3        0.50      359.99      -120.00        0.00       50.0    01:02:03    "
            "04/05/2027     20.5 *** MULESHOE TOOLFACE OFFSET APPLIED: 12.5 [DEG]\r\n");
}

TEST(SurveyReport, HeadersCarryTheTruncatedLatitudeAndTheReplacementBytes) {
  ReportHeader h{"W-1", -12.5, "2026-01-02", "TCX-0417", "2.0"};
  const std::string t = surveyHeader(h);
  EXPECT_EQ(t.rfind("Northseeking Gyroscopic Survey Report - version: 1.0\r\n\r\nWell Name    : W-1\r\n"
                    "Well Latitude: -12 -30' 0\"\r\n\r\nCalibration Date   : 2026-01-02\r\n"
                    "IMU Serial Number  : TCX-0417\r\nCalibration Version: 2.0\r\n\r\nStation     File",
                    0),
            0u);
  EXPECT_NE(t.find("  ##         ##        m           \xEF\xBF\xBD           \xEF\xBF\xBD"), std::string::npos);
  EXPECT_EQ(t.substr(t.size() - 2), "\r\n");
  const std::string r = rawHeader(h);
  EXPECT_EQ(r.rfind("Northseeking Gyroscopic RAW DATA Survey Report - version: 1.0\r\n\r\nWell Name    : W-1\r\n", 0), 0u);
  EXPECT_NE(r.find("       \xEF\xBF\xBD/h       \xEF\xBF\xBD/h"), std::string::npos);
}

TEST(SurveyReport, APositionAtCountZeroPrintsFourBlanks) {
  RawBlock b;
  b.station = 3;
  b.file = -1;
  b.first.acc[2] = -1;
  b.second.motorPosition = 524;
  b.lastSurvey = "STATION";
  const std::string block = rawBlock(b);
  EXPECT_EQ(block.rfind("POSITION   0: 003    -NA-                0.00", 0), 0u) << block;
  EXPECT_NE(block.find("\r\nPOSITION 180: 003    -NA-     524     "), std::string::npos);
  EXPECT_NE(block.find("CONTINUOS MODE CORRECTED ANGLES: (Last Survey File: STATION)\r\nTotal:   0.0\xEF\xBF\xBD\r\nDEVI:   0.0"),
            std::string::npos);
  EXPECT_EQ(block.substr(block.size() - 4), "\r\n\r\n");
}

TEST(SurveyReport, TheLoaderTakesLfCrLfAndCrAndStopsAtAFault) {
  for (const char* eol : {"\n", "\r\n", "\r"}) {
    const std::string text = std::string("Station  File") + eol + "  ## units" + eol +
                             "001 _007 10.0 1 2 3 4 99.0 10:00:00 01/02/2026 80.0" + eol +
                             "002 -NA- 20.0 1 2 3 4 98.0 10:00:00 01/02/2026 80.0 *** MULESHOE 5.0 [DEG]" + eol +
                             "003 x12 bad";
    std::vector<LoadedStation> rows;
    bool header = false;
    EXPECT_FALSE(parseSurveyReport(text, rows, &header));
    EXPECT_TRUE(header);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].row.get(1), 7);
    EXPECT_EQ(rows[1].row.get(1), -1);
    EXPECT_TRUE(rows[1].muleshoe);
    EXPECT_FALSE(rows[0].muleshoe);
    EXPECT_EQ(rows[1].row.get(7), 98);
  }
}
