#include "pagemill/core/GraphicObjects.h"

#include <algorithm>

#include "common/presentation/AnnotationRenderer.h"
#include "common/presentation/TrackRenderer.h"

namespace pagemill {

using presentation::Annotation;
using presentation::AnnotationType;

int penWidthUnit(bool english) { return english ? 10 : 25; }

presentation::AnnotationFont annotationFont(const FontChoice& f) {
  presentation::AnnotationFont a;
  a.height = f.size;
  a.width = f.size * 40 / 100;
  a.weight = f.weight;
  static constexpr std::uint8_t kFamilies[4] = {0x20, 0x10, 0x30, 0x40};
  a.pitchAndFamily = kFamilies[f.face];
  a.quality = 2;       // proof
  a.outPrecision = 7;  // TrueType
  return a;
}

namespace {

Annotation withDefaults(const ObjectDefaults& d, bool english) {
  Annotation a;
  a.penWidthUnit = static_cast<std::uint32_t>(penWidthUnit(english));
  a.penStyle = static_cast<std::uint32_t>(std::clamp(d.pen.penStyle, 0, 4));
  a.penWidth = static_cast<std::uint32_t>(std::clamp(d.pen.thickness, 1, 3));
  a.penColour = d.pen.penColour;
  a.fillPattern = static_cast<std::uint32_t>(std::clamp(d.pen.brushPattern, 0, 6));
  a.fillColour = d.pen.brushColour;
  a.transparent = d.pen.transparentText;
  a.textColour = d.font.colour;
  a.font = annotationFont(d.font);
  return a;
}

}  // namespace

Annotation makeObject(GraphicTool tool, platform::Point from, platform::Point to, const ObjectDefaults& d,
                      bool english) {
  Annotation a = withDefaults(d, english);
  a.frame = {from.x, from.y, to.x, to.y};
  switch (tool) {
    case GraphicTool::TextBox: a.type = static_cast<std::uint32_t>(AnnotationType::TextBox); break;
    case GraphicTool::Line:
      a.type = static_cast<std::uint32_t>(AnnotationType::Line);
      a.lineStart = from;
      a.lineEnd = to;
      break;
    case GraphicTool::Rectangle: a.type = static_cast<std::uint32_t>(AnnotationType::Rectangle); break;
    case GraphicTool::Ellipse: a.type = static_cast<std::uint32_t>(AnnotationType::Ellipse); break;
    case GraphicTool::RoundedBox: a.type = static_cast<std::uint32_t>(AnnotationType::RoundedBox); break;
    default: a.type = static_cast<std::uint32_t>(AnnotationType::None); break;
  }
  if (tool != GraphicTool::Line) a.frame = presentation::objectExtent(a);
  return a;
}

bool fitTextBox(Annotation& box, platform::Size text) {
  auto& f = box.frame;
  if (f.left > f.right) std::swap(f.left, f.right);
  if (f.top > f.bottom) std::swap(f.top, f.bottom);
  bool changed = false;
  if (text.width > f.width()) {
    f.right = f.left + text.width + 50;
    changed = true;
  }
  if (text.height > f.height()) {
    f.bottom = f.top + text.height + 50;
    changed = true;
  }
  return changed;
}

std::vector<Annotation> curveLabelArrows(const CDataManager& log, int n, const ObjectDefaults& d, bool english) {
  std::vector<Annotation> out;
  const std::uint64_t records = log.recordCount();
  if (n < 1 || records == 0) return out;
  const std::uint64_t step = records / static_cast<std::uint64_t>(n);
  if (step == 0) return out;
  const int unit = penWidthUnit(english);
  const int size = 20 * unit;
  const int h = log.rowHeight();
  const auto width = static_cast<std::size_t>(log.valuesPerRecord());
  presentation::CFormat format = log.pageFormat();
  for (int i = 0; i < n; ++i) {
    const std::uint64_t index = step / 2 + static_cast<std::uint64_t>(i) * step;
    std::vector<float> record;
    if (log.readRecords(index, 1, record) != 1) continue;
    const std::uint64_t row = log.recordedUp() ? records - 1 - index : index;
    const int y = static_cast<int>(std::min<std::uint64_t>(row * static_cast<std::uint64_t>(h), 10000000));
    std::size_t entry = 1;
    for (auto& track : format.tracks) {
      int stacked = 0;
      for (auto& curve : track.curves) {
        if (!curve.enabled) continue;
        const float value = entry < width ? record[entry] : presentation::kMissingValue;
        ++entry;
        if (value == presentation::kMissingValue) continue;
        curve.wrap = 0;
        const int dx = presentation::curveOffset(track, curve, value);
        const int x = curve.reverse ? track.left + track.width - dx : track.left + dx;
        Annotation a = withDefaults(d, english);
        a.type = static_cast<std::uint32_t>(AnnotationType::Arrow);
        const bool left = x + size > track.left + track.width;
        a.frame = {x, y, left ? x - size : x + size, y + size + stacked};
        a.text = curve.name.substr(0, 99);
        out.push_back(a);
        stacked += size;
      }
    }
  }
  return out;
}

std::optional<std::size_t> objectAt(const std::vector<Annotation>& objects, platform::Point p) {
  for (std::size_t i = 0; i < objects.size(); ++i) {
    const auto r = presentation::objectExtent(objects[i]);
    if (p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom) return i;
  }
  return std::nullopt;
}

}  // namespace pagemill
