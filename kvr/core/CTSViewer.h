#pragma once
// The tool string sketch: every item of the string drawn to scale (one centimetre of length
// per logical unit), top of the string at the top, with the remaining length beside each
// item, its name on the left and its serial number under the name. Reads the tool list and
// never changes it. The dialog's scroll bar and mouse wheel move the sketch.

#include "common/records/ChannelStruct.h"
#include "platform/Canvas.h"

namespace kvr {

class CTSViewer {
 public:
  static constexpr int kScrollRange = 1000;

  // Draws the list into the canvas's bounds, limiting the scroll offset as it goes.
  void draw(platform::Canvas& canvas, const records::ToolList& tools);

  int scrollOffset() const { return scroll_; }
  int largestScrollOffset() const { return largest_; }
  void setScrollOffset(int offset) { scroll_ = offset; }

  // Scroll bar requests; the sketch is redrawn after each, which limits the offset.
  void lineUp() { scroll_ -= 10; }
  void lineDown() { scroll_ += 10; }
  void pageUp() { scroll_ -= 100; }
  void pageDown() { scroll_ += 100; }
  void top() { scroll_ = 0; }
  void thumbTrack(int position) { scroll_ = position * largest_ / kScrollRange; }
  // Mouse wheel: towards the user (negative delta) scrolls down the string.
  void wheel(int delta) { scroll_ += delta < 0 ? 20 : -20; }
  // Where the scroll bar's thumb stands.
  int scrollBarPosition() const { return largest_ > 0 ? scroll_ * kScrollRange / largest_ : 0; }

  // The window font; its "A" gives the text offset.
  static platform::Font windowFont();

 private:
  void drawOutline(platform::Canvas& c, const records::ToolEntry& e, int left, int top, int right, int bottom,
                   int centre);
  int scroll_ = 0;
  int largest_ = 0;
};

}  // namespace kvr
