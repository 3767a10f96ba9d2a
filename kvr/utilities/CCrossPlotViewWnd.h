#pragma once
// The drawing window of the cross plot: the list of plotted paths and the plot itself,
// laid out on a logical page 8150 x 6000 (x right, y up from the lower-left corner)
// stretched onto the client area.

#include <memory>
#include <vector>

#include "kvr/utilities/CrossPlotSettings.h"
#include "platform/Canvas.h"

namespace kvr::utilities {

class CCrossPlotViewWnd {
 public:
  static constexpr int kPageWidth = 8150;
  static constexpr int kPageHeight = 6000;
  static constexpr platform::Rect kPlotRect{600, 300, 7850, 5700};

  // The list keeps whole path tables, so every path follows the plot kind of the drawing.
  void clearPaths() { paths_.clear(); }
  void addPath(std::shared_ptr<const PathTable> path) { paths_.push_back(std::move(path)); }
  std::size_t pathCount() const { return paths_.size(); }

  void setSettings(const PlotSettings& settings) { settings_ = settings; }
  const PlotSettings& settings() const { return settings_; }
  // Until the first "Plot Now" only the page and the empty plot rectangle are drawn.
  void setPlotted() { plotted_ = true; }
  bool plotted() const { return plotted_; }

  // client: the device rectangle to fill.
  void draw(platform::Canvas& canvas, const platform::Rect& client) const;

 private:
  std::vector<std::shared_ptr<const PathTable>> paths_;
  PlotSettings settings_;
  bool plotted_ = false;
};

// The pen colour of the path at a position of the list.
platform::Rgb pathColour(std::size_t position);

}  // namespace kvr::utilities
