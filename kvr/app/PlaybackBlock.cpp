#include "kvr/app/PlaybackBlock.h"

namespace kvr {

PlaybackBlockPlan planPlaybackBlock(std::span<const float> block, std::size_t rowWidth, const PlaybackWindow& window,
                                    bool atEnd, std::uint64_t rowsBeforePosition) {
  PlaybackBlockPlan plan;
  if (rowWidth == 0) return plan;
  const std::size_t rows = block.size() / rowWidth;
  auto depth = [&](std::size_t r) { return block[r * rowWidth]; };
  // Up logs come from deep to shallow, down logs the other way.
  auto beforeWindow = [&](float d) { return window.up ? d > window.maxDepth : d < window.minDepth; };
  auto pastWindow = [&](float d) { return window.up ? d <= window.minDepth : d >= window.maxDepth; };

  std::size_t r = 0;
  while (r < rows && beforeWindow(depth(r))) ++r;
  plan.firstRow = r;
  while (r < rows && !pastWindow(depth(r))) ++r;
  plan.keptRows = r - plan.firstRow;
  plan.windowEnded = r < rows;

  if (!atEnd && rowsBeforePosition > kPlaybackOverlapRows) plan.rewindRows = kPlaybackOverlapRows;
  plan.rowsToDraw = plan.keptRows;
  // The rows the rewind reads again are held back, but only when they are the kept rows'
  // tail: rows before a window end are never read again, so they are all replayed now.
  if (plan.rewindRows > 0 && !plan.windowEnded)
    plan.rowsToDraw = plan.keptRows > kPlaybackOverlapRows ? plan.keptRows - kPlaybackOverlapRows : 0;
  return plan;
}

}  // namespace kvr
