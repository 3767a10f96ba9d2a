#include "common/presentation/HeaderBox.h"

#include <cstdio>

namespace presentation {

namespace {

constexpr const char* kDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

const platform::Font kValueFont{"", platform::FontFamily::Swiss, 13, 0, 400};
const platform::Font kLabelFont{"", platform::FontFamily::Swiss, 13, 0, 700};

int averageCharWidth(platform::Canvas& c) {
  static constexpr const char* kSample = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  return (c.textExtent(kSample).width + 26) / 52;
}

}  // namespace

std::string creationDateText(const std::tm& t) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s, %s %02d, %04d", kDays[(t.tm_wday % 7 + 7) % 7], kMonths[(t.tm_mon % 12 + 12) % 12],
                t.tm_mday, t.tm_year + 1900);
  return buf;
}

std::string creationTimeText(const std::tm& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
  return buf;
}

std::string scaleText(int scale) { return "1:" + std::to_string(scale); }

void drawHeaderBox(platform::Canvas& c, const platform::Rect& box, const HeaderTexts& t) {
  c.setPen(platform::Pen{platform::PenStyle::Solid, 1, 0});
  c.setBrush(platform::Brush{platform::BrushStyle::Solid, 0xFFFFFF});
  c.rectangle(box);
  c.setTextColour(0);
  c.setBackground(false, 0xFFFFFF);
  struct Column {
    int x;
    int valueChars;
    const char* labels[3];
    const std::string* values[3];
  };
  const Column columns[3] = {
      {box.left + 10, 12, {"Client:", "Well Name:", "Field Name:"}, {&t.client, &t.wellName, &t.fieldName}},
      {box.left + 250, 13, {"Log File:", "Format File:", "Scale:"}, {&t.logFile, &t.formatFile, &t.scale}},
      {box.right - 190, 14, {"Logging Date:", "Created on:", "Created at:"},
       {&t.loggingDate, &t.createdOn, &t.createdAt}},
  };
  constexpr int kLines[3] = {8, 23, 38};
  c.setFont(kLabelFont);
  const int avg = averageCharWidth(c);
  for (const auto& col : columns)
    for (int i = 0; i < 3; ++i) c.text({col.x, box.top + kLines[i]}, col.labels[i]);
  c.setFont(kValueFont);
  for (const auto& col : columns)
    for (int i = 0; i < 3; ++i) c.text({col.x + col.valueChars * avg, box.top + kLines[i]}, *col.values[i]);
}

std::string thumbDepthText(int depth, bool english) {
  return "Depth: " + std::to_string(depth) + (english ? " ft" : " m");
}

void drawThumbDepth(platform::Canvas& c, const platform::Rect& headerBox, int depth, bool english) {
  const int middle = headerBox.top + headerBox.height() / 2;
  const platform::Rect box{headerBox.right - 120, middle - 10, headerBox.right - 5, middle + 10};
  c.setPen(platform::Pen{platform::PenStyle::Solid, 1, 0});
  c.setBrush(platform::Brush{platform::BrushStyle::Solid, 0xFFFFFF});
  c.rectangle(box);
  c.setFont(kValueFont);
  c.setTextColour(0);
  c.setBackground(false, 0xFFFFFF);
  c.text({(box.left + box.right) / 2, middle - c.textExtent("0").height / 2}, thumbDepthText(depth, english),
         platform::AlignCenter | platform::AlignTop);
}

void drawDiskWriteError(platform::Canvas& c, const platform::Rect& plot) {
  c.setFont(kValueFont);
  c.setTextColour(platform::rgb(255, 0, 0));
  c.setBackground(true, 0xFFFFFF);
  c.text({plot.left + 75, plot.top + plot.height() / 2}, kDiskWriteError);
}

}  // namespace presentation
