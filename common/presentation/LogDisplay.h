#pragma once
// KVR's log window without its window: rows drawn as frames arrive, freeze, scrolling
// back and jumping through the chart data file, heading scrolling and the header box.
// A view hands in its canvas (an offscreen picture it shows) and its events.

#include <span>
#include <vector>

#include "common/presentation/ChartDataFile.h"
#include "common/presentation/Format.h"
#include "common/presentation/HeaderBox.h"
#include "common/presentation/LogWindowLayout.h"
#include "common/presentation/LookBack.h"
#include "common/presentation/TrackRenderer.h"
#include "platform/Canvas.h"

namespace presentation {

class LogDisplay {
 public:
  // format: bound and normalised; frames: its value stream (the chart data writer while
  // logging); step: signed row height (screenStep).
  LogDisplay(CFormat& format, const FrameSource& frames, RenderRules rules, const platform::Rect& client, int step,
             HeaderTexts header);

  const LogWindowLayout& layout() const { return layout_; }
  const LookBack& lookBack() const { return lookBack_; }
  bool frozen() const { return frozen_; }
  int headingOffset() const { return headingOffset_; }

  void resize(platform::Canvas& canvas, const platform::Rect& client);
  // Everything: header box, headings and the plot at the view's place.
  void paint(platform::Canvas& canvas);

  // A frame was appended to the stream: unless frozen the plot moves by one row and the
  // row is drawn (a view that was looking back returns to the newest rows first).
  void frameAdded(platform::Canvas& canvas, std::span<const float> record);
  void diskWriteFailed(platform::Canvas& canvas);

  // Positive rows move toward older data.
  void scrollRows(platform::Canvas& canvas, int olderRows);
  void lineUp(platform::Canvas& c) { scrollRows(c, lookBack_.lineUpRows()); }
  void lineDown(platform::Canvas& c) { scrollRows(c, lookBack_.lineDownRows()); }
  void pageUp(platform::Canvas& c) { scrollRows(c, lookBack_.pageUpRows()); }
  void pageDown(platform::Canvas& c) { scrollRows(c, lookBack_.pageDownRows()); }
  void wheelOverPlot(platform::Canvas& c, int notches) { scrollRows(c, lookBack_.wheelRows(notches)); }
  void wheelOverHeadings(platform::Canvas& canvas, int notches);

  void thumbReleased(platform::Canvas& canvas, int position);
  void thumbDragged(platform::Canvas& canvas, int position);
  // The thumb position the scroll bar should show.
  int thumbPosition() const { return lookBack_.position(frames_.frameCount()); }
  // True when the view should move the thumb to the newest position now.
  bool thumbDue() const { return lookBack_.thumbDue(frames_.frameCount()); }

  void toggleFreeze() { frozen_ = !frozen_; }

 private:
  void drawPlot(platform::Canvas& canvas);
  void drawHeadings(platform::Canvas& canvas);
  void drawFrames(platform::Canvas& canvas, FrameSpan span);
  void scrollPlot(platform::Canvas& canvas, int dy);

  CFormat& format_;
  const FrameSource& frames_;
  TrackRenderer renderer_;
  LogWindowLayout layout_;
  LookBack lookBack_;
  HeaderTexts header_;
  bool frozen_ = false;
  int headingOffset_ = 0;
  bool liveRowDrawn_ = false;  // the last frame drawn is the newest of the stream
  std::vector<float> buffer_;
};

}  // namespace presentation
