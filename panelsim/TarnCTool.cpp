#include "panelsim/TarnCTool.h"

#include <cmath>

#include "navikor/Navikor.h"

namespace panelsim {
namespace w = tools::wire::tarnc;
namespace {
constexpr double kPi = 3.1415926535898;
constexpr double kFrameS = 1.0 / 15.0;
constexpr int kMinFrames = 8;  // half a second: a panel that looks every 250 ms sees it
// The indexer's hardware: 512 counts per half turn, 0 degrees at count 12.
constexpr double kZeroCount = 12;
constexpr double kCountsPerDegree = 512.0 / 180.0;

double wrap2Pi(double a) {
  a = std::fmod(a, 2 * kPi);
  return a < 0 ? a + 2 * kPi : a;
}
CARTXYZ times(const MATXYZ& m, const CARTXYZ& v) { return MatxVect(m, v); }
}  // namespace

TarnCTool::TarnCTool(TarnCSettings settings) : settings_(std::move(settings)), navikor_(std::make_unique<CNavikor>()) {
  if (settings_.calibration) tools::tarnc::pointNavikorAt(*navikor_, *settings_.calibration);
  else tools::tarnc::pointNavikorAtNothing(*navikor_);
  count_ = target_ = settings_.table[0];
}

TarnCTool::~TarnCTool() = default;

double TarnCTool::angleOfCount(double count) const { return (count - kZeroCount) / kCountsPerDegree; }

std::uint8_t TarnCTool::restingStatus() const {
  if (settings_.faults.imuSilent) return w::kNotReady;
  if (settings_.faults.vibration) return w::kMoving;
  return w::kReady;
}

void TarnCTool::acknowledge(std::uint8_t ack) {
  if (!settings_.faults.noAck) acks_.push_back(ack);
}

void TarnCTool::startTransfer(std::uint8_t status, std::vector<std::uint16_t> items) {
  transferStatus_ = status;
  transferFrames_ = 0;
  items_.assign(items.begin(), items.end());
}

void TarnCTool::startMove(double target) {
  // Where this move will really end: within the set accuracy, or short of it.
  static constexpr int kSpread[] = {0, 1, -1, 2, -2, 1, 0, -1, 2, -2, 0};
  const int accuracy = settings_.accuracy;
  double end = target + (accuracy > 0 ? kSpread[moveCount_++ % 11] % (accuracy + 1) : 0);
  if (settings_.faults.shortMove) end = target + (target > count_ ? -40 : 40);
  target_ = end;
  moving_ = true;
  moveFrames_ = 0;
}

void TarnCTool::onMessage(const std::vector<std::uint8_t>& message) {
  ToolModel::onMessage(message);
  if (message.size() > 3) command(message.data() + 3, message.size() - 3);
}

void TarnCTool::command(const std::uint8_t* p, std::size_t n) {
  const auto word10 = [&](std::size_t i) { return static_cast<std::uint16_t>(p[i] | ((p[i + 1] & 3) << 8)); };
  switch (p[0]) {
    case 0x99: {
      std::vector<std::uint16_t> table(settings_.table, settings_.table + 4);
      if (settings_.faults.equalCounts) table[2] = table[0];
      if (settings_.faults.shortTable) table.pop_back();
      startTransfer(w::kTableTransfer, table);
      return;
    }
    case 0x6F: case 0x70: case 0x71: case 0x72: startMove(settings_.table[p[0] - 0x6F]); return;
    case 0xA6: {
      std::vector<std::uint16_t> items;
      for (int i = 0; i < 16; i += 2) items.push_back(static_cast<std::uint16_t>(state_.freqTable[i] | (state_.freqTable[i + 1] << 8)));
      startTransfer(w::kImuTransfer, items);
      return;
    }
    case 0xA7:
      startTransfer(w::kImuTransfer, {state_.thresholdX, state_.thresholdY, state_.window});
      return;
    case 0x9B:
      if (n >= 5 && p[1] == 0x03 && p[2] >= 0x61 && p[2] <= 0x64) {
        settings_.table[p[2] - 0x61] = word10(3);
        acknowledge(0x20);
      }
      return;
    case 0x97:
      if (n >= 5) {
        for (int i = 0; i < 4; ++i) state_.turnParams[i] = p[1 + i];
        settings_.accuracy = p[4];
        acknowledge(0x10);
      }
      return;
    case 0x83:
      if (n >= 2) {
        state_.dtgStep = (p[1] & 0x3F) * ((p[1] & 0x80) ? -1 : 1);
        state_.turnOn = (p[1] & 0x40) != 0;
        acknowledge(0x30);
      }
      return;
    case 0x9E: case 0x9F: case 0xA0: case 0xA1:
      if (n >= 6) {
        // Parts overlap: each carries t, f, t, f, t of consecutive pairs.
        const int first = (p[0] - 0x9E) * 2;
        for (int k = 0; k < 5 && 2 * first + k < 16; ++k) state_.freqTable[2 * first + k] = p[1 + k];
        acknowledge(0x30);
      }
      return;
    case 0x9C:
      if (n >= 3 && p[1] == 0x02) {
        if (p[2] == 0x9A && n >= 4) state_.frequency = p[3];
        if (p[2] == 0x9B) state_.tableEnabled = true;
        if (p[2] == 0x9C) state_.tableEnabled = false;
        acknowledge(0x30);
      }
      return;
    case 0x98:
      if (n >= 4) {
        startMove(word10(1));
        acknowledge(0x20);
      }
      return;
    case 0xA2: case 0xA3: case 0xA4:
      if (n >= 3) {
        const auto v = static_cast<std::uint16_t>(p[1] | (p[2] << 8));
        if (p[0] != 0xA3) state_.thresholdX = v;
        if (p[0] != 0xA2) state_.thresholdY = v;
        acknowledge(0x10);
      }
      return;
    case 0xA5:
      if (n >= 2) {
        state_.window = p[1];
        acknowledge(0x10);
      }
      return;
    default: return;
  }
}

void TarnCTool::fillSensors(const Environment& env, Noise& noise, double temperature, w::Frame& f) {
  const Well& well = env.well;
  const double theta = angleOfCount(count_);
  const double toolface = well.toolfaceDeg + settings_.toolfaceRateDegPerS * env.timeS;
  POS_PARAM p{well.inclinationDeg * kPi / 180, well.azimuthDeg * kPi / 180, wrap2Pi((toolface + theta) * kPi / 180), 0};
  const MATXYZ m = Param2Matrix(p);
  // The body rate since the last frame with our data, from the attitude change (deg/h). Frames
  // without it (the panel sending a downhole message) leave gaps: the gyros read a rate, so the
  // change is over the time that really passed, not over one frame.
  CARTXYZ body;
  if (havePrevious_) {
    const MATXYZ s = MatxMat(MatTrasp(previous_), m);
    const double elapsed = env.timeS > previousTimeS_ ? env.timeS - previousTimeS_ : kFrameS;
    const double k = 180 / kPi * 3600 / elapsed / 2;
    body = CARTXYZ((s.m[7] - s.m[5]) * k, (s.m[2] - s.m[6]) * k, (s.m[3] - s.m[1]) * k);
  }
  previous_ = m;
  previousTimeS_ = env.timeS;
  havePrevious_ = true;
  if (settings_.faults.imuSilent) return;

  CNavikor& n = *navikor_;
  const MATXYZ mt = MatTrasp(m);
  CARTXYZ acel = times(mt, CARTXYZ(0, 0, 1));
  const CARTXYZ earth = times(mt, n.earthRate);
  CARTXYZ rate = CARTXYZ(earth.x + body.x, earth.y + body.y, earth.z + body.z);
  const bool vibrating = settings_.faults.vibration;
  const double an = settings_.acelNoise + (vibrating ? settings_.vibrationAcel : 0);
  const double gn = settings_.gyroNoise + (vibrating ? settings_.vibrationGyro : 0);
  const CARTXYZ acelTrue = acel;
  if (an > 0) acel = CARTXYZ(acel.x + noise.gauss(an), acel.y + noise.gauss(an), acel.z + noise.gauss(an));

  const CARTXYZ t(temperature, temperature, temperature);
  // Accelerometers: the inverse of (raw - offset) x gain, then the sensor-to-IMU alignment.
  const Acel_ACAL ac = n.GetAcelCal(t);
  const CARTXYZ aSen = times(MatInv(n.acelToMec), acel);
  const double rawA[3] = {aSen.x / ac.gain.x + ac.offset.x, aSen.y / ac.gain.y + ac.offset.y,
                          aSen.z / ac.gain.z + ac.offset.z};
  // Gyros: the rate in the sensor frame plus what the table's gravity terms take away again.
  const Gyro_CAL gc = n.GetGyroCAL(t);
  const CARTXYZ g = times(n.mecToGyro, acelTrue);
  CARTXYZ ws = times(n.mecToGyro, rate);
  const double drift = settings_.gyroDriftPerDegC * (temperature - startTemperature_);
  double wsv[3] = {ws.x, ws.y, ws.z};
  for (int i = 0; i < 3; ++i) wsv[i] += settings_.gyroBias[i] + drift + (gn > 0 ? noise.gauss(gn) : 0.0);
  const double* gx = gc.gravity.Gx;
  const double* gy = gc.gravity.Gy;
  const double rawG[3] = {
      (wsv[0] + gx[0] * g.x + gx[1] * g.y + gx[2] * g.z + gx[3] * g.x * g.z) / gc.gain.x + gc.offset.x,
      (wsv[1] + gy[0] * g.x + gy[1] * g.y + gy[2] * g.z + gy[3] * g.y * g.z) / gc.gain.y + gc.offset.y,
      wsv[2] / gc.gain.z + gc.offset.z};
  for (int i = 0; i < 3; ++i) {
    f.raw[i] = static_cast<std::int32_t>(std::lround(rawG[i] * w::kMicrovoltsPerMv));
    f.raw[3 + i] = static_cast<std::int32_t>(std::lround(rawA[i] * w::kMicrovoltsPerMv));
  }
}

void TarnCTool::produce(const Environment& env, Noise& noise, std::uint8_t* bytes) {
  navikor_->SetLatitud(env.well.latitudeDeg);
  // Temperatures go out in 0.01 degC steps; the block works at the value it reports.
  double temperature = env.temperatureC + settings_.temperatureRise;
  if (startTemperature_ < -999) startTemperature_ = temperature;
  temperature += settings_.temperatureDriftPerHour * env.timeS / 3600;
  temperature = std::round(temperature / w::kTempStep) * w::kTempStep;

  // The indexer turns at its speed and shows status 6 for at least half a second.
  if (moving_) {
    ++moveFrames_;
    if (!settings_.faults.jammed) {
      const double step = settings_.countsPerSecond * (settings_.faults.slowMoves ? 0.2 : 1.0) * kFrameS;
      count_ = std::fabs(target_ - count_) <= step ? target_ : count_ + (target_ > count_ ? step : -step);
    }
    if ((count_ == target_ || settings_.faults.jammed) && moveFrames_ >= kMinFrames) moving_ = false;
  }

  w::Frame f;
  fillSensors(env, noise, temperature, f);
  f.angle = static_cast<std::uint16_t>(std::lround(count_));

  std::uint8_t status = moving_ ? static_cast<std::uint8_t>(w::kRotating) : restingStatus();
  bool item = false;
  std::uint8_t slot = 0;
  std::uint16_t word = 0;
  if (transferStatus_) {
    status = transferStatus_;
    // The first frame only shows the status; the items follow one per frame.
    if (transferFrames_++ > 0 && !items_.empty()) {
      slot = w::kSlotSpecial;
      word = items_.front();
      items_.pop_front();
      item = true;
    }
    const bool endless = settings_.faults.endlessTable && transferStatus_ == w::kTableTransfer;
    if (items_.empty() && transferFrames_ >= kMinFrames && !endless) transferStatus_ = 0;
  }
  if (!item) {
    if (!acks_.empty()) {
      slot = w::kSlotAck;
      word = acks_.front();
      acks_.pop_front();
    } else {
      slot = cycle_;
      cycle_ = static_cast<std::uint8_t>((cycle_ + 1) % w::kCycleSlots);
      if (slot <= w::kSlotTempGZ) word = static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(temperature / w::kTempStep)));
      else if (slot == w::kSlotDtg) word = static_cast<std::uint16_t>((state_.dtgStep & 0xFF) | (state_.turnOn ? 0x100 : 0));
    }
  }
  f.ctrl = w::controlWord(status, slot, item);
  f.slotWord = word;
  w::encodeFrame(f, bytes);
}

}  // namespace panelsim
