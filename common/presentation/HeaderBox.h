#pragma once
// The header box of KVR's log window (job data, file names, scale, dates), the depth box
// shown while the scroll thumb is dragged, and the disk-write error text.

#include <ctime>
#include <string>

#include "platform/Canvas.h"

namespace presentation {

struct HeaderTexts {
  std::string client, wellName, fieldName;
  std::string logFile, formatFile, scale;   // scale: "1:" and the scale
  std::string loggingDate, createdOn, createdAt;
};

// "%a, %b %d, %Y" and "%H:%M:%S" in the C locale, whatever the program's locale is.
std::string creationDateText(const std::tm& t);
std::string creationTimeText(const std::tm& t);
std::string scaleText(int scale);

void drawHeaderBox(platform::Canvas& canvas, const platform::Rect& box, const HeaderTexts& texts);

// "Depth: 1234 ft" (or " m") centred in a box 120 to 5 units left of the header box's
// right edge, 20 high, centred on the header box.
std::string thumbDepthText(int depth, bool english);
void drawThumbDepth(platform::Canvas& canvas, const platform::Rect& headerBox, int depth, bool english);

// Drawn in the plot when the chart data file could not take the write buffer.
constexpr const char* kDiskWriteError = "Err Disk Write - CODE: 100";
void drawDiskWriteError(platform::Canvas& canvas, const platform::Rect& plot);

}  // namespace presentation
