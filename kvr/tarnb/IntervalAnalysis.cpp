#include "kvr/tarnb/IntervalAnalysis.h"

#include <array>
#include <cmath>
#include <vector>

#include "common/datafile/CFileManager.h"
#include "common/records/ChannelStruct.h"
#include "toolslib/GyroMath.h"

namespace kvr::tarnb {

namespace {

using tools::gyro::kPi;
constexpr double kEarthRate = tools::gyro::kEarthRateDegPerHour;
constexpr std::size_t kBlockFloats = 10000;

double wrapTo(double deg, bool signedRange) { return signedRange ? tools::gyro::wrap180(deg) : tools::gyro::wrap360(deg); }

// The quantities in row order of the table of channels.
enum Q { kAx, kAy, kAz, kGx, kGy, kDevi, kHstf, kTemp, kQuantities };

struct Source {
  const char* mnemonic;  // nullptr: the value 0 for every row
  double threshold;
};

std::array<Source, kQuantities> sourcesFor(AnalysisMode mode) {
  std::array<Source, kQuantities> s{{{"ACCX", 0.005},
                                     {"ACCY", 0.005},
                                     {"ACCZ", 0.005},
                                     {"RATEX", 6.5},
                                     {"RATEY", 6.5},
                                     {"DEVI", 0.25},
                                     {"HSTF", 0.25},
                                     {"TEMPG", 0.5}}};
  if (mode == AnalysisMode::Raw) {
    s[kAx] = {"RAWAX", 5.0};
    s[kAy] = {"RAWAY", 5.0};
    s[kAz] = {nullptr, 5.0};
  }
  if (mode != AnalysisMode::Normal) {
    s[kGx] = {"RAWRATEGX", 0.2};
    s[kGy] = {"RAWRATEGY", 0.2};
  }
  return s;
}

std::optional<std::uint64_t> columnOf(const records::ChannelList& channels, const std::string& mnemonic) {
  for (const auto& c : channels)
    if (c.mnemonic == mnemonic) return c.column();
  return std::nullopt;
}

}  // namespace

void FilteredMean::add(double x, bool filter) {
  ++n_;
  if (std::isnan(x)) x = mean_;
  if (circular_) {
    if (n_ == 1) {
      signedRange_ = x < 0;
    } else {
      x = mean_ + wrapTo(x - mean_, true);  // the same angle, nearest the mean
    }
  }
  if (filter && n_ > 5 && std::fabs(x - mean_) > threshold_) x = mean_;
  mean_ = (static_cast<double>(n_ - 1) * mean_ + x) / static_cast<double>(n_);
}

double FilteredMean::mean() const {
  if (!circular_) return mean_;
  const double angle = wrapTo(mean_, signedRange_);
  // A hair below a full turn is shown as 0, not as 360.00.
  return !signedRange_ && angle > 359.995 ? angle - 360.0 : angle;
}

Heading stationHeading(double rateX, double rateY, double ax, double ay, double az, double latitudeDeg) {
  const double l = latitudeDeg * kPi / 180.0;
  const double gx = rateX / kEarthRate, gy = rateY / kEarthRate;
  const double gz = -(std::sin(l) + ax * gx + ay * gy) / az;
  const double d = az * std::sin(l) + gz;
  double azimuth = std::atan((ax * gy - ay * gx) / d);
  if (d > 0) azimuth += kPi;
  if (azimuth < 0) azimuth += 2 * kPi;
  const double f = ax * std::sin(l) + gx;
  double toolface = std::atan((ay * gz - az * gy) / f);
  if (f < 0) toolface += kPi;
  if (toolface < 0) toolface += 2 * kPi;
  return {azimuth * 180.0 / kPi, toolface * 180.0 / kPi};
}

std::variant<AnalysisResult, AnalysisFailure> analyseInterval(FileSystem& fs, const std::filesystem::path& file,
                                                              double startDepth, const AnalysisRequest& request) {
  if (request.start > request.end) return AnalysisFailure{kStartAfterEnd};
  CFileManager files(fs);
  records::ToolList tools;
  records::ChannelList channels;
  DataFileSummary summary;
  if (files.openInput(file) != 0 || files.readToolList(tools) != 0 || files.readChannelList(channels) != 0 ||
      files.summaryCheck(kSectionRows, summary) != 0) {
    return AnalysisFailure{"Error while trying to read static data from the file"};
  }
  const double start = std::max<double>(request.start, summary.firstValue);
  const double end = std::min<double>(request.end, summary.lastValue);

  AnalysisResult r;
  r.depth = startDepth;
  r.latitude = request.latitudeDeg;
  const auto sources = sourcesFor(request.mode);
  std::array<std::optional<std::uint64_t>, kQuantities> columns{};
  for (int q = 0; q < kQuantities; ++q) {
    if (!sources[q].mnemonic) continue;
    columns[q] = columnOf(channels, sources[q].mnemonic);
    if (q == kHstf && !columns[q]) {
      columns[q] = columnOf(channels, "RB");
      r.rbChannel = true;
    }
    if (!columns[q] || *columns[q] >= summary.rowWidth)
      return AnalysisFailure{std::string("The file has no \"") + sources[q].mnemonic + "\" channel to analyse."};
  }
  std::vector<FilteredMean> means;
  for (int q = 0; q < kQuantities; ++q) means.emplace_back(sources[q].threshold, q == kHstf);

  const std::size_t width = summary.rowWidth;
  std::vector<float> block(std::max<std::size_t>(width, kBlockFloats / width * width));
  while (true) {
    const std::size_t rows = files.readWholeRows(block, width);
    if (rows == 0) break;
    for (std::size_t i = 0; i < rows; ++i) {
      const float* row = block.data() + i * width;
      const double t = row[0];
      if (!(t >= start && t <= end)) continue;
      ++r.rows;
      for (int q = 0; q < kQuantities; ++q) {
        const double x = columns[q] ? static_cast<double>(row[*columns[q]]) : 0.0;
        means[q].add(x, request.filter);
      }
    }
  }
  if (r.rows == 0) return AnalysisFailure{kNoRows};
  r.xg = means[kAx].mean();
  r.yg = means[kAy].mean();
  r.zg = means[kAz].mean();
  r.rateX = means[kGx].mean();
  r.rateY = means[kGy].mean();
  r.deviation = means[kDevi].mean();
  r.highSideToolface = means[kHstf].mean();
  r.temperature = means[kTemp].mean();
  if (request.mode == AnalysisMode::Normal) {
    if (r.zg == 0) return AnalysisFailure{kNoVerticalAcceleration};
    const Heading h = stationHeading(r.rateX, r.rateY, r.xg, r.yg, r.zg, request.latitudeDeg);
    r.azimuth = h.azimuth;
    r.toolface = h.toolface;
  }
  return r;
}

}  // namespace kvr::tarnb
