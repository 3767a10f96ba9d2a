#include "toolslib/families/TarnB.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "toolslib/GyroMath.h"
#include "toolslib/ParameterBuilder.h"
#include "toolslib/wire/TarnBWire.h"

namespace tools {
namespace {
constexpr ChannelDef kChannels[] = {
    {"RATEX", Quantity::None, "Deg/h"},   {"RATEY", Quantity::None, "Deg/h"},   {"ACCX", Quantity::None, "g"},
    {"ACCY", Quantity::None, "g"},        {"ACCZ", Quantity::None, "g"},        {"RAWRATEGX", Quantity::None, "mV"},
    {"RAWRATEGY", Quantity::None, "mV"},  {"RAWAX", Quantity::None, "mV"},      {"RAWAY", Quantity::None, "mV"},
    {"RAWAZ", Quantity::None, "mV"},      {"TEMPG", Quantity::None, "DegC"},    {"TEMPA", Quantity::None, "DegC"},
    {"TSUPV", Quantity::None, "VOLT"},    {"TSTAT", Quantity::None, ""},        {"TSEQ", Quantity::None, ""},
    {"DEVI", Quantity::None, "Deg"},      {"HSTF", Quantity::None, "Deg"},      {"GTOT", Quantity::None, "g"},
    {"GTF", Quantity::None, "Deg"},
};
}  // namespace

TarnB::TarnB(Globals& globals) : FamilyBase(globals, wire::tarnb::kLayout, wire::decodeFixed<wire::tarnb::kLayout>, kChannels, 19) {}

std::array<double, TarnB::kTableColumnsWithGravity> TarnB::calibrationAt(double temperature) const {
  std::array<double, kTableColumnsWithGravity> c{parameterValue(kGyroOffsetX), parameterValue(kGyroOffsetY),
                                                 parameterValue(kGyroGainX), parameterValue(kGyroGainY)};
  if (tableActive_) {
    const auto corrected = table_.at(temperature);
    for (std::size_t i = 0; i < c.size() && i < corrected.size(); ++i) c[i] = corrected[i];
  }
  return c;
}

std::array<float, 4> TarnB::correctedGyroOffset(float temperature) const {
  const auto c = calibrationAt(temperature);
  return {static_cast<float>(c[0]), 0.0f, static_cast<float>(c[1]), 0.0f};
}

std::array<float, 4> TarnB::correctedGyroGain(float temperature) const {
  const auto c = calibrationAt(temperature);
  return {static_cast<float>(c[2] / gyro::kEarthRateDegPerHour), 0.0f,
          static_cast<float>(c[3] / gyro::kEarthRateDegPerHour), 0.0f};
}

std::array<float, 8> TarnB::correctedGyroGravityCoefficients(float temperature) const {
  const auto c = calibrationAt(temperature);
  return {static_cast<float>(c[4]), static_cast<float>(c[5]), 0.0f, 0.0f,
          static_cast<float>(c[6]), static_cast<float>(c[7]), 0.0f, 0.0f};
}

void TarnB::decodeRow(const std::uint8_t*, const double* v, float* out, const FrameContext&) {
  namespace w = wire::tarnb;
  const auto c = calibrationAt(v[w::kTempG]);
  const double scale = parameterValue(kAccScale) != 0 ? parameterValue(kAccScale) : 1000.0;
  const gyro::Vec g{(v[w::kRawAX] - parameterValue(kAccOffsetX)) / scale, (v[w::kRawAY] - parameterValue(kAccOffsetY)) / scale,
                    (v[w::kRawAZ] - parameterValue(kAccOffsetZ)) / scale};
  constexpr double er = gyro::kEarthRateDegPerHour;
  const double rx = (v[w::kRawGX] - c[0]) * c[2] - er * (c[4] * g.x + c[5] * g.y);
  const double ry = (v[w::kRawGY] - c[1]) * c[3] - er * (c[6] * g.x + c[7] * g.y);
  // The attitude functions take z down-hole: the same axes turned half a turn about x.
  const gyro::Vec down{g.x, -g.y, -g.z};
  double hstf = gyro::highSideToolface(down);
  if (parameterChoice(kToolfaceRange) == 1) hstf = gyro::wrap180(hstf);
  out[0] = static_cast<float>(rx);
  out[1] = static_cast<float>(ry);
  out[2] = static_cast<float>(g.x);
  out[3] = static_cast<float>(g.y);
  out[4] = static_cast<float>(g.z);
  out[5] = static_cast<float>(v[w::kRawGX]);
  out[6] = static_cast<float>(v[w::kRawGY]);
  out[7] = static_cast<float>(v[w::kRawAX]);
  out[8] = static_cast<float>(v[w::kRawAY]);
  out[9] = static_cast<float>(v[w::kRawAZ]);
  out[10] = static_cast<float>(v[w::kTempG]);
  out[11] = static_cast<float>(v[w::kTempA]);
  out[12] = static_cast<float>(v[w::kSupply]);
  out[13] = static_cast<float>(v[w::kStatus]);
  out[14] = static_cast<float>(v[w::kSeq]);
  out[15] = static_cast<float>(gyro::inclination(down));
  out[16] = static_cast<float>(hstf);
  out[17] = static_cast<float>(gyro::norm(g));
  // Near vertical the horizontal earth rate points north: the x axis is that far from it.
  out[18] = static_cast<float>(gyro::wrap360(gyro::atan2f(ry, rx) * gyro::kRadToDeg));
}

bool TarnB::recomputeRaw(std::span<float> block) {
  namespace w = wire::tarnb;
  if (block.size() < rowFloats()) return false;
  // The row keeps the decoded fields RAWRATEGX .. TSEQ in columns 5 to 14, in field order.
  std::array<double, wire::kMaxFields> v{};
  for (int f = w::kRawGX; f <= w::kSeq; ++f) v[static_cast<std::size_t>(f)] = block[5 + static_cast<std::size_t>(f)];
  std::array<float, kMaxRowFloats> out{};
  decodeRow(nullptr, v.data(), out.data(), FrameContext{});
  std::copy(out.begin(), out.begin() + rowFloats(), block.begin());
  return true;
}

std::vector<records::ToolParameterS> TarnB::defaultParameters() const {
  using namespace params;
  return {
      surfaceValue("GXOFF", "Gyro X offset", 0.0f, "mV"),
      surfaceValue("GYOFF", "Gyro Y offset", 0.0f, "mV"),
      surfaceValue("GXGAIN", "Gyro X gain", 30.0f, "Deg/h/mV"),
      surfaceValue("GYGAIN", "Gyro Y gain", 30.0f, "Deg/h/mV"),
      surfaceValue("AXOFF", "Accelerometer X offset", 0.0f, "mV"),
      surfaceValue("AYOFF", "Accelerometer Y offset", 0.0f, "mV"),
      surfaceValue("AZOFF", "Accelerometer Z offset", 0.0f, "mV"),
      surfaceValue("ASCALE", "Accelerometer scale", 1000.0f, "mV/g"),
      downholeChoice("SRATE", "Sensor sampling rate", {{"15 HZ", 0}, {"30 HZ", 1}, {"60 HZ", 2}}, 0, 224, 0x12),
      surfaceValue("LATI", "Well latitude (negative south)", 0.0f, "Deg"),
      surfaceChoice("HSTFC", "High side toolface range", {{"0 TO 360", 0}, {"-180 TO +180", 1}}, 0),
      downholeChoice("GMOTOR", "Gyro motor", {{"OFF", 0}, {"ON", 1}}, 1, 224, 0x13),
  };
}


}  // namespace tools
