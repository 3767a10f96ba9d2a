#pragma once
// Making the graphic objects the viewer's tools place on a log: their defaults (the "Font"
// and "Pen and Brush Options" dialogs), text boxes that must hold their text, the arrows of
// the curve labeller, and finding the object under the pointer.

#include <optional>
#include <string>
#include <vector>

#include "common/presentation/Annotation.h"
#include "pagemill/core/DataManager.h"
#include "platform/Canvas.h"

namespace pagemill {

enum class GraphicTool { None, TextBox, Line, CurveLabels, Rectangle, Ellipse, RoundedBox };

// The choices of the "Font" dialog.
struct FontChoice {
  enum Face { Swiss, Roman, Modern, Script } face = Swiss;
  int weight = 300;              // "Light" 300, "Normal" 400, "Bold" 700
  int size = 200;                // "Char Size:", 0.001 inch; the width is size x 40 / 100
  platform::Rgb colour = platform::rgb(0, 0, 255);
};

// The choices of the "Pen and Brush Options" dialog.
struct PenBrushChoice {
  int penStyle = 0;       // "Solid", "Dash", "Dot", "DashDot", "DashDotDot": 0..4
  int thickness = 1;      // "Thin" 1, "Middle" 2, "Heavy" 3
  platform::Rgb penColour = 0;
  int brushPattern = 6;   // stored value: 6 solid, 0..5 the hatch styles
  platform::Rgb brushColour = 0xFFFFFF;
  bool transparentText = false;  // "Don't use on Text"
};

struct ObjectDefaults {
  FontChoice font;
  PenBrushChoice pen;
};

// The brush patterns as the dialog lists them and as they are stored.
inline constexpr const char* kBrushPatternNames[7] = {"Solid", "Downward Diagonal", "Upward Diagonal", "Horizontal",
                                                       "Vertical", "Cross", "Diagonal Cross"};
inline constexpr int kBrushPatternValues[7] = {6, 3, 2, 0, 1, 4, 5};

// 10 page units per pen width step in English mode, 25 in Metric mode.
int penWidthUnit(bool english);

presentation::AnnotationFont annotationFont(const FontChoice& f);

// A new object of the tool's type over the dragged frame (log coordinates); for a line
// the start and end follow the drag.
presentation::Annotation makeObject(GraphicTool tool, platform::Point from, platform::Point to,
                                    const ObjectDefaults& d, bool english);

// Widens or heightens a text box that is too small for its text to the text size plus 50;
// true when the frame changed.
bool fitTextBox(presentation::Annotation& box, platform::Size text);

// The arrows of the curve labeller: n labels per curve of every track.
std::vector<presentation::Annotation> curveLabelArrows(const CDataManager& log, int n, const ObjectDefaults& d,
                                                       bool english);

// The first object whose frame holds the point (log coordinates), or nothing.
std::optional<std::size_t> objectAt(const std::vector<presentation::Annotation>& objects, platform::Point p);

}  // namespace pagemill
