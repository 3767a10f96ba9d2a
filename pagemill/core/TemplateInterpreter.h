#pragma once
// The header template language: the commands of one unit-system section of a template
// drawn onto a Canvas. Page units are 0.001 inch (&ENGLISH) or 0.01 mm (&METRIC), y up.
//
// Pictures (&BMP) are looked up only inside the template's own folder: a name that is
// absolute, carries a drive, or climbs out with ".." draws nothing. Nothing in a template
// starts a program or reads any other file.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Canvas.h"

namespace pagemill {

struct TemplateRect {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  friend bool operator==(const TemplateRect&, const TemplateRect&) = default;
};

struct TemplateOptions {
  bool english = true;
  bool printing = false;
  int printMode = 0;              // 1 "HP Printer", 2 "PDF Writer", 3 neither
  std::string separatorText;
  std::filesystem::path folder;   // the template's folder, for &BMP
  std::function<std::string(int)> item;  // the text of job data item n
};

// The engine's state after a run, for callers and tests.
struct TemplateState {
  int origin = 0;  // V
  TemplateRect main, sub, rect;
  platform::Point text;
  bool mainRegionSet = false;
};

// The longest rest of a line a command takes; the rest of a longer line is dropped.
constexpr std::size_t kTemplateLineMax = 254;

// Draws the section of the unit system of options.english; returns the state, whose origin
// is the bottom of the last main region (unchanged when the run set none).
TemplateState interpretTemplate(std::string_view text, int origin, const TemplateOptions& options,
                                platform::Canvas& canvas);

// The picture path of a &BMP name inside folder, or nothing when the name would leave it.
std::optional<std::filesystem::path> templatePicturePath(const std::filesystem::path& folder, std::string_view name);

}  // namespace pagemill
