#pragma once
// Pagemill's view of an opened log without a window: the log pane and the heading pane in
// page units (K across the pane, y down), their scrolling, and the graphic tools.

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "pagemill/core/DataManager.h"
#include "pagemill/core/GraphicObjects.h"
#include "platform/Canvas.h"
#include "platform/Prompter.h"

namespace pagemill {

class LogViewer {
 public:
  LogViewer(CDataManager& log, platform::Prompter& prompter) : log_(log), prompter_(prompter) {}

  // After opening a log or changing the unit mode: back to the start (a log recorded up
  // to its end).
  void reset();
  void setPaneSizes(platform::Size logPane, platform::Size headingPane);
  int logWidth() const { return log_.logWidth(); }

  // Page units across the pane's width, y down.
  platform::Mapping logMapping() const;
  platform::Mapping headingMapping() const { return mappingFor(headingPane_); }
  platform::Point toLogPane(platform::Point pixel) const;
  // Visible height in page units, whole rows.
  int visibleHeight() const;
  int visibleRows() const;

  // The log pane's scroll bar, in whole depth units from the first depth.
  int scrollPosition() const { return position_; }
  int scrollRange() const;
  void setScrollPosition(int position);
  void lineScroll(int lines) { setScrollPosition(position_ + 10 * lines); }
  void pageScroll(int pages) { setScrollPosition(position_ + 50 * pages); }
  void wheel(int notches) { setScrollPosition(position_ + 10 * notches); }
  // The depths at the top and the bottom of the pane for a thumb position.
  std::pair<float, float> depthsAt(int position) const;
  // Thumb release: the pane starts at the record of the top depth for that position.
  void releaseThumb(int position);
  std::uint64_t topRow() const { return topRow_; }

  // The heading pane: 100 units a step, between 0 and the block height minus the pane.
  int headingOffset() const { return headingOffset_; }
  void scrollHeadings(int steps);

  void drawLog(platform::Canvas& canvas) const;
  void drawHeadings(platform::Canvas& canvas) const;

  // Graphic tools; arming needs an opened log.
  bool armTool(GraphicTool tool);
  GraphicTool tool() const { return tool_; }
  ObjectDefaults& defaults() { return defaults_; }
  void press(platform::Point pane);
  // Creates the armed tool's object; measure gives a text's size in the object's font.
  void release(platform::Point pane, const std::function<platform::Size(const presentation::Annotation&)>& measure);
  std::optional<std::size_t> selected() const { return selected_; }
  bool deleteSelected();
  bool modified() const { return modified_; }
  void setModified(bool m) { modified_ = m; }

 private:
  platform::Mapping mappingFor(platform::Size pane) const;
  platform::Point toLog(platform::Point pane) const;
  int depthSpan() const;
  void createObject(platform::Point from, platform::Point to,
                    const std::function<platform::Size(const presentation::Annotation&)>& measure);
  void labelCurves();

  CDataManager& log_;
  platform::Prompter& prompter_;
  platform::Size logPane_{750, 400}, headingPane_{750, 80};
  int position_ = 0;
  std::uint64_t topRow_ = 0;
  int headingOffset_ = 0;
  GraphicTool tool_ = GraphicTool::None;
  ObjectDefaults defaults_;
  std::optional<platform::Point> dragFrom_;
  std::optional<std::size_t> selected_;
  bool modified_ = false;
};

// The curve editor's view of a thickness: KVR pixels from page units, rounded up, and back.
int thicknessPixels(int pageUnits, int logWidth);
int thicknessUnits(int pixels, int logWidth);

}  // namespace pagemill
