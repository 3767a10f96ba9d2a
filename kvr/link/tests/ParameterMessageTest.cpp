// Tool parameters as downhole messages: each value encoding from one table.

#include <gtest/gtest.h>

#include <limits>

#include "kvr/link/ParameterMessage.h"

namespace kvr {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ParameterMessage, EachEncodingPutsTheValueWhereItBelongs) {
  struct Case {
    std::uint8_t encoding;
    float value;
    Bytes expected;  // [n, address, command, body...]
  };
  const std::vector<Case> cases = {
      {0, 7.9f, {6, 230, 0x05, 7, 0, 0, 0}},
      {2, 200.2f, {6, 230, 0x05, 0, 200, 0, 0}},
      {3, 300.7f, {6, 230, 0x05, 0, 0x2C, 0x01, 0}},
      {3, 65535.9f, {6, 230, 0x05, 0, 0xFF, 0xFF, 0}},
      {3, 70000.0f, {}},  // too big for 16 bits: refused, never cut
      {0, -129.0f, {}},
      {5, std::numeric_limits<float>::quiet_NaN(), {}},
      {4, -2.5f, {6, 230, 0x05, 0, 0xFE, 0xFF, 0xFF}},  // n = 6 sends three of the four bytes
      {5, 1.0f, {6, 230, 0x05, 0, 0x00, 0x00, 0x80}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.encoding));
    records::ToolParameterS p;
    p.messageLength = 6;
    p.message[0] = 230;
    p.message[1] = 0x05;
    p.encoding = c.encoding;
    p.value = c.value;
    const auto message = parameterMessage(p);
    if (c.expected.empty())
      EXPECT_FALSE(message);
    else
      EXPECT_EQ(message, c.expected);
  }
}

TEST(ParameterMessage, ChoiceListsSendTheSelectedChoiceValue) {
  records::ToolParameterS p;
  p.messageLength = 3;
  p.message[0] = 210;
  p.message[1] = 0x02;
  p.encoding = 1;
  p.choiceCount = 3;
  p.choiceValues = {1, 4, 9};
  p.selectedChoice = 2;
  EXPECT_EQ(parameterMessage(p), (Bytes{3, 210, 0x02, 9}));
}

TEST(ParameterMessage, SurfaceOnlyAndOversizedParametersGiveNoMessage) {
  records::ToolParameterS p;
  EXPECT_FALSE(parameterMessage(p));
  p.messageLength = 37;
  EXPECT_FALSE(parameterMessage(p));
  p.messageLength = 4;
  p.value = std::numeric_limits<float>::infinity();
  EXPECT_FALSE(parameterMessage(p)) << "an infinite value is refused, not encoded";
  p.value = 3;
  p.encoding = 9;
  EXPECT_FALSE(parameterMessage(p)) << "an encoding the program does not know";
}

}  // namespace
}  // namespace kvr
