#pragma once
// Draws Pagemill's graphic objects (annotation records) onto a Canvas: on paper (y up,
// objects translated below the log's first row on that page) and in the viewer (y down).

#include "common/presentation/Annotation.h"
#include "platform/Canvas.h"

namespace presentation {

// Where an object's log coordinates (y down from the log's first row) land on the canvas.
struct ObjectPlacement {
  int originY = 0;      // canvas y of the log's y 0
  bool yUp = true;      // paper: canvas y = originY - log y; viewer: originY + log y
  bool metric = false;  // object fonts are stored in 0.001 inch; x 254 / 100 in Metric mode
};

platform::Pen objectPen(const Annotation& a);
platform::Brush objectBrush(const Annotation& a);
platform::Font objectFont(const Annotation& a, bool metric);

// The object's frame in log coordinates, top < bottom.
platform::Rect objectExtent(const Annotation& a);
// True when the object's y range overlaps [logTop, logBottom] (log coordinates).
bool objectOverlaps(const Annotation& a, int logTop, int logBottom);

void drawObject(platform::Canvas& canvas, const Annotation& a, const ObjectPlacement& at);

}  // namespace presentation
