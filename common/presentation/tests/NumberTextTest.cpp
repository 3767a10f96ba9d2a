#include <gtest/gtest.h>

#include "common/presentation/NumberText.h"

namespace {

struct Case {
  double value;
  int decimals;
  const char* text;
};

TEST(NumberText, WritesTheDocumentedForms) {
  const Case cases[] = {
      {0, 2, "0"},           {150.0, 2, "150"},     {-1.0, 2, "-1"},       {1.5, 2, "1.5"},
      {0.25, 2, ".25"},      {-0.5, 2, "-.5"},      {0.099, 2, ".1"},      {0.05, 2, ".050"},
      {0.094, 2, ".094"},    {-0.05, 2, "-.050"},   {0.004, 2, ".0040"},   {123.456, 2, "123.46"},
      {1000000, 2, "1000000"}, {1234567, 2, "1.23457e+06"}, {-2500000, 2, "-2500000"},
      // The sketch's one-decimal form.
      {1234.56, 1, "1234.6"}, {350.0, 1, "350"},    {-30.0, 1, "-30"},     {0.04, 1, ".040"},
      {0.06, 1, ".1"},        {12.25, 1, "12.3"},
  };
  for (const auto& c : cases) EXPECT_EQ(presentation::numberText(c.value, c.decimals), c.text) << c.value;
}

}  // namespace
