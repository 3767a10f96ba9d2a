#pragma once
// A whole chart data file drawn as one picture with the log window's own drawing: header
// box, curve headings and every row (the newest rows when the log is taller than the
// picture may be), so a log can be looked at without the program.

#include <cstdint>
#include <string>

#include "common/presentation/ChartDataFile.h"
#include "common/presentation/HeaderBox.h"
#include "platform/Canvas.h"

namespace presentation {

struct ChartPicturePlan {
  platform::Size size;  // the picture, in pixels
  int step = -1;        // signed row height, as in the log window
};

// The picture's size for every row of the file, at least the log window's size and at
// most maxHeight high. modeWord: the system mode word the log was recorded with (its
// depth resolution sets the row height).
ChartPicturePlan planChartPicture(const ChartDataReader& reader, int modeWord, int maxHeight = 30000);

// The header texts the file itself knows: format name and scale; logFile names the log.
HeaderTexts chartPictureHeader(const ChartHeader& header, const std::string& logFile);

// Draws the picture onto a canvas of plan.size (white background).
void drawChartPicture(platform::Canvas& canvas, const ChartDataReader& reader, const ChartPicturePlan& plan,
                      HeaderTexts header);

}  // namespace presentation
