#include "panelsim/ToolModels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "panelsim/GaugeTool.h"
#include "panelsim/TarnCTool.h"
#include "toolslib/calibration/TransferFrame.h"
#include "toolslib/wire/Layouts.h"

namespace panelsim {
namespace w = tools::wire;

namespace {

constexpr double kPi = 3.1415926535898;
double rad(double deg) { return deg * kPi / 180.0; }

using Vec = std::array<double, 3>;
using Mat = std::array<Vec, 3>;

Mat rotZ(double a) {
  const double c = std::cos(a), s = std::sin(a);
  return {{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}};
}
Mat rotY(double a) {
  const double c = std::cos(a), s = std::sin(a);
  return {{{c, 0, s}, {0, 1, 0}, {-s, 0, c}}};
}
Mat mul(const Mat& a, const Mat& b) {
  Mat r{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) r[i][j] += a[i][k] * b[k][j];
  return r;
}
// Transposed product: a vector of the north-east-down frame in the tool's axes.
Vec inTool(const Mat& toolToNed, const Vec& v) {
  Vec r{};
  for (int i = 0; i < 3; ++i)
    for (int k = 0; k < 3; ++k) r[i] += toolToNed[k][i] * v[k];
  return r;
}

// Values in the order of the family's fields, encoded by its codec.
class CodecModel : public ToolModel {
 public:
  explicit CodecModel(const w::Layout& layout) : layout_(layout), values_(layout.fields.size(), 0.0) {}
  std::uint8_t code() const override { return layout_.code; }
  void produce(const Environment& env, Noise& noise, std::uint8_t* bytes) final {
    if (transferFrame(bytes)) return;
    if (referencePoint() >= 0)
      fillReference(standEnvironment(env), noise, values_.data(), referencePoint());
    else
      fill(env, noise, values_.data());
    w::encode(layout_, values_.data(), bytes);
  }
  std::string storedCalibration() const override {
    return std::string(layout_.family) + " SN 1001, cal 2026-03-14";
  }

 protected:
  virtual void fill(const Environment& env, Noise& noise, double* v) = 0;
  // Readings in the calibration stand; by default those of a still tool there.
  virtual void fillReference(const Environment& stand, Noise& noise, double* v, int point) {
    (void)point;
    fill(stand, noise, v);
  }
  const w::Layout& layout_;
  std::vector<double> values_;
};

// Casing collars every joint (about 30 ft), each a little off the nominal length.
double nearestCollarFt(double depthFt) {
  const double joint = std::floor(depthFt / 30.0 + 0.5);
  const double jitter = std::sin(joint * 12.9898) * 1.5;
  return joint * 30.0 + jitter;
}

class BrixModel final : public CodecModel {
 public:
  BrixModel() : CodecModel(w::brix::kLayout) {}
  void fill(const Environment& env, Noise& noise, double* v) override {
    // Four coil samples across the frame; the coil only sees a collar while it moves, and
    // the pulse flips sign with the direction of travel.
    const double speed = env.winch.speedFtPerS;
    const double gain = std::min(1.0, std::abs(speed) / 0.5);
    const double sign = speed >= 0 ? 1.0 : -1.0;
    for (int i = 0; i < 4; ++i) {
      const double d = env.winch.depthFt + speed * (i / 4.0) / 15.0;
      const double off = d - nearestCollarFt(d);
      const double pulse = 95.0 * gain * sign * std::exp(-off * off / (2 * 0.35 * 0.35));
      v[w::brix::kCcl1 + i] = 127 + pulse + noise.gauss(1.5);
    }
    v[w::brix::kTemp] = env.temperatureC + 2;
  }
};

class DuneModel final : public CodecModel {
 public:
  DuneModel() : CodecModel(w::dune::kLayout) {}
  void fill(const Environment& env, Noise& noise, double* v) override {
    // The impeller turns with the fluid velocity relative to the tool (up positive) and
    // stalls below its threshold.
    const double toolUpFtPerMin = -env.winch.speedFtPerS * 60;
    const double relative = env.well.fluidVelocityFtPerMin - toolUpFtPerMin;
    double rps = std::abs(relative) < 6 ? 0 : 0.1 * (std::abs(relative) - 6) + noise.gauss(0.03);
    v[w::dune::kSpin] = std::max(0.0, rps);
    v[w::dune::kDirection] = relative >= 0 ? 0 : 1;
    v[w::dune::kTemp] = env.temperatureC;
    v[w::dune::kStatus] = 0;
  }
};

class SevoModel final : public CodecModel {
 public:
  SevoModel() : CodecModel(w::sevo::kLayout) {}
  void fill(const Environment& env, Noise& noise, double* v) override {
    const double p = env.pressurePsi + noise.gauss(0.02);
    v[w::sevo::kPressure] = p;
    v[w::sevo::kTemp] = env.temperatureC + noise.gauss(0.01);
    v[w::sevo::kGaugeTemp] = env.temperatureC + 0.4;
    v[w::sevo::kVolt] = 12.0;
    v[w::sevo::kStatus] = 0;
    v[w::sevo::kSeq] = env.frame & 0xFFFF;
    v[w::sevo::kFrequency] = 30000 + 0.5 * p;
  }
  void fillReference(const Environment& stand, Noise& noise, double* v, int point) override {
    // The pressure bath: the air, then 5000 psi; the gauge reads a little off, as an
    // uncalibrated quartz gauge does.
    Environment bath = stand;
    bath.pressurePsi = (point == 0 ? 14.696 : 5000.0) * kGaugeScale + kGaugeOffsetPsi;
    fill(bath, noise, v);
  }
  std::string storedCalibration() const override { return "SEVO SN 23107, calibrated 2026-03-14, PSCALE 1.000120, POFF -0.42 PSI"; }
  static constexpr double kGaugeScale = 1.0002, kGaugeOffsetPsi = 0.8;
};

class QuilModel final : public CodecModel {
 public:
  QuilModel() : CodecModel(w::quil::kLayout) {}
  void fill(const Environment& env, Noise& noise, double* v) override {
    // Shale and sand beds: a gamma level in API units, counted over one frame.
    const double d = env.winch.depthFt;
    const double api = 60 + 35 * std::sin(d / 37.0) + 15 * std::sin(d / 9.0);
    v[w::quil::kCounts] = noise.poisson(std::max(1.0, api * 0.25));
    v[w::quil::kHighVoltage] = 1200;
    v[w::quil::kTemp] = env.temperatureC;
    v[w::quil::kStatus] = 0;
  }
  void fillReference(const Environment& stand, Noise& noise, double* v, int point) override {
    // Background only (4 counts a second), then the 150 API field jig on top of it.
    fill(stand, noise, v);
    const double perFrame = (point == 0 ? 0.0 : 150 * 0.25) + kBackgroundCps / 15.0;
    v[w::quil::kCounts] = noise.poisson(perFrame);
  }
  static constexpr double kBackgroundCps = 4.0;
};

class HavoModel final : public CodecModel {
 public:
  HavoModel() : CodecModel(w::havo::kLayout) {}
  void fill(const Environment& env, Noise& noise, double* v) override {
    // Water-cut changes slowly with depth: the probe frequency moves between water and oil.
    const double holdup = 0.5 + 0.4 * std::sin(env.winch.depthFt / 120.0);
    v[w::havo::kFrequency] = 22 + 18 * (1 - holdup) + noise.gauss(0.05);
    v[w::havo::kTemp] = env.temperatureC;
    v[w::havo::kCaliper] = 6.18 + noise.gauss(0.01);
    v[w::havo::kStatus] = 0;
  }
  void fillReference(const Environment& stand, Noise& noise, double* v, int point) override {
    // The water tank (22 kHz), then the oil tank (40 kHz).
    fill(stand, noise, v);
    v[w::havo::kFrequency] = (point == 0 ? 22.0 : 40.0) + noise.gauss(0.05);
  }
};

class PlovModel final : public CodecModel {
 public:
  PlovModel() : CodecModel(w::plov::kLayout) {}
  void fill(const Environment& env, Noise& noise, double* v) override {
    const double drag = env.winch.speedFtPerS < 0 ? 80 : env.winch.speedFtPerS > 0 ? -40 : 0;
    v[w::plov::kTension] = 320 + drag + noise.gauss(3);
    v[w::plov::kStatus] = 0;
  }
};

class FyrdModel final : public CodecModel {
 public:
  FyrdModel() : CodecModel(w::fyrd::kLayout) {}
  void fill(const Environment& env, Noise& noise, double* v) override {
    // Arms on a 6.18 in casing; a collar opens them a little.
    const double off = env.winch.depthFt - nearestCollarFt(env.winch.depthFt);
    const double bump = 0.15 * std::exp(-off * off / 0.5);
    for (int i = 0; i < 3; ++i) v[w::fyrd::kArm1 + i] = 3.09 + bump + noise.gauss(0.01);
  }
};

// Gyro tools: sensors see the earth's rotation and gravity for the well's attitude, with
// the biases and drifts the simulation was given, and noise.
class TarnModel final : public CodecModel {
 public:
  TarnModel() : CodecModel(w::tarn::kLayout) {}
  void fill(const Environment& env, Noise& noise, double* v) override {
    const SensorTruth t = sensorTruth(env.well);
    for (int i = 0; i < 3; ++i) {
      v[w::tarn::kGyroX + i] = t.rate[i] + env.tarnGyro.at(i, env.timeS) + noise.gauss(0.3);
      v[w::tarn::kAccX + i] = t.gravity[i] + noise.gauss(0.0002);
    }
    v[w::tarn::kTempG] = env.temperatureC + 8;
    v[w::tarn::kVolt] = 24.0;
    v[w::tarn::kMotor] = 24000;
    v[w::tarn::kStatus] = 0;
    v[w::tarn::kSeq] = env.frame & 0xFF;
  }
};

class TarnBModel final : public CodecModel {
 public:
  TarnBModel() : CodecModel(w::tarnb::kLayout) {}
  void fill(const Environment& env, Noise& noise, double* v) override {
    const SensorTruth t = sensorTruth(env.well);
    // The tool's axes have z up-hole: those of sensorTruth turned half a turn about x.
    const double rate[2] = {t.rate[0] + env.tarnbGyro.at(0, env.timeS), -t.rate[1] + env.tarnbGyro.at(1, env.timeS)};
    const double g[3] = {t.gravity[0], -t.gravity[1], -t.gravity[2]};
    const TarnBTruth& m = env.tarnb;
    for (int i = 0; i < 2; ++i) {
      const double gravityRate = kEarthRateDegPerHour * (m.gravity[2 * i] * g[0] + m.gravity[2 * i + 1] * g[1]);
      v[w::tarnb::kRawGX + i] =
          m.offsetMv[i] + (rate[i] + gravityRate) / m.gainDegPerHourPerMv[i] + noise.gauss(m.gyroNoiseMv);
    }
    for (int i = 0; i < 3; ++i) v[w::tarnb::kRawAX + i] = m.accScaleMvPerG * g[i] + noise.gauss(m.accNoiseMv);
    v[w::tarnb::kTempG] = env.temperatureC + 6;
    v[w::tarnb::kTempA] = env.temperatureC + 4;
    v[w::tarnb::kSupply] = 24.0;
    v[w::tarnb::kStatus] = 0;
    v[w::tarnb::kSeq] = env.frame & 0xFFFF;
    v[w::tarnb::kMotor] = 12000;
    v[w::tarnb::kHeater] = 150;
  }
};

}  // namespace

void ToolModel::onMessage(const std::vector<std::uint8_t>& message) {
  received_.push_back(message);
  // [n, address, 0, command (, point)]
  if (message.size() < 4 || message[2] != 0) return;
  switch (message[3]) {
    case tools::cal::kReadCalCommand: {
      if (silent_) break;
      const std::string record = storedCalibration();
      transfer_ = tools::cal::encodeTransfer(std::span(reinterpret_cast<const std::uint8_t*>(record.data()), record.size()),
                                             dataBytes());
      transferNext_ = 0;
      break;
    }
    case tools::cal::kReferenceCommand:
      if (message.size() == 5 && message[4] <= 1) referencePoint_ = message[4];  // [4, address, 0, 0x68, point]
      break;
    case tools::cal::kStopCommand:
      transfer_.clear();
      referencePoint_ = -1;
      break;
    default: break;
  }
}

std::string ToolModel::storedCalibration() const { return {}; }

bool ToolModel::transferFrame(std::uint8_t* bytes) {
  if (transferNext_ >= transfer_.size()) return false;
  const auto& f = transfer_[transferNext_++];
  std::copy(f.begin(), f.end(), bytes);
  if (transferNext_ == transfer_.size()) transfer_.clear(), transferNext_ = 0;
  return true;
}

Environment ToolModel::standEnvironment(const Environment& env) {
  Environment stand = env;
  stand.winch.speedFtPerS = 0;
  stand.winch.depthFt = 15;  // in the shop, half a joint from any collar
  stand.well.inclinationDeg = 0;
  stand.well.azimuthDeg = 0;
  stand.well.toolfaceDeg = 0;
  stand.well.fluidVelocityFtPerMin = 0;
  stand.temperatureC = 25;
  stand.pressurePsi = 14.696;
  return stand;
}

std::uint32_t ToolModel::dataBytes() const {
  const w::Layout* l = w::layoutFor(code());
  return l ? l->dataBytes : 0;
}

std::span<const std::uint8_t> ToolModel::blockLengths() const {
  const w::Layout* l = w::layoutFor(code());
  return l ? l->blockLengths : std::span<const std::uint8_t>{};
}

SensorTruth sensorTruth(const Well& well, double indexerDeg) {
  // Tool to north-east-down: azimuth about down, inclination tilting the tool axis (z,
  // pointing downhole) towards the azimuth, toolface and indexer about the tool axis.
  const Mat r = mul(mul(rotZ(rad(well.azimuthDeg)), rotY(rad(well.inclinationDeg))),
                    rotZ(rad(well.toolfaceDeg + indexerDeg)));
  const double lat = rad(well.latitudeDeg);
  const Vec earth{kEarthRateDegPerHour * std::cos(lat), 0, -kEarthRateDegPerHour * std::sin(lat)};
  const Vec gravity{0, 0, 1};
  const Vec er = inTool(r, earth), g = inTool(r, gravity);
  SensorTruth t{};
  for (int i = 0; i < 3; ++i) t.rate[i] = er[i], t.gravity[i] = g[i];
  return t;
}

std::unique_ptr<ToolModel> makeToolModel(std::uint8_t code) {
  switch (code) {
    case 210: return std::make_unique<BrixModel>();
    case 220: return std::make_unique<TarnModel>();
    case 224: return std::make_unique<TarnBModel>();
    case 227: return std::make_unique<TarnCTool>();
    case 230: return std::make_unique<DuneModel>();
    case 232: return std::make_unique<SevoModel>();
    case 235: return std::make_unique<QuilModel>();
    case 240: return std::make_unique<GaugeTool>();
    case 243: return std::make_unique<HavoModel>();
    case 252: return std::make_unique<PlovModel>();
    case 254: return std::make_unique<FyrdModel>();
    default: return nullptr;
  }
}

}  // namespace panelsim
