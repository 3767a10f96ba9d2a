// Number text without printf must be printf's, byte for byte.

#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <limits>
#include <random>

#include "kvr/utilities/LasNumber.h"

namespace kvr::las {
namespace {

std::string viaPrintf(double x, int digits) {
  char buf[512];
  std::snprintf(buf, sizeof buf, "%.*f", digits, x);
  return buf;
}
std::string fast(float x, int digits) {
  char buf[kFloatTextRoom + 400];
  return std::string(buf, formatFixed(buf, x, digits));
}
std::string fastDouble(double x, int digits) {
  char buf[kDoubleTextRoom];
  return std::string(buf, formatFixed(buf, x, digits));
}

TEST(LasNumber, FloatsAreWrittenAsPrintfWritesThem) {
  const float edges[] = {0.0f, -0.0f, 0.125f, 0.005f, 0.015f, 2.5f, -2.5f, 0.05f, 1000.1f, -0.001f, 1e-45f,
                         1.17549435e-38f, 16777216.0f, 3.4028235e38f, -3.4028235e38f, 123456.789f, 99999.995f,
                         std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::quiet_NaN()};
  for (float x : edges)
    for (int d = 0; d <= 4; ++d) EXPECT_EQ(fast(x, d), viaPrintf(x, d)) << x << " " << d;
  // Every exponent and many mantissas: bit patterns drawn at random.
  std::mt19937 rng(7);
  for (int i = 0; i < 200000; ++i) {
    const float x = std::bit_cast<float>(static_cast<std::uint32_t>(rng()));
    const int d = 1 + i % 4;
    ASSERT_EQ(fast(x, d), viaPrintf(x, d)) << std::bit_cast<std::uint32_t>(x);
  }
  // Values near the halves of the last decimal, where rounding decides.
  for (int i = -5000; i <= 5000; ++i) {
    const float x = static_cast<float>(i) * 0.005f;
    for (int d = 1; d <= 4; ++d) ASSERT_EQ(fast(x, d), viaPrintf(x, d)) << x;
  }
}

TEST(LasNumber, DoublesAndScaledCounts) {
  for (double x : {0.0, -0.0, 1000.125, 0.3 * 3, 1e300, -2.675, 5e-5})
    for (int d = 0; d <= 4; ++d) EXPECT_EQ(fastDouble(x, d), viaPrintf(x, d)) << x;
  char buf[64];
  EXPECT_EQ(std::string(buf, formatScaled(buf, 100025, 2)), "1000.25");
  EXPECT_EQ(std::string(buf, formatScaled(buf, -5, 2)), "-0.05");
  EXPECT_EQ(std::string(buf, formatScaled(buf, 7, 0)), "7");
  EXPECT_EQ(std::string(buf, formatScaled(buf, std::numeric_limits<std::int64_t>::min(), 4)), "-922337203685477.5808");
}

}  // namespace
}  // namespace kvr::las
