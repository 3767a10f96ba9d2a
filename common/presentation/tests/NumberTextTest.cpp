#include "common/presentation/NumberText.h"

#include <gtest/gtest.h>

namespace presentation {
namespace {

struct Case {
  double value;
  const char* text;
};

TEST(NumberText, WritesTheShortDecimalForm) {
  const Case cases[] = {
      {0.0, "0"},          {-0.0, "0"},       {150.0, "150"},      {-1.0, "-1"},
      {1.5, "1.5"},        {0.25, ".25"},     {-0.5, "-.5"},       {0.099, ".1"},
      {0.05, ".050"},      {0.094, ".094"},   {-0.05, "-.050"},    {0.004, ".0040"},
      {0.00996, ".010"},   {12.345, "12.35"}, {1000000.0, "1000000"},
      {-2500000.0, "-2500000"},               {2000000.0, "2e+06"}, {1234567.0, "1.23457e+06"},
      {100.004, "100"},    {0.1, ".1"},       {2000.0, "2000"},
  };
  for (const auto& c : cases) EXPECT_EQ(numberText(c.value), c.text) << c.value;
}

TEST(NumberText, SinglePrecisionScaleValuesPrintAsTyped) {
  // Scale values are stored as 32-bit floats; their widened value must not leak digits.
  EXPECT_EQ(numberText(0.05f), ".050");
  EXPECT_EQ(numberText(0.2f), ".2");
  EXPECT_EQ(numberText(-100000.0f), "-100000");
}

TEST(NumberText, TheSketchWritesOneDecimal) {
  const Case cases[] = {{1234.56, "1234.6"}, {350.0, "350"}, {-30.0, "-30"}, {0.04, ".040"}, {0.06, ".1"}, {0, "0"}};
  for (const auto& c : cases) EXPECT_EQ(numberText(c.value, 1), c.text) << c.value;
}

}  // namespace
}  // namespace presentation
