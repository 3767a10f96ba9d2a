#pragma once
// Which rows of a block read from a playback file are replayed now: the depth window on
// whole rows, and the 30-row overlap that the next block reads again so that the
// computations over neighbouring rows see both sides of a block boundary.

#include <cstddef>
#include <cstdint>
#include <span>

namespace kvr {

inline constexpr std::size_t kPlaybackOverlapRows = 30;

struct PlaybackWindow {
  float minDepth = 0;       // "PBMIND"
  float maxDepth = 49000;   // "PBMAXD"
  bool up = false;          // the file's log direction
};

struct PlaybackBlockPlan {
  std::size_t firstRow = 0;    // the first row kept by the window
  std::size_t keptRows = 0;    // rows inside the window, from firstRow on
  std::size_t rowsToDraw = 0;  // of those, replayed now: all but the ones the next block reads again
  std::size_t rewindRows = 0;  // the file position moves back by this many rows
  bool windowEnded = false;    // a row beyond the window's far end was reached
};

// block: whole rows of rowWidth floats (column 0 the depth). atEnd: the read reached the
// end of the file. rowsBeforePosition: rows of the file before the position after the read.
PlaybackBlockPlan planPlaybackBlock(std::span<const float> block, std::size_t rowWidth, const PlaybackWindow& window,
                                    bool atEnd, std::uint64_t rowsBeforePosition);

}  // namespace kvr
