#include <gtest/gtest.h>

#include "Bytes.h"
#include "common/records/SystemMode.h"
#include "common/records/SystemUnits.h"
#include "common/records/ToolCodes.h"

using namespace bytes_test;

TEST(SystemMode, DepthStepByModeWord) {
  const std::pair<std::int32_t, double> cases[] = {
      {9, 0.25}, {5, 0.5}, {1, 1.0}, {10, 0.1}, {6, 0.2}, {2, 0.3},
      {0, 0.25}, {3, 0.25}, {11, 0.25}, {-1, 0.25}, {0x7FFFFFFF, 0.25},
  };
  for (auto [word, step] : cases) EXPECT_EQ(records::depthStep(word), step) << "word " << word;
}

TEST(ToolCodes, FrameAndRowSizes) {
  struct Row { std::uint8_t code; const char* model; std::uint32_t data, frame, row; };
  const Row rows[] = {
      {210, "BRIX", 5, 9, 5},   {220, "TARN", 19, 25, 19}, {224, "TARN-B", 24, 30, 19},
      {227, "TARN-C", 24, 30, 25}, {230, "DUNE", 6, 8, 4}, {232, "SEVO", 16, 20, 10},
      {235, "QUIL", 6, 8, 4},   {240, "VUNT", 24, 30, 4},  {243, "HAVO", 6, 8, 4},
      {252, "PLOV", 4, 6, 1},   {254, "FYRD", 3, 5, 3},    {253, "SURFACE", 12, 0, 6},
  };
  for (const Row& r : rows) {
    auto info = records::toolCodeInfo(r.code);
    ASSERT_TRUE(info) << int(r.code);
    EXPECT_EQ(info->model, r.model);
    EXPECT_EQ(info->dataBytes, r.data);
    EXPECT_EQ(info->frameBytes, r.frame);
    EXPECT_EQ(info->rowFloats, r.row);
  }
  for (int code : {0, 1, 209, 211, 226, 251, 255}) EXPECT_FALSE(records::toolCodeInfo(static_cast<std::uint8_t>(code))) << code;
}

TEST(SystemUnits, ListsBasesAndIndexBoundaries) {
  const auto& lists = records::unitLists();
  const char* names[] = {"Pressure", "Temperature", "Time", "Weight", "Speed", "Distance", "Depth",
                         "Volume", "Area", "FlowRate", "Density", "Tension"};
  const std::size_t sizes[] = {6, 4, 4, 4, 6, 7, 2, 5, 4, 3, 2, 4};
  const records::SystemUnitsS defaults;
  for (std::size_t i = 0; i < 12; ++i) {
    EXPECT_STREQ(lists[i].settingName, names[i]);
    EXPECT_EQ(lists[i].units.size(), sizes[i]) << names[i];
    EXPECT_EQ(defaults.code[i], lists[i].base) << names[i];
  }
  EXPECT_STREQ(lists[records::kPressure].units[5], "MPAS");
  EXPECT_STREQ(lists[records::kDepth].units[1], "Feet");
  EXPECT_STREQ(lists[records::kTension].units[3], "POUND");

  const std::tuple<records::UnitQuantity, int, int> cases[] = {
      {records::kPressure, 1, 0}, {records::kPressure, 6, 5}, {records::kPressure, 7, -1},
      {records::kPressure, 0, -1}, {records::kDepth, 51, 1}, {records::kDepth, 52, -1},
      {records::kDistance, 56, 6}, {records::kDistance, 49, -1}, {records::kDensity, 255, -1},
  };
  for (auto [q, code, index] : cases)
    EXPECT_EQ(records::unitIndex(q, static_cast<std::uint8_t>(code)), index) << q << " " << code;
}

TEST(SystemUnits, TwelveBytesInQuantityOrder) {
  records::SystemUnitsS u;
  u.code = {3, 11, 21, 33, 45, 56, 51, 64, 73, 82, 91, 200};
  Bytes got(12);
  records::encode(u, got.data());
  EXPECT_TRUE(sameBytes(got, Bytes{3, 11, 21, 33, 45, 56, 51, 64, 73, 82, 91, 200}));
  EXPECT_EQ(records::decodeSystemUnits(got.data()), u);
}
