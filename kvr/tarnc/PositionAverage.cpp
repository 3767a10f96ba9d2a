#include "kvr/tarnc/PositionAverage.h"

#include <cmath>
#include <string_view>

#include "toolslib/GyroMath.h"

namespace kvr::tarnc {

namespace {

// In the order of the running sums: 12 doubles, then 9 floats.
constexpr std::string_view kNames[21] = {"RATEX",   "RATEY",     "RATEZ",     "ACCX",      "ACCY",  "ACCZ",   "RAWRATEGX",
                                         "RAWRATEGY", "RAWRATEGZ", "RAWAX",   "RAWAY",     "RAWAZ", "DEVI",   "HAZI",
                                         "TFACE",   "HSTF",      "TEMPGXY",   "TEMPGZ",    "TEMPAX", "TEMPAY", "TEMPAZ"};
constexpr int kFirstAngle = 13;  // HAZI, TFACE, HSTF
using tools::gyro::kPi;

}  // namespace

void PositionAverager::reset(const SampleRing& ring, const records::ChannelList& channels, RawDataLog& log) {
  read_ = ring.write();
  for (std::size_t i = 0; i < 21; ++i) {
    columns_[i] = -1;
    for (const auto& c : channels) {
      if (c.mnemonic == kNames[i] && c.column() < ring.rowWidth()) {
        columns_[i] = static_cast<long>(c.column());
        break;
      }
    }
  }
  for (auto& s : sums_) s = 0;
  for (auto& s : floatSums_) s = 0;
  for (int i = 0; i < 3; ++i) sin_[i] = cos_[i] = 0, negative_[i] = false;
  raw_.clear();
  log.header();
}

void PositionAverager::accumulate(const SampleRing& ring, RawDataLog& log) {
  if (ring.empty()) return;
  const float* data = ring.data();
  const std::size_t width = ring.rowWidth();
  const std::size_t first = raw_.size();
  while (read_ != ring.write()) {
    auto value = [&](int i) {
      return columns_[i] < 0 ? 0.0 : static_cast<double>(data[ring.advance(read_, static_cast<std::size_t>(columns_[i]))]);
    };
    for (int i = 0; i < 12; ++i) sums_[i] += value(i);
    for (int i = 12; i < 21; ++i) floatSums_[i - 12] += static_cast<float>(value(i));
    for (int k = 0; k < 3; ++k) {
      const double a = value(kFirstAngle + k);
      sin_[k] += std::sin(a * kPi / 180.0);
      cos_[k] += std::cos(a * kPi / 180.0);
      if (a < 0) negative_[k] = true;
    }
    raw_.push_back({value(6), value(7), value(8), value(9), value(10), value(11)});
    read_ = ring.advance(read_, width);
  }
  if (raw_.size() > first) log.samples({raw_.begin() + static_cast<long>(first), raw_.end()});
}

bool PositionAverager::finish(PositionAverage& out, std::uint16_t anglePos, RawDataLog& log) const {
  if (rows() < 2) return false;
  const double n = static_cast<double>(rows());
  for (int i = 0; i < 3; ++i) {
    out.rates[i] = sums_[i] / n;
    out.acc[i] = sums_[3 + i] / n;
    out.rawRates[i] = sums_[6 + i] / n;
    out.rawAcc[i] = sums_[9 + i] / n;
  }
  const float fn = static_cast<float>(rows());
  // Sums: DEVI, HAZI, TFACE, HSTF, TEMPGXY, TEMPGZ, TEMPAX, TEMPAY, TEMPAZ.
  out.temps[0] = floatSums_[6] / fn;
  out.temps[1] = floatSums_[7] / fn;
  out.temps[2] = floatSums_[8] / fn;
  out.temps[3] = floatSums_[4] / fn;
  out.temps[4] = floatSums_[5] / fn;
  auto circular = [&](int k) {
    double deg = std::atan2(sin_[k], cos_[k]) * 180.0 / kPi;
    if (deg < 0 && !negative_[k]) deg += 360.0;  // samples in 0-360 keep their convention
    return static_cast<float>(deg);
  };
  out.angles[0] = floatSums_[0] / fn;
  out.angles[1] = circular(0);
  out.angles[2] = circular(2);
  out.angles[3] = circular(1);
  out.motorPosition = anglePos;
  // The raw readings' means are the sums of RAWRATEGX .. RAWAZ already taken.
  double mean[6] = {};
  for (int i = 0; i < 6; ++i) mean[i] = sums_[6 + i] / n;
  double sq[6] = {};
  for (const auto& r : raw_) {
    for (int i = 0; i < 6; ++i) sq[i] += (r[static_cast<std::size_t>(i)] - mean[i]) * (r[static_cast<std::size_t>(i)] - mean[i]);
  }
  for (int i = 0; i < 6; ++i) out.rawNoise[i] = std::sqrt(sq[i] / (n - 1));
  out.sampleCount = static_cast<std::uint32_t>(raw_.size());
  log.noise(out.rawNoise);
  return true;
}

}  // namespace kvr::tarnc
