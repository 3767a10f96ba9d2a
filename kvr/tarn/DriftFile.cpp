#include "kvr/tarn/DriftFile.h"

#include <cmath>
#include <cstdio>

#include "common/presentation/TextCursor.h"

namespace kvr::tarn {

namespace {

constexpr std::size_t kMaxLine = 512;
constexpr char kAxes[3] = {'X', 'Y', 'Z'};

// The lines, each cut just past the longest a measurement writes (such a line is refused).
std::vector<std::string> lines(std::string_view text) {
  std::vector<std::string> out;
  presentation::TextCursor cursor(text);
  while (!cursor.atEnd()) {
    const std::string_view line = cursor.line();
    out.emplace_back(line.substr(0, kMaxLine + 1));
  }
  return out;
}

bool blank(const std::string& s) { return s.find_first_not_of(" \t") == std::string::npos; }

bool headLine(const std::string& s, DriftMeasurement& m) {
  int used = -1;
  const int n = std::sscanf(s.c_str(), "Depth: %lf, Time: %d:%d:%d, Duration: %d, Frame No: %ld%n", &m.depth, &m.hour,
                            &m.minute, &m.second, &m.durationMinutes, &m.frame, &used);
  return n == 6 && used >= 0 && blank(s.substr(static_cast<std::size_t>(used))) && std::isfinite(m.depth);
}

bool axisLine(const std::string& s, char axis, double& offset, double& drift) {
  char name = 0;
  int used = -1;
  const int n = std::sscanf(s.c_str(), "GYRO %c Offset = %lf, Drift = %lf deg/h%n", &name, &offset, &drift, &used);
  return n == 3 && name == axis && used >= 0 && blank(s.substr(static_cast<std::size_t>(used))) && std::isfinite(offset) &&
         std::isfinite(drift);
}

}  // namespace

std::string formatDriftMeasurement(const DriftMeasurement& m) {
  char s[kMaxLine];
  std::snprintf(s, sizeof s, "Depth: %f, Time: %02d:%02d:%02d, Duration: %d, Frame No: %ld\n", m.depth, m.hour, m.minute,
                m.second, m.durationMinutes, m.frame);
  std::string out = s;
  for (int a = 0; a < 3; ++a) {
    std::snprintf(s, sizeof s, "GYRO %c Offset = %f, Drift = %f deg/h\n", kAxes[a], m.offset[static_cast<std::size_t>(a)],
                  m.drift[static_cast<std::size_t>(a)]);
    out += s;
  }
  return out;
}

DriftFileRead parseDriftFile(std::string_view text) {
  DriftFileRead r;
  const auto all = lines(text);
  std::size_t i = 0;
  auto next = [&]() -> const std::string* {
    while (i < all.size() && blank(all[i])) ++i;
    return i < all.size() ? &all[i++] : nullptr;
  };
  while (const std::string* head = next()) {
    if (r.measurements.size() == kMaxDriftMeasurements) {
      r.error = kTooManyDriftPoints;
      return r;
    }
    DriftMeasurement m;
    if (head->size() > kMaxLine || !headLine(*head, m)) {
      r.error = "Line " + std::to_string(i) + " is not a drift measurement's first line.";
      return r;
    }
    for (int a = 0; a < 3; ++a) {
      const std::string* line = next();
      const auto k = static_cast<std::size_t>(a);
      if (!line || line->size() > kMaxLine || !axisLine(*line, kAxes[a], m.offset[k], m.drift[k])) {
        r.error = "Line " + std::to_string(i) + " is not the GYRO " + kAxes[a] + " line of a drift measurement.";
        return r;
      }
    }
    r.measurements.push_back(m);
  }
  return r;
}

std::array<double, 3> offsetsAtFrame(const std::vector<DriftMeasurement>& ms, double frame) {
  if (ms.empty()) return {};
  if (frame <= static_cast<double>(ms.front().frame)) return ms.front().offset;
  for (std::size_t k = 1; k < ms.size(); ++k) {
    const double f0 = static_cast<double>(ms[k - 1].frame), f1 = static_cast<double>(ms[k].frame);
    if (frame <= f1 && f1 > f0) {
      const double w = (frame - f0) / (f1 - f0);
      std::array<double, 3> out{};
      for (std::size_t a = 0; a < 3; ++a) out[a] = ms[k - 1].offset[a] + w * (ms[k].offset[a] - ms[k - 1].offset[a]);
      return out;
    }
  }
  return ms.back().offset;
}

}  // namespace kvr::tarn
