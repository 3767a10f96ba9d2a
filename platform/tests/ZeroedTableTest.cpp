#include "platform/ZeroedTable.h"

#include <gtest/gtest.h>

#include <utility>

namespace {
struct Row {
  double a = 0, b = 0;
  int c = 0;
};
}  // namespace

// Large enough for large pages: zero throughout, what is written survives a populate of the
// same pages, and a move hands the pages over.
TEST(ZeroedTable, StartsZeroKeepsWritesThroughPopulateAndMoves) {
  const std::size_t n = (std::size_t{5} << 20) / sizeof(Row) + 7;
  platform::ZeroedTable<Row> t(n);
  ASSERT_EQ(t.size(), n);
  for (std::size_t i = 0; i < n; i += 4093) EXPECT_EQ(t[i].a + t[i].b + t[i].c, 0) << i;
  EXPECT_EQ(t[n - 1].c, 0);
  t[10].a = 1.5;
  t[n - 1].c = 42;
  t.populate(0, n);
  t.populate(n - 1, n);
  t.populate(5, 3);  // empty and out-of-range requests do nothing
  t.populate(0, n + 1);
  EXPECT_EQ(t[10].a, 1.5);
  EXPECT_EQ(t[n - 1].c, 42);
  platform::ZeroedTable<Row> moved(std::move(t));
  EXPECT_TRUE(t.empty());
  EXPECT_EQ(t.data(), nullptr);
  EXPECT_EQ(moved[n - 1].c, 42);
  moved = platform::ZeroedTable<Row>();
  EXPECT_TRUE(moved.empty());
  EXPECT_TRUE(platform::ZeroedTable<Row>(0).empty());
}
