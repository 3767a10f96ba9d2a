#include "kvr/utilities/WellPath.h"

#include <cmath>

namespace kvr::utilities {

namespace {

struct Vec3 {
  double n, e, d;
};

Vec3 tangent(const Station& s) {
  double inc = s.inclination * kPi / 180.0;
  double az = s.azimuth * kPi / 180.0;
  return {std::sin(inc) * std::cos(az), std::sin(inc) * std::sin(az), std::cos(inc)};
}

PathRow rowAt(const Station& s, double ns, double ew, double tvd) {
  return PathRow{static_cast<float>(ns), static_cast<float>(ew), static_cast<float>(tvd),
                 static_cast<float>(s.md), static_cast<float>(s.azimuth), static_cast<float>(s.inclination)};
}

}  // namespace

WellPathResult computeWellPath(StationReader& stations, std::size_t maxRows) {
  WellPathResult result;
  Station previous;
  Station current;
  // Sums are kept in double; the table holds them as 32-bit floats.
  double ns = 0, ew = 0, tvd = 0;
  double divisor = 1;  // |t1 + t2| of the last segment that had one
  for (;;) {
    auto status = stations.next(current);
    if (status == StationReader::Status::End) return result;
    if (status == StationReader::Status::BadLine) {
      result.outcome = WellPathResult::Outcome::BadLine;
      result.badLineText = stations.badLineMessage();
      return result;
    }
    if (result.rows.size() >= maxRows) {
      result.outcome = WellPathResult::Outcome::Truncated;
      return result;
    }
    if (result.rows.empty()) {
      result.rows.push_back(rowAt(current, 0, 0, 0));
      previous = current;
      continue;
    }
    Vec3 t1 = tangent(previous), t2 = tangent(current);
    double dmd = std::fabs(current.md - previous.md);
    double dot = t1.n * t2.n + t1.e * t2.e + t1.d * t2.d;
    double dogleg = dot >= 1 ? 0 : std::acos(dot < -1 ? -1 : dot);
    Vec3 sum{t1.n + t2.n, t1.e + t2.e, t1.d + t2.d};
    double norm = std::sqrt(sum.n * sum.n + sum.e * sum.e + sum.d * sum.d);
    if (norm != 0) divisor = norm;
    double length = dogleg == 0 ? dmd : 2 * dmd * std::sin(dogleg / 2) / dogleg;
    ns += sum.n / divisor * length;
    ew += sum.e / divisor * length;
    tvd += sum.d / divisor * length;
    result.rows.push_back(rowAt(current, ns, ew, tvd));
    previous = current;
  }
}

double closure(const PathRow& row) {
  double ns = row.ns, ew = row.ew;
  return std::sqrt(ns * ns + ew * ew);
}

double closureAzimuth(const PathRow& row) {
  double ns = row.ns, ew = row.ew;
  if (ns == 0) {
    if (ew == 0) return 0;
    return ew > 0 ? 90 : 270;
  }
  double a = std::atan(std::fabs(ew) / std::fabs(ns)) * 180.0 / kPi;
  if (ew >= 0) return ns > 0 ? a : 180 - a;
  return ns > 0 ? 360 - a : a + 180;
}

}  // namespace kvr::utilities
