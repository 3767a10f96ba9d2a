#include "toolslib/vunt/GaugeRecords.h"

#include <cmath>

#include "common/records/LittleEndian.h"

namespace tools::vunt {
namespace {
enum : std::size_t { kT0 = 0, kT1 = 8, kP0 = 16, kP1 = 24, kP2 = 32, kTref = 40 };

std::uint32_t nearestCount(double x, std::uint32_t max) {
  if (!(x > 0)) return 0;  // also NaN
  if (x >= max) return max;
  return static_cast<std::uint32_t>(std::lround(x));
}
}  // namespace

double calibrationDouble(const CalibrationUnion& cal, std::size_t offset) {
  return records::le::getF64(cal.bytes.data() + offset);
}

void setCalibrationDouble(CalibrationUnion& cal, std::size_t offset, double value) {
  records::le::putF64(cal.bytes.data() + offset, value);
}

CalibrationUnion makeCalibration(const GaugeCoefficients& c, double serial, double model) {
  CalibrationUnion cal;
  setCalibrationDouble(cal, kT0, c.t0);
  setCalibrationDouble(cal, kT1, c.t1);
  setCalibrationDouble(cal, kP0, c.p0);
  setCalibrationDouble(cal, kP1, c.p1);
  setCalibrationDouble(cal, kP2, c.p2);
  setCalibrationDouble(cal, kTref, c.tref);
  setCalibrationDouble(cal, kSerialOffset, serial);
  setCalibrationDouble(cal, kModelOffset, model);
  return cal;
}

GaugeCoefficients coefficientsOf(const CalibrationUnion& cal) {
  return {calibrationDouble(cal, kT0), calibrationDouble(cal, kT1), calibrationDouble(cal, kP0),
          calibrationDouble(cal, kP1), calibrationDouble(cal, kP2), calibrationDouble(cal, kTref)};
}

RawSample encodeSample(const CalibrationUnion& cal, double psi, double degC) {
  const GaugeCoefficients c = coefficientsOf(cal);
  RawSample s;
  s.temperature = static_cast<std::uint16_t>(nearestCount((degC - c.t0) / c.t1, 0xFFFF));
  const double t = c.t0 + c.t1 * s.temperature;  // the temperature the pressure is corrected with
  s.pressure = nearestCount((psi - c.p0 - c.p2 * (t - c.tref)) / c.p1, 0xFFFFFF);
  if (isEndMarker(s)) --s.pressure;
  return s;
}

void putSample(std::uint8_t* p, RawSample s) {
  p[0] = static_cast<std::uint8_t>(s.pressure >> 16);
  p[1] = static_cast<std::uint8_t>(s.pressure >> 8);
  p[2] = static_cast<std::uint8_t>(s.pressure);
  p[3] = static_cast<std::uint8_t>(s.temperature >> 8);
  p[4] = static_cast<std::uint8_t>(s.temperature);
}

RawSample getSample(const std::uint8_t* p) {
  return {static_cast<std::uint32_t>(p[0]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[2],
          static_cast<std::uint16_t>(p[3] << 8 | p[4])};
}

}  // namespace tools::vunt

void VUNTCalculaValorCalibrado(double* pressure, double* temperature, const tools::vunt::CalibrationUnion* cal) {
  if (pressure == nullptr || temperature == nullptr || cal == nullptr) return;
  const tools::vunt::GaugeCoefficients c = tools::vunt::coefficientsOf(*cal);
  const double t = c.t0 + c.t1 * *temperature;
  *pressure = c.p0 + c.p1 * *pressure + c.p2 * (t - c.tref);
  *temperature = t;
}
