#include "panelsim/Winch.h"

#include <algorithm>
#include <cmath>

namespace panelsim {
namespace {
constexpr double kSurfaceTensionLb = 180;
constexpr double kCableWeightLbPerFt = 0.2;
constexpr double kPullDragLb = 250;  // extra pull coming up
constexpr double kRunDragLb = 120;   // relief running in
constexpr double kMaxDepth = 32000;  // the panel's depth field is a signed 16-bit whole part
}  // namespace

Winch::Winch(const WinchSettings& settings) : settings_(settings), legStartDepth_(settings.startDepth) {}

double Winch::unitsPerSecond() const {
  const double perS = settings_.english ? settings_.speed / 3600.0 : settings_.speed / 60.0;
  switch (settings_.direction) {
    case Direction::Down: return perS;
    case Direction::Up: return -perS;
    case Direction::Still: return 0;
  }
  return 0;
}

double Winch::depthAt(double seconds) const {
  const double d = legStartDepth_ + unitsPerSecond() * std::max(0.0, seconds - legStartS_);
  return std::clamp(d, 0.0, kMaxDepth);
}

void Winch::setDirection(Direction d, double atSeconds) {
  legStartDepth_ = depthAt(atSeconds);
  legStartS_ = atSeconds;
  settings_.direction = d;
}

void Winch::setSpeed(double speed, double atSeconds) {
  legStartDepth_ = depthAt(atSeconds);
  legStartS_ = atSeconds;
  settings_.speed = speed;
}

void Winch::moveTo(double depth, double atSeconds) {
  legStartDepth_ = std::clamp(depth, 0.0, kMaxDepth);
  legStartS_ = atSeconds;
}

void Winch::setEnglish(bool english, double atSeconds) {
  if (english == settings_.english) return;
  const double d = depthAt(atSeconds);
  legStartDepth_ = english ? d / 0.3048 : d * 0.3048;
  legStartS_ = atSeconds;
  settings_.speed = english ? settings_.speed * 60 / 0.3048 : settings_.speed * 0.3048 / 60;
  settings_.english = english;
}

WinchReading Winch::at(double seconds, double noise) const {
  WinchReading r;
  r.depth = depthAt(seconds);
  const double toFt = settings_.english ? 1.0 : kFeetPerMetre;
  r.depthFt = r.depth * toFt;
  const bool moving = r.depth > 0 && r.depth < kMaxDepth;
  r.speedFtPerS = moving ? unitsPerSecond() * toFt : 0;
  double drag = 0;
  if (r.speedFtPerS < 0) drag = kPullDragLb;
  if (r.speedFtPerS > 0) drag = -kRunDragLb;
  r.tensionLb = kSurfaceTensionLb + kCableWeightLbPerFt * r.depthFt + drag + 6 * noise;
  r.headMilliamps = 240 + 3 * noise;
  // The head sees the supply less the drop along the cable (about 9 ohm per 1000 ft).
  r.headVolts = 185 - r.headMilliamps / 1000 * 9 * r.depthFt / 1000 + 0.2 * noise;
  return r;
}

void encodePanelBlock(const PanelBlockInput& in, std::uint8_t* b) {
  const auto cents = static_cast<std::int32_t>(std::lround(in.depth * 100));
  const auto whole = static_cast<std::int16_t>(std::clamp(cents / 100, -32768, 32767));
  const auto hundredths = static_cast<std::int8_t>(cents % 100);
  b[0] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(whole) >> 8);
  b[1] = static_cast<std::uint8_t>(whole);
  b[2] = static_cast<std::uint8_t>(hundredths);
  b[3] = static_cast<std::uint8_t>(in.counter >> 8);
  b[4] = static_cast<std::uint8_t>(in.counter);
  b[5] = 0;
  const auto tension = static_cast<std::int16_t>(std::clamp(std::lround(in.tensionLb), -32768L, 32767L));
  b[6] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(tension) >> 8);
  b[7] = static_cast<std::uint8_t>(tension);
  const auto tenthsOfVolt = std::clamp(std::lround(in.headVolts * 10), 0L, 2559L);
  b[8] = static_cast<std::uint8_t>(tenthsOfVolt / 10);
  b[9] = static_cast<std::uint8_t>(tenthsOfVolt % 10);
  const auto current = static_cast<std::uint16_t>(std::clamp(std::lround(in.headMilliamps / kMilliampsPerCount), 0L, 1023L));
  const std::uint8_t status = in.english ? 0x20 : 0x00;  // bit 5: the panel shows English units
  b[10] = static_cast<std::uint8_t>(status | (current >> 8));
  b[11] = static_cast<std::uint8_t>(current);
}

}  // namespace panelsim
