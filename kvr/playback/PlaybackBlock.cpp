#include "kvr/playback/PlaybackBlock.h"

#include <algorithm>

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

  // The rewind needs rows to step back over, and never undoes the whole read. A block
  // without a kept row is passed over: the next one reads on from where the file stands.
  if (plan.keptRows > 0 && !atEnd && rowsBeforePosition > kPlaybackOverlapRows && rows > kPlaybackOverlapRows)
    plan.rewindRows = kPlaybackOverlapRows;
  // Exactly the rows the next block reads again are held back: the tail of the kept rows
  // when the window runs to the block's end, none when it ended well before.
  const std::size_t readAgainFrom = rows - plan.rewindRows;
  plan.rowsToDraw = readAgainFrom > plan.firstRow ? std::min(plan.keptRows, readAgainFrom - plan.firstRow) : 0;
  return plan;
}

}  // namespace kvr
