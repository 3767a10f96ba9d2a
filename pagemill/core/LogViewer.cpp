#include "pagemill/core/LogViewer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/presentation/AnnotationRenderer.h"
#include "common/presentation/PaperHeadings.h"
#include "common/presentation/TrackRenderer.h"

namespace pagemill {

namespace {
constexpr const char* kTextTooBig =
    "The Size of the text you have input does not fit inside the selected area\ndo you want to adjust this area?";
}  // namespace

int thicknessPixels(int pageUnits, int logWidth) {
  if (logWidth <= 0) return pageUnits;
  return static_cast<int>((static_cast<long long>(pageUnits) * 750 + logWidth - 1) / logWidth);
}

int thicknessUnits(int pixels, int logWidth) { return static_cast<int>(static_cast<long long>(pixels) * logWidth / 750); }

void LogViewer::reset() {
  selected_.reset();
  dragFrom_.reset();
  headingOffset_ = 0;
  position_ = 0;
  topRow_ = 0;
  if (log_.recordedUp()) setScrollPosition(scrollRange());
}

void LogViewer::setPaneSizes(platform::Size logPane, platform::Size headingPane) {
  logPane_ = {std::max(logPane.width, 1), std::max(logPane.height, 1)};
  headingPane_ = {std::max(headingPane.width, 1), std::max(headingPane.height, 1)};
  setScrollPosition(position_);
  scrollHeadings(0);
}

platform::Mapping LogViewer::mappingFor(platform::Size pane) const {
  platform::Mapping m;
  m.windowExtent = {logWidth(), logWidth()};
  m.viewportExtent = {pane.width, pane.width};
  return m;
}

platform::Mapping LogViewer::logMapping() const { return mappingFor(logPane_); }

platform::Point LogViewer::toLogPane(platform::Point pixel) const {
  const long long k = logWidth();
  return {static_cast<int>(pixel.x * k / logPane_.width), static_cast<int>(pixel.y * k / logPane_.width)};
}

int LogViewer::visibleHeight() const {
  const int h = std::max(log_.rowHeight(), 1);
  const long long units = static_cast<long long>(logWidth()) * logPane_.height / logPane_.width;
  return static_cast<int>(units / h * h);
}

int LogViewer::visibleRows() const { return visibleHeight() / std::max(log_.rowHeight(), 1); }

int LogViewer::depthSpan() const {
  return static_cast<int>(std::min(std::fabs(log_.lastDepth() - log_.firstDepth()), 1.0e7f));
}

int LogViewer::scrollRange() const {
  const int fits = visibleRows() / log_.recordsPerDepthUnit();
  return std::max(depthSpan() - fits, 0);
}

void LogViewer::setScrollPosition(int position) {
  position_ = std::clamp(position, 0, scrollRange());
  topRow_ = static_cast<std::uint64_t>(position_) * static_cast<std::uint64_t>(log_.recordsPerDepthUnit());
  const std::uint64_t n = log_.recordCount();
  if (topRow_ >= n) topRow_ = n == 0 ? 0 : n - 1;
}

std::pair<float, float> LogViewer::depthsAt(int position) const {
  const float first = std::min(log_.firstDepth(), log_.lastDepth());
  const float top = first + static_cast<float>(std::clamp(position, 0, scrollRange()));
  return {top, top + static_cast<float>(visibleRows()) / static_cast<float>(log_.recordsPerDepthUnit())};
}

void LogViewer::releaseThumb(int position) {
  setScrollPosition(position);
  const std::uint64_t index = log_.recordAtDepth(depthsAt(position_).first);
  const std::uint64_t n = log_.recordCount();
  if (n == 0) return;
  // In printing order the shallowest record comes first.
  topRow_ = log_.recordedUp() ? n - 1 - std::min(index, n - 1) : index;
}

void LogViewer::scrollHeadings(int steps) {
  const int block = presentation::headingBlockHeight(log_.pageFormat());
  const long long paneUnits = static_cast<long long>(logWidth()) * headingPane_.height / headingPane_.width;
  const int most = std::max(0, block - static_cast<int>(paneUnits));
  headingOffset_ = std::clamp(headingOffset_ + 100 * steps, 0, most);
}

void LogViewer::drawLog(platform::Canvas& c) const {
  if (!log_.isOpen()) return;
  presentation::CFormat f = log_.pageFormat();
  presentation::TrackRenderer r(presentation::paperRules(f, log_.englishMode(), log_.recordedUp(), true));
  r.restart(f);
  const int h = log_.rowHeight();
  const std::uint64_t n = log_.recordCount();
  const auto width = static_cast<std::size_t>(log_.valuesPerRecord());
  const std::uint64_t rows = std::min<std::uint64_t>(n - std::min(topRow_, n), static_cast<std::uint64_t>(visibleRows()) + 1);
  std::vector<float> block;
  const std::size_t chunk = static_cast<std::size_t>(log_.blockRecords());
  for (std::uint64_t k = 0; k < rows; k += chunk) {
    const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, rows - k));
    block.clear();
    std::size_t got = 0;
    if (log_.recordedUp()) {
      // Printing order runs backwards through the file.
      const std::uint64_t lastRow = topRow_ + k + take - 1;
      got = log_.readRecords(n - 1 - lastRow, take, block);
      if (got != take) return;
      for (std::size_t i = 0; i < take; ++i) {
        const int y = static_cast<int>((k + i) * static_cast<std::uint64_t>(h));
        r.drawRow(c, f, {block.data() + (take - 1 - i) * width, width}, y, y - h);
      }
    } else {
      got = log_.readRecords(topRow_ + k, take, block);
      for (std::size_t i = 0; i < got; ++i) {
        const int y = static_cast<int>((k + i) * static_cast<std::uint64_t>(h));
        r.drawRow(c, f, {block.data() + i * width, width}, y, y - h);
      }
      if (got != take) break;
    }
  }
  const int top = static_cast<int>(std::min<std::uint64_t>(topRow_ * static_cast<std::uint64_t>(h), 10000000));
  const presentation::ObjectPlacement at{-top, false, !log_.englishMode()};
  const int bottom = top + visibleHeight();
  for (std::size_t i = 0; i < log_.objects().size(); ++i) {
    const auto& o = log_.objects()[i];
    if (!presentation::objectOverlaps(o, top, bottom)) continue;
    presentation::drawObject(c, o, at);
    if (selected_ == i) {
      const auto e = presentation::objectExtent(o);
      c.setPen({platform::PenStyle::Dot, 0, platform::rgb(255, 0, 0)});
      c.setBrush({});
      c.rectangle({e.left - 20, e.top - top - 20, e.right + 20, e.bottom - top + 20});
    }
  }
}

void LogViewer::drawHeadings(platform::Canvas& c) const {
  if (!log_.isOpen()) return;
  const presentation::CFormat& f = log_.pageFormat();
  presentation::TrackRenderer r(presentation::paperRules(f, log_.englishMode(), log_.recordedUp(), true));
  const long long paneUnits = static_cast<long long>(logWidth()) * headingPane_.height / headingPane_.width;
  presentation::drawHeadingBlock(c, r, f, static_cast<int>(paneUnits) + headingOffset_,
                                 presentation::HeadingStack::TowardSmallerY);
}

bool LogViewer::armTool(GraphicTool tool) {
  if (!log_.isOpen()) return false;
  tool_ = tool;
  return true;
}

platform::Point LogViewer::toLog(platform::Point pane) const {
  const long long top = static_cast<long long>(topRow_) * log_.rowHeight();
  return {pane.x, static_cast<int>(std::min<long long>(pane.y + top, 10000000))};
}

void LogViewer::press(platform::Point pane) {
  if (!log_.isOpen()) return;
  if (tool_ == GraphicTool::None) {
    selected_ = objectAt(log_.objects(), toLog(pane));
    return;
  }
  dragFrom_ = pane;
}

void LogViewer::release(platform::Point pane,
                        const std::function<platform::Size(const presentation::Annotation&)>& measure) {
  if (!dragFrom_ || tool_ == GraphicTool::None) return;
  const platform::Point from = toLog(*dragFrom_), to = toLog(pane);
  dragFrom_.reset();
  if (tool_ == GraphicTool::CurveLabels) labelCurves();
  else createObject(from, to, measure);
  tool_ = GraphicTool::None;
}

void LogViewer::createObject(platform::Point from, platform::Point to,
                             const std::function<platform::Size(const presentation::Annotation&)>& measure) {
  const bool english = log_.englishMode();
  presentation::Annotation a = makeObject(tool_, from, to, defaults_, english);
  if (tool_ == GraphicTool::TextBox) {
    const auto text = prompter_.inputText({"Text Input", "Text to show", "", 50});
    if (!text || text->empty()) return;
    a.text = text->substr(0, 50);
    const platform::Size size = measure ? measure(a) : platform::Size{};
    if (size.width > a.frame.width() || size.height > a.frame.height()) {
      platform::tell(prompter_, "MESSAGE", kTextTooBig, platform::Icon::Question);
      fitTextBox(a, size);
    }
  }
  log_.objects().push_back(a);
  selected_ = log_.objects().size() - 1;
  modified_ = true;
}

void LogViewer::labelCurves() {
  const auto text = prompter_.inputText({"Curve Labeler", "Number of labels per curve:", "3", 2});
  if (!text) return;
  int n = 0;
  try {
    n = std::stoi(*text);
  } catch (...) {
    return;
  }
  if (n < 1 || n > 20) return;
  for (auto& a : curveLabelArrows(log_, n, defaults_, log_.englishMode())) log_.objects().push_back(a);
  modified_ = true;
}

bool LogViewer::deleteSelected() {
  if (!selected_ || *selected_ >= log_.objects().size()) return false;
  log_.objects().erase(log_.objects().begin() + static_cast<std::ptrdiff_t>(*selected_));
  selected_.reset();
  modified_ = true;
  return true;
}

}  // namespace pagemill
