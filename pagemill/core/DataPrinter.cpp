#include "pagemill/core/DataPrinter.h"

#include <span>
#include <vector>

#include "common/presentation/AnnotationRenderer.h"
#include "common/presentation/PaperHeadings.h"
#include "common/presentation/TrackRenderer.h"

namespace pagemill {

namespace {

using presentation::CFormat;
using presentation::HeadingStack;

void closingLines(platform::Canvas& c, const presentation::RenderRules& rules, const CFormat& f, int y) {
  c.setPen(rules.thick);
  for (const auto& t : f.tracks) c.line({t.left, y}, {t.left + t.width, y});
}

// The rows in printing order, shallowest first, read a block at a time.
class RowStream {
 public:
  explicit RowStream(const CDataManager& log)
      : log_(log), n_(log.recordCount()), width_(static_cast<std::size_t>(log.valuesPerRecord())),
        per_(static_cast<std::size_t>(log.blockRecords())), backwards_(log.recordedUp()) {}

  std::uint64_t count() const { return n_; }
  // Record k of the printing order, or an empty span when the file came up short.
  std::span<const float> row(std::uint64_t k) {
    const std::uint64_t index = backwards_ ? n_ - 1 - k : k;
    if (index < first_ || index >= first_ + got_) load(index);
    if (index < first_ || index >= first_ + got_) return {};
    return {block_.data() + (index - first_) * width_, width_};
  }

 private:
  void load(std::uint64_t index) {
    first_ = index / per_ * per_;
    block_.clear();
    got_ = log_.readRecords(first_, per_, block_);
  }

  const CDataManager& log_;
  std::uint64_t n_;
  std::size_t width_, per_;
  bool backwards_;
  std::vector<float> block_;
  std::uint64_t first_ = 0;
  std::size_t got_ = 0;
};

}  // namespace

std::optional<int> CDataPrinter::print(PageFlow& pages, int e) {
  pagesAdded_ = 0;
  CFormat f = log_.pageFormat();
  const bool english = pages.englishUnits();
  presentation::TrackRenderer renderer(presentation::paperRules(f, english, log_.recordedUp(), false));
  renderer.restart(f);
  const int pageH = pages.pageHeight();
  const int h = log_.rowHeight();
  const int c = presentation::headingBlockHeight(f);
  auto next = [&] {
    if (!pages.nextPage()) return false;
    ++pagesAdded_;
    return true;
  };

  // Top headings; a block that passes the page bottom is drawn again on the next page.
  int a = e;
  presentation::drawHeadingBlock(pages.canvas(), renderer, f, a - c, HeadingStack::TowardLargerY);
  if (a - c < -pageH) {
    if (!next()) return std::nullopt;
    a += pageH;
    presentation::drawHeadingBlock(pages.canvas(), renderer, f, a - c, HeadingStack::TowardLargerY);
  }
  int y = a - c;

  const auto& objects = log_.objects();
  presentation::ObjectPlacement placement{y, true, !english};
  int pageFirstLogY = 0;
  auto drawObjects = [&](int lastLogY) {
    for (const auto& o : objects)
      if (presentation::objectOverlaps(o, pageFirstLogY, lastLogY)) presentation::drawObject(pages.canvas(), o, placement);
  };

  RowStream rows(log_);
  int logY = 0;
  for (std::uint64_t k = 0; k < rows.count(); ++k) {
    const auto record = rows.row(k);
    if (record.empty()) break;
    if (k == 0) {
      renderer.drawFirstPaperRow(pages.canvas(), f, record, y);
      closingLines(pages.canvas(), renderer.rules(), f, y);
      continue;
    }
    int prev = y;
    int rowY = y - h;
    if (rowY < -pageH) {
      drawObjects(logY);
      if (!next()) return std::nullopt;
      // The paper goes on where it left off: positions move up by one page height.
      rowY += pageH;
      prev += pageH;
      placement.originY += pageH;
      pageFirstLogY = logY + h;
    }
    renderer.drawRow(pages.canvas(), f, record, rowY, prev);
    y = rowY;
    logY += h;
  }
  if (rows.count() > 0) {
    closingLines(pages.canvas(), renderer.rules(), f, y);
    drawObjects(logY);
  }

  // Bottom headings, the first curve nearest the log.
  presentation::drawHeadingBlock(pages.canvas(), renderer, f, y, HeadingStack::TowardSmallerY);
  if (y - c < -pageH) {
    if (!next()) return std::nullopt;
    y += pageH;
    presentation::drawHeadingBlock(pages.canvas(), renderer, f, y, HeadingStack::TowardSmallerY);
  }
  return y - c;
}

}  // namespace pagemill
