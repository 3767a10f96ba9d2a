#include "kvr/utilities/LasWriter.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "kvr/utilities/LasFilter.h"
#include "kvr/utilities/LasHeader.h"
#include "kvr/utilities/LasNumber.h"

namespace kvr::utilities {

namespace {
constexpr std::size_t kBufferBytes = 1 << 20;
constexpr std::size_t kRowBlockFloats = 1 << 18;  // 1 MB of rows per read
constexpr float kSpikeLimit = 250.0f;  // m/min

// The spike limit in the line speed channel's own unit: 250 m/min is 49,212 ft/h.
float spikeLimitIn(const std::string& unit) {
  std::string u;
  for (char ch : unit) u += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return u.rfind("ft", 0) == 0 ? static_cast<float>(kSpikeLimit / 0.3048 * 60.0) : kSpikeLimit;
}
constexpr std::size_t kWrapWidth = 80;

// Recorded depths are floats: an index counts as reached when the row lies within a few
// float steps of it, so 1000.1 recorded as 1000.0999756 still serves the line for 1000.1;
// never more than a quarter step, whatever the magnitude.
double tolerance(double v, double step) { return std::min(std::max(std::fabs(v), 1.0) * 2.5e-7, std::fabs(step) / 4); }

// The merged CCL value: of four readings truncated to integers, the one farthest from 127;
// a tie keeps the earlier. Readings that are no finite integer take no part.
bool mergeCcl(const float* row, std::uint32_t column, std::uint32_t width, float& out) {
  bool any = false;
  long best = 0;
  for (std::uint32_t i = column; i < column + 4 && i < width; ++i) {
    const float v = row[i];
    if (!std::isfinite(v) || std::fabs(v) > 2e9f) continue;
    const long t = static_cast<long>(v);
    if (!any || std::labs(t - 127) > std::labs(best - 127)) best = t;
    any = true;
  }
  out = static_cast<float>(best);
  return any;
}
}  // namespace

LasWriter::LasWriter(const LasSource& source, const LasJob& job) : source_(source), job_(job), grid_(source, job) {
  const std::string& depthName = source.channels.empty() ? std::string() : source.channels.front().mnemonic;
  for (std::size_t c : job.channels) {
    const auto& ch = source.channels[c];
    Kind k = Kind::Plain;
    if (source.station() && ch.mnemonic == depthName)
      k = Kind::StartDepth;  // column 0 holds time in station logs
    else if (ch.mnemonic == "LSPD")
      k = Kind::LineSpeed;
    else if (job.mergeCcl && ch.mnemonic == "CCL1")
      k = Kind::MergedCcl;
    columns_.push_back(Column{static_cast<std::uint32_t>(ch.column()), k});  // checked inside the row on loading
    if (k == Kind::LineSpeed) columns_.back().spikeLimit = spikeLimitIn(ch.unit);
  }
  separator_ = job.tab && !job.strictLas2 ? "\t" : std::string(static_cast<std::size_t>(std::clamp(job.spaces, 1, 10)), ' ');
  buffer_.resize(kBufferBytes);
}

char* LasWriter::writeNull(char* p) const {
  if (job_.strictLas2) {
    const std::size_t n = std::strlen(kStrictNullText);
    std::memcpy(p, kStrictNullText, n);
    return p + n;
  }
  return las::formatFixed(p, kLasNullValue, job_.digits);
}

char* LasWriter::writeValue(char* p, Column& c, const float* row) {
  float v = 0;
  switch (c.kind) {
    case Kind::Plain: v = row[c.column]; break;
    case Kind::StartDepth: v = source_.startDepth; break;
    case Kind::LineSpeed:
      v = row[c.column];
      if (std::fabs(v) > c.spikeLimit)
        v = c.lastGoodSpeed;
      else if (std::isfinite(v))
        c.lastGoodSpeed = v;
      break;
    case Kind::MergedCcl:
      if (!mergeCcl(row, c.column, source_.rowWidth, v)) return writeNull(p);
      break;
  }
  // A missing reading (not a number) is written as the null value readers know.
  if (!std::isfinite(v)) return writeNull(p);
  return las::formatFixed(p, v, job_.digits);
}

char* LasWriter::writeLine(char* p, std::int64_t line, const float* row) {
  p = grid_.write(p, line);
  for (auto& c : columns_) {
    std::memcpy(p, separator_.data(), separator_.size());
    p = writeValue(p + separator_.size(), c, row);
  }
  *p++ = '\r';
  *p++ = '\n';
  return p;
}

// LAS 2.0 wrapped layout: the index alone on its line, then the values on lines of at most
// 80 characters.
char* LasWriter::writeWrappedLine(char* p, std::int64_t line, const float* row) {
  p = grid_.write(p, line);
  *p++ = '\r';
  *p++ = '\n';
  if (columns_.empty()) return p;
  char* lineStart = p;
  char value[las::kFloatTextRoom];
  for (auto& c : columns_) {
    const auto n = static_cast<std::size_t>(writeValue(value, c, row) - value);
    if (p != lineStart) {
      if (static_cast<std::size_t>(p - lineStart) + separator_.size() + n > kWrapWidth) {
        *p++ = '\r';
        *p++ = '\n';
        lineStart = p;
      } else {
        std::memcpy(p, separator_.data(), separator_.size());
        p += separator_.size();
      }
    }
    std::memcpy(p, value, n);
    p += n;
  }
  *p++ = '\r';
  *p++ = '\n';
  return p;
}

bool LasWriter::flush(TextOutput& out, char*& p, LasWriteResult& r) {
  const auto n = static_cast<std::size_t>(p - buffer_.data());
  p = buffer_.data();
  if (n == 0) return true;
  if (!out.write(std::string_view(buffer_.data(), n))) return false;
  r.bytesWritten += n;
  return true;
}

LasWriteResult LasWriter::run(CFileManager& input, TextOutput& output, const Progress& progress) {
  LasWriteResult result;
  // The header with the planned grid; rebuilt with the last line written at the end.
  const std::string planned = buildHeader(source_, job_, grid_, -1);
  if (!output.write(planned)) return LasWriteResult{false, 0, 0, 0};
  result.bytesWritten = planned.size();

  const std::uint32_t width = source_.rowWidth;
  std::vector<std::uint32_t> filtered;
  for (const auto& name : job_.filter.channels) {
    for (std::size_t c : job_.channels) {
      if (source_.channels[c].mnemonic == name) {
        filtered.push_back(static_cast<std::uint32_t>(source_.channels[c].column()));
        break;
      }
    }
  }
  MovingAverage filter(job_.filter.active ? filtered : std::vector<std::uint32_t>{},
                       filterWindow(job_.filter, source_.english(), source_.station()));

  const double dir = job_.step < 0 ? -1.0 : 1.0;
  const double stopAt = job_.finalValue() + job_.step;
  const std::size_t lineRoom =
      las::kDoubleTextRoom + 4 + columns_.size() * (las::kFloatTextRoom + separator_.size() + 2);
  std::vector<float> rows(std::max<std::size_t>(kRowBlockFloats / std::max<std::uint32_t>(width, 1), 1) * width);
  char* p = buffer_.data();
  char* const end = buffer_.data() + buffer_.size();
  std::int64_t k = 0;
  double v = job_.start;
  bool done = job_.lines < 0 || width == 0;
  while (!done) {
    const std::size_t got = input.readWholeRows(rows, width);
    if (got == 0) break;
    result.rowsRead += got;
    for (std::size_t i = 0; i < got && !done; ++i) {
      float* row = rows.data() + i * width;
      if (dir * (row[0] - stopAt) >= -tolerance(stopAt, job_.step)) {
        done = true;
        break;
      }
      if (filter.enabled()) filter.apply(row);
      const double at = row[0];
      // The same row serves every index it has reached, so a gap repeats it.
      while (k <= job_.lines && dir * (at - v) >= -tolerance(v, job_.step)) {
        if (static_cast<std::size_t>(end - p) < lineRoom && !flush(output, p, result)) {
          result.ok = false;
          return result;
        }
        p = job_.wrapped ? writeWrappedLine(p, k, row) : writeLine(p, k, row);
        ++k;
        v = job_.start + static_cast<double>(k) * job_.step;
        if (progress) progress(k);
      }
      if (k > job_.lines) done = true;
    }
  }
  result.linesWritten = k;
  if (!flush(output, p, result)) {
    result.ok = false;
    return result;
  }
  // STOP is the index of the last line written. Same length: patched where it stands.
  const std::string actual = buildHeader(source_, job_, grid_, k > 0 ? k - 1 : -1);
  if (actual != planned) {
    const bool fixed = actual.size() == planned.size() ? output.patch(0, actual)
                                                       : output.replacePrefix(planned.size(), actual);
    if (!fixed) result.ok = false;
    result.bytesWritten = result.bytesWritten - planned.size() + actual.size();
  }
  return result;
}

}  // namespace kvr::utilities
