// Every family's wire codec, both ways, from one table of boundary raw values per field.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/records/ToolCodes.h"
#include "toolslib/wire/Layouts.h"

namespace {

using namespace tools::wire;

std::string hex(const std::uint8_t* b, std::size_t n) {
  std::string s;
  char buf[4];
  for (std::size_t i = 0; i < n; ++i) {
    std::snprintf(buf, sizeof buf, "%02X ", b[i]);
    s += buf;
  }
  return s;
}

TEST(WireCodec, LayoutsMatchTheFrameAndBlockSizesOfEveryCode) {
  for (const Layout* l : kAllLayouts) {
    SCOPED_TRACE(l->family);
    auto info = records::toolCodeInfo(l->code);
    ASSERT_TRUE(info);
    EXPECT_EQ(l->dataBytes, info->dataBytes);
    unsigned sum = 0;
    for (auto b : l->blockLengths) {
      EXPECT_GE(b, 1);
      EXPECT_LE(b, 8);
      sum += b;
    }
    EXPECT_EQ(sum, l->dataBytes);
    EXPECT_EQ(info->frameBytes, l->dataBytes + 2 * l->blockLengths.size());
    // Fields stay inside the bytes and never overlap.
    std::vector<int> owner(l->dataBytes, -1);
    for (std::size_t f = 0; f < l->fields.size(); ++f) {
      const auto& field = l->fields[f];
      ASSERT_LE(field.offset + widthOf(field.kind), l->dataBytes) << field.name;
      for (std::size_t i = 0; i < widthOf(field.kind); ++i) {
        EXPECT_EQ(owner[field.offset + i], -1) << field.name << " overlaps";
        owner[field.offset + i] = static_cast<int>(f);
      }
    }
  }
}

TEST(WireCodec, EveryFieldRoundTripsItsBoundaryValues) {
  for (const Layout* l : kAllLayouts) {
    for (const auto& field : l->fields) {
      SCOPED_TRACE(std::string(l->family) + "." + field.name);
      const std::int64_t lo = rawMin(field.kind), hi = rawMax(field.kind);
      for (std::int64_t raw : {lo, lo + 1, std::int64_t{0}, std::int64_t{1}, hi / 2, hi - 1, hi}) {
        std::uint8_t bytes[32] = {};
        const double value = static_cast<double>(raw) * field.scale + field.bias;
        encodeValue(field, value, bytes);
        EXPECT_EQ(decodeRaw(field, bytes), raw) << hex(bytes, l->dataBytes);
        EXPECT_DOUBLE_EQ(decodeValue(field, bytes), value);
        std::uint8_t again[32] = {};
        encodeValue(field, decodeValue(field, bytes), again);
        EXPECT_EQ(hex(again, l->dataBytes), hex(bytes, l->dataBytes));
      }
      // Out-of-range values saturate instead of wrapping.
      std::uint8_t bytes[32] = {};
      encodeValue(field, (static_cast<double>(hi) + 1000) * field.scale + field.bias, bytes);
      EXPECT_EQ(decodeRaw(field, bytes), hi);
    }
  }
}

TEST(WireCodec, WholeFramesRoundTripByteForByte) {
  for (const Layout* l : kAllLayouts) {
    SCOPED_TRACE(l->family);
    std::uint8_t bytes[32] = {};
    for (std::size_t i = 0; i < l->dataBytes; ++i) bytes[i] = static_cast<std::uint8_t>(0x5A + 37 * i);
    // Bytes no field owns are not carried; clear them for the comparison.
    std::vector<bool> used(l->dataBytes, false);
    for (const auto& f : l->fields)
      for (std::size_t i = 0; i < widthOf(f.kind); ++i) used[f.offset + i] = true;
    for (std::size_t i = 0; i < l->dataBytes; ++i)
      if (!used[i]) bytes[i] = 0;
    double values[32];
    decode(*l, bytes, values);
    std::uint8_t again[32] = {};
    encode(*l, values, again);
    EXPECT_EQ(hex(again, l->dataBytes), hex(bytes, l->dataBytes));
  }
}

TEST(WireCodec, ByteOrderAndSignednessAreAsTabled) {
  // TARN gyro X: signed, high byte first, 0.05 deg/h.
  const std::uint8_t tarn[19] = {0xFF, 0x38};  // -200
  EXPECT_DOUBLE_EQ(decodeValue(tarn::kFields[tarn::kGyroX], tarn), -10.0);
  // TARN-C indexer count: low byte first.
  const std::uint8_t tarnc[24] = {0, 0, 0xF5, 0x03};
  EXPECT_DOUBLE_EQ(decodeValue(tarnc::kFields[tarnc::kAngle], tarnc), 1013);
  // SEVO pressure: 32-bit unsigned, high byte first, 0.0001 psi.
  const std::uint8_t sevo[16] = {0x00, 0x1E, 0x84, 0x80};  // 2000000
  EXPECT_DOUBLE_EQ(decodeValue(sevo::kFields[sevo::kPressure], sevo), 200.0);
  // VUNT pressure: 24-bit.
  const std::uint8_t vunt[24] = {0, 0, 0x01, 0x00, 0x00};
  EXPECT_DOUBLE_EQ(decodeValue(vunt::kFields[vunt::kPressure], vunt), 65.536);
}

}  // namespace
