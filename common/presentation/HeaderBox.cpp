#include "common/presentation/HeaderBox.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

namespace presentation {

namespace {

constexpr const char* kDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

const platform::Font kValueFont{"", platform::FontFamily::Swiss, 13, 0, 400};
const platform::Font kLabelFont{"", platform::FontFamily::Swiss, 13, 0, 700};

constexpr int kMargin = 10;     // box edge to the first label, last value to the box edge
constexpr int kLabelGap = 6;    // label to its value
constexpr int kColumnGap = 14;  // one column's values to the next column's labels

int widest(platform::Canvas& c, std::initializer_list<const std::string*> texts) {
  int w = 0;
  for (const auto* t : texts) w = std::max(w, c.textExtent(*t).width);
  return w;
}

// The text, shortened with "..." until it is no wider than width (in the current font).
std::string fitted(platform::Canvas& c, const std::string& text, int width) {
  if (c.textExtent(text).width <= width) return text;
  std::string cut = text;
  while (!cut.empty() && c.textExtent(cut + "...").width > width) cut.pop_back();
  return cut.empty() ? std::string() : cut + "...";
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
    const char* labels[3];
    const std::string* values[3];
    int labelWidth = 0, valueWidth = 0, x = 0, room = 0;
  };
  Column columns[3] = {
      {{"Client:", "Well Name:", "Field Name:"}, {&t.client, &t.wellName, &t.fieldName}},
      {{"Log File:", "Format File:", "Scale:"}, {&t.logFile, &t.formatFile, &t.scale}},
      {{"Logging Date:", "Created on:", "Created at:"}, {&t.loggingDate, &t.createdOn, &t.createdAt}},
  };
  // Labels are measured in the bold font they are drawn in, values in the value font.
  c.setFont(kLabelFont);
  for (auto& col : columns) {
    const std::string l0 = col.labels[0], l1 = col.labels[1], l2 = col.labels[2];
    col.labelWidth = widest(c, {&l0, &l1, &l2});
  }
  c.setFont(kValueFont);
  for (auto& col : columns) col.valueWidth = widest(c, {col.values[0], col.values[1], col.values[2]});
  // The dates keep their whole width at the right; the job and file columns share the rest,
  // the file column first, and a value longer than its room is shortened.
  const int inner = box.width() - 2 * kMargin;
  auto natural = [](const Column& col) { return col.labelWidth + kLabelGap + col.valueWidth; };
  Column& dates = columns[2];
  dates.room = std::min(dates.valueWidth, std::max(0, inner / 2 - dates.labelWidth - kLabelGap));
  dates.x = box.right - kMargin - (dates.labelWidth + kLabelGap + dates.room);
  const int shared = std::max(0, dates.x - kColumnGap - (box.left + kMargin));
  Column& job = columns[0];
  Column& file = columns[1];
  const int jobWanted = natural(job), fileWanted = natural(file) + kColumnGap;
  int jobWidth = jobWanted;
  if (jobWanted + fileWanted > shared) jobWidth = std::max(job.labelWidth + kLabelGap, std::min(jobWanted, shared * 2 / 5));
  job.x = box.left + kMargin;
  job.room = std::max(0, jobWidth - job.labelWidth - kLabelGap);
  file.x = job.x + jobWidth + kColumnGap;
  file.room = std::max(0, dates.x - kColumnGap - file.x - file.labelWidth - kLabelGap);

  constexpr int kLines[3] = {8, 23, 38};
  c.setFont(kLabelFont);
  for (const auto& col : columns)
    for (int i = 0; i < 3; ++i) c.text({col.x, box.top + kLines[i]}, col.labels[i]);
  c.setFont(kValueFont);
  for (const auto& col : columns)
    for (int i = 0; i < 3; ++i)
      c.text({col.x + col.labelWidth + kLabelGap, box.top + kLines[i]}, fitted(c, *col.values[i], col.room));
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
