#include "toolslib/tarnc/SensorCalibration.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tools::tarnc {
namespace {

// Lines of a text in any of the three line-end conventions.
std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::vector<std::string_view> words(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    std::size_t j = i;
    while (j < line.size() && line[j] != ' ' && line[j] != '\t') ++j;
    if (j > i) out.push_back(line.substr(i, j - i));
    i = j;
  }
  return out;
}

bool toDouble(std::string_view w, double& v) {
  const auto r = std::from_chars(w.data(), w.data() + w.size(), v);
  return r.ec == std::errc() && r.ptr == w.data() + w.size() && std::isfinite(v);
}
bool toInt(std::string_view w, int& v) {
  const auto r = std::from_chars(w.data(), w.data() + w.size(), v);
  return r.ec == std::errc() && r.ptr == w.data() + w.size();
}

class Parser {
 public:
  explicit Parser(std::string_view text) : lines_(splitLines(text)) {}

  SctResult run() {
    SensorCalibration c;
    if (!header()) return fail();
    bool have[11] = {};
    while (next()) {
      const auto& k = w_[0];
      if (k == "END") return finish(c, have);
      if (k == "SN") { if (!text(c.serial)) return fail(); have[0] = true; }
      else if (k == "DATE") { if (!text(c.date)) return fail(); have[1] = true; }
      else if (k == "TYPE") { if (!number(c.type)) return fail(); }
      else if (k == "DTG") { if (!integer(c.dtgStep, -63, 63)) return fail(); }
      else if (k == "TURNON") { if (!integer(c.turnOn, 0, 1)) return fail(); }
      else if (k == "IMU_TILT") { if (!number(c.imuTilt)) return fail(); }
      else if (k == "IMU_DIRECTION") { if (!number(c.imuDirection)) return fail(); }
      else if (k == "ACEL_TO_MEC") { if (!matrix(c.acelToMec)) return fail(); have[2] = true; }
      else if (k == "GYRO_TO_MEC") { if (!matrix(c.gyroToMec)) return fail(); have[3] = true; }
      else if (k == "ACEL_OFFSET") { if (!table(c.acelOffset)) return fail(); have[4] = true; }
      else if (k == "ACEL_GAIN") { if (!table(c.acelGain)) return fail(); have[5] = true; }
      else if (k == "GYRO_OFFSET") { if (!table(c.gyroOffset)) return fail(); have[6] = true; }
      else if (k == "GYRO_GAIN") { if (!table(c.gyroGain)) return fail(); have[7] = true; }
      else if (k == "GYRO_GRAVITY") { if (!gravity(c.gyroGravity)) return fail(); have[8] = true; }
      else { error_ = "unknown keyword \"" + std::string(k.substr(0, 32)) + "\""; return fail(); }
    }
    error_ = "the table ends without END";
    return fail();
  }

 private:
  SctResult fail() const {
    return {std::nullopt, line_ ? "line " + std::to_string(line_) + ": " + error_ : error_};
  }

  // The next line with content; comments start with '#'.
  bool next() {
    while (index_ < lines_.size()) {
      line_ = static_cast<int>(++index_);
      w_ = words(lines_[index_ - 1]);
      if (!w_.empty() && w_[0][0] != '#') return true;
    }
    return false;
  }

  bool header() {
    if (!next() || w_.size() != 5 || lines_[index_ - 1].substr(0, kSctFirstLine.size()) != kSctFirstLine) {
      line_ = 0;
      error_ = "not a TARN-C sensor correction table";
      return false;
    }
    int version = 0;
    if (!toInt(w_[4], version) || version != kSctVersion) {
      error_ = "unsupported table version " + std::string(w_[4].substr(0, 16)) + " (this program reads version 1)";
      return false;
    }
    return true;
  }

  bool text(std::string& out) {
    const std::string_view l = lines_[index_ - 1];
    const std::size_t at = l.find(w_[0]) + w_[0].size();
    std::string_view rest = l.substr(at);
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
    if (rest.size() > 31) { error_ = "text longer than 31 characters"; return false; }
    out = std::string(rest);
    return true;
  }
  bool number(double& v) {
    if (w_.size() != 2 || !toDouble(w_[1], v)) { error_ = "one number expected after " + std::string(w_[0]); return false; }
    return true;
  }
  bool integer(int& v, int lo, int hi) {
    if (w_.size() != 2 || !toInt(w_[1], v) || v < lo || v > hi) {
      error_ = std::string(w_[0]) + " must be a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
      return false;
    }
    return true;
  }
  bool numbers(std::size_t from, double* out, std::size_t n) {
    if (w_.size() != from + n) { error_ = std::to_string(n) + " numbers expected"; return false; }
    for (std::size_t i = 0; i < n; ++i)
      if (!toDouble(w_[from + i], out[i])) { error_ = "not a number: \"" + std::string(w_[from + i].substr(0, 32)) + "\""; return false; }
    return true;
  }
  bool matrix(MATXYZ& m) {
    if (!numbers(1, m.m, 9)) return false;
    const double d = MatDet(m);
    if (!(std::fabs(d) > 0.5)) { error_ = "an alignment matrix must be close to a rotation"; return false; }
    return true;
  }
  bool rowCount(std::size_t& n) {
    int v = 0;
    if (w_.size() != 2 || !toInt(w_[1], v) || v < 1 || v > static_cast<int>(kMaxTableRows)) {
      error_ = std::string(w_[0]) + " needs a row count from 1 to " + std::to_string(kMaxTableRows);
      return false;
    }
    n = static_cast<std::size_t>(v);
    return true;
  }
  bool sorted(const double* prev, const double* t) {
    for (int k = 0; k < 3; ++k)
      if (t[k] < prev[k]) { error_ = "temperatures must rise from row to row"; return false; }
    return true;
  }
  bool table(std::vector<CARTyTEMP>& rows) {
    std::size_t n = 0;
    if (!rowCount(n)) return false;
    for (std::size_t r = 0; r < n; ++r) {
      if (!next()) { error_ = "the table ends inside a block"; return false; }
      double v[6];
      if (!numbers(0, v, 6)) return false;
      if (r && !sorted(&rows.back().Tx, v + 3)) return false;
      rows.push_back(CARTyTEMP{v[0], v[1], v[2], v[3], v[4], v[5]});
    }
    return true;
  }
  bool gravity(std::vector<GravParam>& rows) {
    std::size_t n = 0;
    if (!rowCount(n)) return false;
    for (std::size_t r = 0; r < n; ++r) {
      if (!next()) { error_ = "the table ends inside a block"; return false; }
      double v[17];
      if (!numbers(0, v, 17)) return false;
      GravParam g;
      for (int k = 0; k < 4; ++k) g.Gx[k] = v[k], g.Gy[k] = v[4 + k];
      for (int k = 0; k < 6; ++k) g.Gz[k] = v[8 + k];
      g.Tx = v[14], g.Ty = v[15], g.Tz = v[16];
      if (r && !sorted(&rows.back().Tx, &g.Tx)) return false;
      rows.push_back(g);
    }
    return true;
  }
  SctResult finish(SensorCalibration& c, const bool* have) {
    static constexpr const char* kNames[] = {"SN", "DATE", "ACEL_TO_MEC", "GYRO_TO_MEC", "ACEL_OFFSET",
                                             "ACEL_GAIN", "GYRO_OFFSET", "GYRO_GAIN", "GYRO_GRAVITY"};
    for (int i = 0; i < 9; ++i)
      if (!have[i]) { error_ = std::string(kNames[i]) + " is missing"; return fail(); }
    return {std::move(c), {}};
  }

  std::vector<std::string_view> lines_;
  std::size_t index_ = 0;
  int line_ = 0;
  std::vector<std::string_view> w_;
  std::string error_;
};

void add(std::string& out, const char* format, double v) {
  char b[40];
  std::snprintf(b, sizeof b, format, v);
  out += b;
}
void addRow(std::string& out, const double* v, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) add(out, i ? " %.17g" : "%.17g", v[i]);
  out += "\r\n";
}

}  // namespace

SctResult parseSct(std::string_view text) { return Parser(text).run(); }

std::string formatSct(const SensorCalibration& c) {
  std::string out = std::string(kSctFirstLine) + " " + std::to_string(kSctVersion) + "\r\n";
  out += "SN " + c.serial + "\r\nDATE " + c.date + "\r\n";
  out += "TYPE "; add(out, "%.17g\r\n", c.type);
  out += "DTG " + std::to_string(c.dtgStep) + "\r\nTURNON " + std::to_string(c.turnOn) + "\r\n";
  out += "IMU_TILT "; add(out, "%.17g\r\n", c.imuTilt);
  out += "IMU_DIRECTION "; add(out, "%.17g\r\n", c.imuDirection);
  out += "ACEL_TO_MEC "; addRow(out, c.acelToMec.m, 9);
  out += "GYRO_TO_MEC "; addRow(out, c.gyroToMec.m, 9);
  const std::pair<const char*, const std::vector<CARTyTEMP>*> tables[] = {
      {"ACEL_OFFSET", &c.acelOffset}, {"ACEL_GAIN", &c.acelGain}, {"GYRO_OFFSET", &c.gyroOffset}, {"GYRO_GAIN", &c.gyroGain}};
  for (const auto& [name, rows] : tables) {
    out += std::string(name) + " " + std::to_string(rows->size()) + "\r\n";
    for (const auto& r : *rows) {
      const double v[6] = {r.x, r.y, r.z, r.Tx, r.Ty, r.Tz};
      addRow(out, v, 6);
    }
  }
  out += "GYRO_GRAVITY " + std::to_string(c.gyroGravity.size()) + "\r\n";
  for (const auto& g : c.gyroGravity) {
    double v[17];
    for (int k = 0; k < 4; ++k) v[k] = g.Gx[k], v[4 + k] = g.Gy[k];
    for (int k = 0; k < 6; ++k) v[8 + k] = g.Gz[k];
    v[14] = g.Tx, v[15] = g.Ty, v[16] = g.Tz;
    addRow(out, v, 17);
  }
  out += "END\r\n";
  return out;
}

namespace {
template <class T>
void point(T*& table, int& count, std::vector<T>& rows) {
  table = rows.empty() ? nullptr : rows.data();
  count = static_cast<int>(rows.size());
}
void derive(CNavikor& n) {
  n.CalcularMatrices();
  n.GetAverage_Acel_Gain();
  n.GetAverage_Gyro_Gain();
}
}  // namespace

void pointNavikorAt(CNavikor& n, SensorCalibration& c) {
  point(n.acelOffsetTable, n.acelOffsetCount, c.acelOffset);
  point(n.acelGainTable, n.acelGainCount, c.acelGain);
  point(n.gyroOffsetTable, n.gyroOffsetCount, c.gyroOffset);
  point(n.gyroGainTable, n.gyroGainCount, c.gyroGain);
  point(n.gyroGravTable, n.gyroGravCount, c.gyroGravity);
  n.acelToMec = c.acelToMec;
  n.gyroToMec = c.gyroToMec;
  derive(n);
}

void pointNavikorAtNothing(CNavikor& n) {
  n.acelOffsetTable = n.acelGainTable = n.gyroOffsetTable = n.gyroGainTable = nullptr;
  n.gyroGravTable = nullptr;
  n.acelOffsetCount = n.acelGainCount = n.gyroOffsetCount = n.gyroGainCount = n.gyroGravCount = 0;
  n.acelToMec = n.gyroToMec = MatrizUnitaria();
  derive(n);
}

}  // namespace tools::tarnc
