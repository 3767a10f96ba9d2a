// Decoding frames: known bytes give known values, positions wrap, globals follow the frames.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "common/records/ToolCodes.h"
#include "toolslib/Library.h"
#include "toolslib/wire/Layouts.h"

namespace {

constexpr std::size_t kRingBytes = 32768;

struct Harness {
  tools::Library lib;
  std::vector<std::uint8_t> ring = std::vector<std::uint8_t>(kRingBytes, 0);
  std::vector<float> rows = std::vector<float>(64, -1.0f);

  // Puts bytes at ring position at (wrapping) and decodes them into rows from rowAt.
  std::vector<float> run(std::uint8_t code, const std::vector<std::uint8_t>& bytes, std::uint32_t at = 100,
                         std::size_t rowAt = 0, tools::FrameContext ctx = {}) {
    for (std::size_t i = 0; i < bytes.size(); ++i) ring[(at + i) % kRingBytes] = bytes[i];
    auto* f = lib.family(code);
    f->init();
    float* p = rows.data() + rowAt;
    const std::uint32_t used = f->processData(ring, at - 3, 3, &p, rows.data(), rows.data() + rows.size() - 1, ctx);
    EXPECT_EQ(used, f->dataBytes());
    std::vector<float> out;
    for (std::size_t i = 0; i < f->rowFloats(); ++i) out.push_back(rows[(rowAt + i) % rows.size()]);
    EXPECT_EQ(p, rows.data() + (rowAt + f->rowFloats()) % rows.size());
    return out;
  }
};

TEST(ProcessData, BrixBytesBecomeCollarCountsAndTemperature) {
  Harness h;
  const auto row = h.run(records::kBrix, {127, 200, 50, 127, 100});
  EXPECT_EQ(row, (std::vector<float>{127, 200, 50, 127, 30}));
  records::SystemUnitsS units;
  units.code[records::kTemperature] = 11;  // DegF
  h.lib.globals().SystemUnits = units;
  EXPECT_FLOAT_EQ(h.run(records::kBrix, {127, 200, 50, 127, 100})[4], 86.0f);
}

TEST(ProcessData, PositionsWrapInTheFrameRingAndTheSampleRing) {
  Harness h;
  // The tool's bytes start 2 bytes before the frame ring's end; the row starts 2 floats
  // before the sample ring's end.
  const auto row = h.run(records::kBrix, {10, 20, 30, 40, 140}, kRingBytes - 2, h.rows.size() - 2);
  EXPECT_EQ(row, (std::vector<float>{10, 20, 30, 40, 50}));
  EXPECT_EQ(h.rows[h.rows.size() - 2], 10);
  EXPECT_EQ(h.rows[0], 30);
}

TEST(ProcessData, EveryFamilyWritesExactlyItsFloatsFromAnyBytes) {
  Harness h;
  for (tools::Family* f : h.lib.families()) {
    SCOPED_TRACE(std::string(f->name()));
    std::fill(h.rows.begin(), h.rows.end(), -7.0f);
    std::vector<std::uint8_t> bytes(f->dataBytes(), 0xFF);
    h.run(f->code(), bytes, 5, 10);
    for (std::size_t i = 0; i < h.rows.size(); ++i) {
      const bool inRow = i >= 10 && i < 10 + f->rowFloats();
      if (!inRow) {
        EXPECT_EQ(h.rows[i], -7.0f) << "wrote outside its row at " << i;
      }
    }
  }
}

TEST(ProcessData, DuneSpinnerSignFollowsDirectionAndThresholdStallsTheFlow) {
  Harness h;
  // 10.00 rps forward, 25.00 degC.
  auto row = h.run(records::kDune, {0x03, 0xE8, 0, 0x09, 0xC4, 0});
  EXPECT_FLOAT_EQ(row[0], 10.0f);
  EXPECT_FLOAT_EQ(row[1], static_cast<float>((10.0 - 0.5) * 1.35));
  EXPECT_FLOAT_EQ(row[2], 25.0f);
  row = h.run(records::kDune, {0x00, 0x28, 1, 0, 0, 0});  // 0.40 rps backwards, below the threshold
  EXPECT_FLOAT_EQ(row[0], -0.4f);
  EXPECT_FLOAT_EQ(row[1], 0.0f);
  EXPECT_FLOAT_EQ(row[3], -1.0f);
}

TEST(ProcessData, SevoGradientAndDensityComeFromTheDepthsItIsHanded) {
  Harness h;
  records::SystemUnitsS units;
  units.code[records::kPressure] = 3;  // PSI
  units.code[records::kDepth] = 51;    // Feet
  h.lib.globals().SystemUnits = units;
  auto frame = [](double psi) {
    std::vector<std::uint8_t> b(16, 0);
    double v[7] = {psi, 80, 80, 12, 0, 0, 32768};
    tools::wire::encode(tools::wire::sevo::kLayout, v, b.data());
    return b;
  };
  auto* sevo = h.lib.family(records::kSevo);
  sevo->init();
  auto decode = [&](double psi, double depth) {
    auto bytes = frame(psi);
    for (std::size_t i = 0; i < bytes.size(); ++i) h.ring[200 + i] = bytes[i];
    float* p = h.rows.data();
    sevo->processData(h.ring, 200, 0, &p, h.rows.data(), h.rows.data() + h.rows.size() - 1, {depth, 1});
    return std::vector<float>(h.rows.begin(), h.rows.begin() + 10);
  };
  decode(4330.0, 10000.0);
  const auto row = decode(4334.33527, 10010.0);  // 10 ft deeper, water gradient
  EXPECT_NEAR(row[0], 4334.335, 1e-3);
  EXPECT_NEAR(row[7], 0.433527, 1e-4);
  EXPECT_NEAR(row[8], 1.0, 1e-3);
  EXPECT_FLOAT_EQ(row[9], 10010.0f);
}

TEST(ProcessData, VuntFramesSetTheGaugeGlobals) {
  Harness h;
  auto& g = h.lib.globals();
  std::vector<std::uint8_t> b(24, 0);
  b[0] = 0x80 | (2 << 3);  // link up, mode 2
  b[1] = 0x01;             // acknowledge
  b[2] = 0x00;
  b[3] = 0x27;
  b[4] = 0x10;  // 10000 -> 10 psi
  const auto row = h.run(records::kVunt, b);
  EXPECT_EQ(g.VUNTControl, 0x90);
  EXPECT_TRUE(g.VUNTACKReceived);
  EXPECT_FLOAT_EQ(row[3], 2.0f);
  EXPECT_NEAR(row[0], 10.0 * 0.0703069578, 1e-5);  // KG/CM2 by default
  EXPECT_NEAR(g.VUNTPressure, row[0], 1e-5);
}

TEST(ProcessData, TarnIntegratesGyroAnglesForItsDriftStation) {
  Harness h;
  auto& g = h.lib.globals();
  // 15 frames of 36 deg/h on X (raw 720 at 0.05 deg/h) = one second.
  std::vector<std::uint8_t> b(19, 0);
  b[0] = 0x02;
  b[1] = 0xD0;
  b[11] = 0x10;  // a little gravity so the azimuth update has a direction
  auto* tarn = h.lib.family(records::kTarn);
  tarn->init();
  for (int i = 0; i < 15; ++i) {
    for (std::size_t k = 0; k < b.size(); ++k) h.ring[k] = b[k];
    float* p = h.rows.data();
    tarn->processData(h.ring, 0, 0, &p, h.rows.data(), h.rows.data() + h.rows.size() - 1, {});
  }
  EXPECT_NEAR(g.GYROANGX, 36.0 / 3600.0 * 3.1415926535898 / 180.0, 1e-12);
  EXPECT_NEAR(h.rows[16], 0.01f, 1e-6);  // GANGX in degrees
}

}  // namespace

TEST(ProcessData, TarnBRecomputesItsValuesFromTheRecordedRawReadings) {
  Harness h;
  // Gyro X 2.000 mV, gyro Y -1.000 mV, accelerometers 0 / 0 / 1000.0 mV (vertical).
  auto row = h.run(records::kTarnB, {0x07, 0xD0, 0xFC, 0x18, 0, 0, 0, 0, 0x27, 0x10, 0x09, 0xC4,
                                     0x09, 0xC4, 0x04, 0xB0, 0, 1, 0, 7, 0, 0, 0, 0});
  EXPECT_FLOAT_EQ(row[0], 60.0f);  // (2 - 0) x 30
  auto* f = h.lib.family(records::kTarnB);
  f->getParameterList()[0].value = 1.0f;  // GXOFF
  f->getParameterList()[3].value = 10.0f;  // GYGAIN
  std::vector<float> block(row.begin(), row.end());
  block[0] = block[1] = -1;
  ASSERT_TRUE(f->recomputeRaw(block));
  EXPECT_FLOAT_EQ(block[0], 30.0f);   // (2 - 1) x 30
  EXPECT_FLOAT_EQ(block[1], -10.0f);  // (-1 - 0) x 10
  EXPECT_EQ(std::vector<float>(block.begin() + 2, block.end() - 1), std::vector<float>(row.begin() + 2, row.end() - 1))
      << "accelerations, raw readings and inclination stay";
  EXPECT_FALSE(f->recomputeRaw(std::span<float>(block).first(5)));
  std::vector<float> brix(5, 1.0f);
  EXPECT_FALSE(h.lib.family(records::kBrix)->recomputeRaw(brix));
}
