#include "kvr/playback/PlaybackBlock.h"

#include <gtest/gtest.h>

#include <vector>

namespace kvr {
namespace {

// Rows of two floats: the depth and one value.
std::vector<float> rows(float first, float step, std::size_t n) {
  std::vector<float> out;
  for (std::size_t i = 0; i < n; ++i) {
    out.push_back(first + step * static_cast<float>(i));
    out.push_back(1.0f);
  }
  return out;
}

TEST(PlaybackBlock, DefaultWindowReplaysAWholeDownLog) {
  const auto block = rows(5000, 0.25f, 200);
  // A middle block: the last 30 rows come back with the next one.
  auto p = planPlaybackBlock(block, 2, {}, false, 1000);
  EXPECT_EQ(p.firstRow, 0u);
  EXPECT_EQ(p.keptRows, 200u);
  EXPECT_EQ(p.rowsToDraw, 170u);
  EXPECT_EQ(p.rewindRows, 30u);
  EXPECT_FALSE(p.windowEnded);
  // The last block is replayed completely.
  p = planPlaybackBlock(block, 2, {}, true, 1000);
  EXPECT_EQ(p.rowsToDraw, 200u);
  EXPECT_EQ(p.rewindRows, 0u);
}

TEST(PlaybackBlock, AFileOfFewerThanThirtyRowsIsDrawnInOneBlock) {
  const auto p = planPlaybackBlock(rows(100, 1, 12), 2, {}, true, 12);
  EXPECT_EQ(p.rowsToDraw, 12u);
}

TEST(PlaybackBlock, TheWindowDropsLeadingRowsAndEndsTheBlock) {
  struct Case {
    const char* what;
    std::vector<float> block;
    PlaybackWindow window;
    std::size_t first, kept, drawn;
    bool ended;
  };
  const Case cases[] = {
      // Down: rows shallower than the minimum are dropped; the first at or below it starts.
      {"down start", rows(990, 1, 100), {1000, 49000, false}, 10, 90, 60, false},
      // Down: the block ends before the first row at the maximum; those rows are never read
      // again, so none is held back.
      {"down end", rows(990, 1, 100), {0, 1050, false}, 0, 60, 60, true},
      // A window that ends among the rows read again holds those back, so none is drawn twice.
      {"down end late", rows(990, 1, 100), {0, 1080, false}, 0, 90, 70, true},
      // Up: rows deeper than the maximum go first; the block ends at the minimum. The last
      // ten kept rows are among those the next block reads again.
      {"up", rows(1100, -1, 100), {1020, 1090, true}, 10, 70, 60, true},
      // Few rows kept at the block's end: all come back at the head of the next block.
      {"short tail", rows(990, 1, 100), {1080, 49000, false}, 90, 10, 0, false},
      {"nothing kept", rows(990, 1, 100), {5000, 49000, false}, 100, 0, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto p = planPlaybackBlock(c.block, 2, c.window, false, 5000);
    EXPECT_EQ(p.firstRow, c.first);
    EXPECT_EQ(p.keptRows, c.kept);
    EXPECT_EQ(p.rowsToDraw, c.drawn);
    EXPECT_EQ(p.windowEnded, c.ended);
  }
}

}  // namespace
}  // namespace kvr
