#include "toolslib/families/Tarn.h"

#include <algorithm>
#include <cmath>

#include "common/records/LittleEndian.h"
#include "toolslib/GyroMath.h"
#include "toolslib/ParameterBuilder.h"
#include "toolslib/wire/TarnWire.h"

namespace tools {
namespace {
constexpr ChannelDef kChannels[] = {
    {"RATEX", Quantity::None, "Deg/h"}, {"RATEY", Quantity::None, "Deg/h"}, {"RATEZ", Quantity::None, "Deg/h"},
    {"ACCX", Quantity::None, "g"},      {"ACCY", Quantity::None, "g"},      {"ACCZ", Quantity::None, "g"},
    {"TEMPG", Quantity::None, "DegC"},  {"TVOLT", Quantity::None, "VOLT"},  {"TMOTOR", Quantity::None, "RPM"},
    {"TSTAT", Quantity::None, ""},      {"TSEQ", Quantity::None, ""},       {"DEVI", Quantity::None, "Deg"},
    {"HAZI", Quantity::None, "Deg"},    {"TAZI", Quantity::None, "Deg"},    {"HSTF", Quantity::None, "Deg"},
    {"GTOT", Quantity::None, "g"},      {"GANGX", Quantity::None, "Deg"},   {"GANGY", Quantity::None, "Deg"},
    {"GANGZ", Quantity::None, "Deg"},
};
constexpr double kFrameSeconds = 1.0 / 15.0;
constexpr double kDegPerHourToRadPerSecond = gyro::kPi / 180.0 / 3600.0;
}  // namespace

Tarn::Tarn(Globals& globals) : FamilyBase(globals, wire::tarn::kLayout, wire::decodeFixed<wire::tarn::kLayout>, kChannels, 19) {}

Tarn::~Tarn() { closeRawFile(); }

void Tarn::resetState() { resetHoleAzimuth(); }

bool Tarn::openRawFile(const std::string& path) {
  closeRawFile();
  rawFile_ = std::fopen(path.c_str(), "wbx");  // "x": never over an existing file
  rawGood_ = rawFile_ != nullptr;
  return rawGood_;
}

bool Tarn::closeRawFile() {
  if (!rawFile_) return rawGood_;
  if (std::fclose(rawFile_) != 0) rawGood_ = false;
  rawFile_ = nullptr;
  return rawGood_;
}

double Tarn::earthVertical() {
  // The earth's rate along the vertical, for the latitude of parameter 1 (kept until it changes).
  const float latitude = parameterValue(kLatitude);
  if (latitude != latitudeFor_) {
    latitudeFor_ = latitude;
    earthVertical_ = -gyro::kEarthRateDegPerHour * std::sin(latitude / gyro::kRadToDeg);
  }
  return earthVertical_;
}

void Tarn::resetHoleAzimuth() { holeAzimuth_ = gyro::wrap360(parameterValue(kInitialAzimuth)); }

void Tarn::doGyroOffsetCalibration() {
  averaging_ = true;
  rateSum_ = {};
  rateCount_ = 0;
}

bool Tarn::setGyroOffsetParam() {
  const bool any = averaging_ && rateCount_ > 0;
  averaging_ = false;
  if (!any) return false;
  auto& p = getParameterList();
  const std::size_t index[3] = {kGyroOffsetX, kGyroOffsetY, kGyroOffsetZ};
  for (int i = 0; i < 3; ++i)
    if (index[i] < p.size()) p[index[i]].value = static_cast<float>(rateSum_[i] / static_cast<double>(rateCount_));
  return true;
}

void Tarn::saveRawData(std::span<const std::uint8_t> ring, std::uint32_t readIndex, std::uint32_t toolOffset,
                       double depth) {
  if (ring.empty()) return;
  const std::size_t mask = ring.size() - 1;
  const bool powerOfTwo = (ring.size() & mask) == 0;
  for (std::size_t i = 0; i < lastRaw_.size(); ++i) {
    const std::size_t at = readIndex + toolOffset + i;
    lastRaw_[i] = ring[powerOfTwo ? (at & mask) : (at % ring.size())];
  }
  lastRawDepth_ = depth;
  ++rawSaved_;
  if (!rawFile_) return;
  std::uint8_t record[27];
  records::le::putU32(record, static_cast<std::uint32_t>(globals_.FramesReceived));
  records::le::putF32(record + 4, static_cast<float>(depth));
  std::copy(lastRaw_.begin(), lastRaw_.end(), record + 8);
  if (std::fwrite(record, 1, sizeof record, rawFile_) != sizeof record) rawGood_ = false;
}

void Tarn::decodeRow(const std::uint8_t*, const double* v, float* out, const FrameContext&) {
  namespace w = wire::tarn;
  const double scaled[3] = {v[w::kGyroX] * parameterValue(kGyroScaleX), v[w::kGyroY] * parameterValue(kGyroScaleY),
                            v[w::kGyroZ] * parameterValue(kGyroScaleZ)};
  if (averaging_) {
    for (int i = 0; i < 3; ++i) rateSum_[static_cast<std::size_t>(i)] += scaled[i];
    ++rateCount_;
  }
  const gyro::Vec rate{scaled[0] - parameterValue(kGyroOffsetX), scaled[1] - parameterValue(kGyroOffsetY),
                       scaled[2] - parameterValue(kGyroOffsetZ)};
  const gyro::Vec g{v[w::kAccX] * parameterValue(kAccScaleX) - parameterValue(kAccOffsetX),
                    v[w::kAccY] * parameterValue(kAccScaleY) - parameterValue(kAccOffsetY),
                    v[w::kAccZ] * parameterValue(kAccScaleZ) - parameterValue(kAccOffsetZ)};
  globals_.GYROANGX += rate.x * kDegPerHourToRadPerSecond * kFrameSeconds;
  globals_.GYROANGY += rate.y * kDegPerHourToRadPerSecond * kFrameSeconds;
  globals_.GYROANGZ += rate.z * kDegPerHourToRadPerSecond * kFrameSeconds;

  // The hole azimuth follows the turn about the vertical, less the earth's own vertical rate.
  const double gn = gyro::norm(g);
  if (gn > 0) {
    const double vertical = (rate.x * g.x + rate.y * g.y + rate.z * g.z) / gn;
    holeAzimuth_ = gyro::wrap360(holeAzimuth_ + (vertical - earthVertical()) / 3600.0 * kFrameSeconds);
  }
  const double hstf = gyro::highSideToolface(g);
  out[0] = static_cast<float>(rate.x);
  out[1] = static_cast<float>(rate.y);
  out[2] = static_cast<float>(rate.z);
  out[3] = static_cast<float>(g.x);
  out[4] = static_cast<float>(g.y);
  out[5] = static_cast<float>(g.z);
  out[6] = static_cast<float>(v[w::kTempG]);
  out[7] = static_cast<float>(v[w::kVolt]);
  out[8] = static_cast<float>(v[w::kMotor]);
  out[9] = static_cast<float>(v[w::kStatus]);
  out[10] = static_cast<float>(v[w::kSeq]);
  out[11] = static_cast<float>(gyro::inclination(g));
  out[12] = static_cast<float>(holeAzimuth_);
  out[13] = static_cast<float>(gyro::wrap360(holeAzimuth_ + hstf));
  out[14] = static_cast<float>(hstf);
  out[15] = static_cast<float>(gn);
  out[16] = static_cast<float>(globals_.GYROANGX * gyro::kRadToDeg);
  out[17] = static_cast<float>(globals_.GYROANGY * gyro::kRadToDeg);
  out[18] = static_cast<float>(globals_.GYROANGZ * gyro::kRadToDeg);
}

std::vector<records::ToolParameterS> Tarn::defaultParameters() const {
  using namespace params;
  return {
      surfaceValue("LATI", "Well latitude (negative south)", 0.0f, "Deg"),
      surfaceValue("GXSF", "Gyro X scale factor", 1.0f, ""),
      surfaceValue("GYSF", "Gyro Y scale factor", 1.0f, ""),
      surfaceValue("GZSF", "Gyro Z scale factor", 1.0f, ""),
      surfaceValue("AXSF", "Accelerometer X scale factor", 1.0f, ""),
      surfaceValue("AYSF", "Accelerometer Y scale factor", 1.0f, ""),
      surfaceValue("AZSF", "Accelerometer Z scale factor", 1.0f, ""),
      surfaceValue("AXOFF", "Accelerometer X offset", 0.0f, "g"),
      surfaceValue("AYOFF", "Accelerometer Y offset", 0.0f, "g"),
      surfaceValue("AZOFF", "Accelerometer Z offset", 0.0f, "g"),
      downholeChoice("GMOTOR", "Gyro wheel motor", {{"OFF", 0}, {"ON", 1}}, 1, 220, 0x11),
      surfaceValue("GXOFF", "Gyro X offset (drift)", 0.0f, "Deg/h"),
      surfaceValue("GYOFF", "Gyro Y offset (drift)", 0.0f, "Deg/h"),
      surfaceValue("GZOFF", "Gyro Z offset (drift)", 0.0f, "Deg/h"),
      surfaceValue("HAZI0", "Initial hole azimuth", 0.0f, "Deg"),
  };
}


}  // namespace tools
