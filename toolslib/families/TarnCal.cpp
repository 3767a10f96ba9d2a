// TARN: the gyro offsets of a still tool in the calibration stand (vertical, X axis to
// north), from the earth rate the well latitude (parameter 1) gives; they go into
// parameters 12 to 14.
#include <cmath>

#include "toolslib/families/Tarn.h"
#include "toolslib/wire/TarnWire.h"

namespace tools {

namespace {
constexpr double kEarthRateDegPerHour = 15.041;
constexpr double kDegToRad = 3.14159265358979 / 180.0;
}  // namespace

std::vector<const char*> Tarn::calibrationNames() const { return {"Read Stored Calibration", "Gyro Offsets"}; }

const cal::ReferencePlan* Tarn::referencePlan() const {
  namespace w = wire::tarn;
  static const cal::ReferencePlan plan{
      {{"Set the well latitude (LATI) first.\nStand the tool still and vertical, X axis to north, and press OK."}},
      {w::kGyroX, w::kGyroY, w::kGyroZ}, {"GYROX", "GYROY", "GYROZ"}, "Deg/h", 90};
  return &plan;
}

std::string Tarn::acceptReference(const cal::ReferenceResult& r, bool accepted) {
  auto& p = getParameterList();
  const double lat = static_cast<double>(p.at(kLatitude).value) * kDegToRad;
  const double expected[3] = {kEarthRateDegPerHour * std::cos(lat), 0.0, -kEarthRateDegPerHour * std::sin(lat)};
  const std::size_t index[3] = {kGyroOffsetX, kGyroOffsetY, kGyroOffsetZ};
  std::string out;
  for (int i = 0; i < 3; ++i) {
    const double offset = r.mean.at(0).at(static_cast<std::size_t>(i)) - expected[i];
    out += cal::changeParameter(p.at(index[i]), offset, accepted);
  }
  return out;
}

}  // namespace tools
