#include "kvr/tarnc/SurveyReport.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "platform/TextFormat.h"
#include "toolslib/GyroMath.h"

namespace kvr::tarnc {

namespace {

using tools::gyro::kPi;

using platform::format;

std::string commonHeader(const ReportHeader& h) {
  const double l = h.latitude;
  const int d = static_cast<int>(std::trunc(l));
  const int m = static_cast<int>(std::trunc((l - d) * 60));
  const int s = static_cast<int>(std::trunc(((l - d) * 60 - m) * 60));
  return format("Well Name    : %s\r\n", h.wellName.c_str()) + format("Well Latitude: %d %d' %d\"\r\n\r\n", d, m, s) +
         format("Calibration Date   : %s\r\n", h.calibrationDate.c_str()) +
         format("IMU Serial Number  : %s\r\n", h.serialNumber.c_str()) +
         format("Calibration Version: %s\r\n\r\n", h.calibrationVersion.c_str());
}

std::string positionLine(const char* lead, int station, int file, const PositionAverage& p) {
  std::string s = lead + format("%03i    ", station) + (file < 0 ? std::string("-NA-") : format("_%03i", file));
  s += format("    %4.i     % 7.2f   % 7.2f   % 7.2f   % 7.4f   % 7.4f   % 7.4f   % 7.4f   % 7.4f   % 7.4f",
           static_cast<int>(p.motorPosition), p.rates[0], p.rates[1], p.rates[2], p.acc[0], p.acc[1], p.acc[2],
           p.rawRates[0], p.rawRates[1], p.rawRates[2]);
  // Temperatures in the order TEMPGXY, TEMPGZ, TEMPAX, TEMPAY, TEMPAZ; noise accelerations first.
  s += format("   % 8.2f   % 8.2f   % 8.2f   %6.1f   %6.1f   %6.1f   %6.1f   %6.1f", p.rawAcc[0], p.rawAcc[1], p.rawAcc[2],
           static_cast<double>(p.temps[3]), static_cast<double>(p.temps[4]), static_cast<double>(p.temps[0]),
           static_cast<double>(p.temps[1]), static_cast<double>(p.temps[2]));
  s += format("   %7.4f   %7.4f   %7.4f   %7.4f   %7.4f   %7.4f\r\n", p.rawNoise[3], p.rawNoise[4], p.rawNoise[5],
           p.rawNoise[0], p.rawNoise[1], p.rawNoise[2]);
  return s;
}

}  // namespace

std::filesystem::path reportPath(const std::filesystem::path& wellFolder, int index, const char* extension) {
  const std::string name =
      index == 0 ? std::string("TARNC_SurveyReport") + extension : format("TARNC_SurveyReport_%i", index) + extension;
  return wellFolder / name;
}

std::filesystem::path rawPathOf(const std::filesystem::path& txt) {
  auto raw = txt;
  raw.replace_extension(".raw");
  return raw;
}

std::string surveyHeader(const ReportHeader& h) {
  return "Northseeking Gyroscopic Survey Report - version: 1.0\r\n\r\n" + commonHeader(h) +
         "Station     File     Depth     Deviation    Azimuth      HSTF       GYROTF      Quality     Time        Date  "
         "     Duration\r\n"
         "  ##         ##        m           \xEF\xBF\xBD           \xEF\xBF\xBD           \xEF\xBF\xBD           "
         "\xEF\xBF\xBD           %      HH:MM:SS    DD/MM/YYYY     Sec\r\n";
}

std::string rawHeader(const ReportHeader& h) {
  const char* deg = "\xEF\xBF\xBD";
  return "Northseeking Gyroscopic RAW DATA Survey Report - version: 1.0\r\n\r\n" + commonHeader(h) +
         "            Station   File   MotorPos   RateX     RateY     RateZ    AccelX    AccelY    AccelZ     RawGX     "
         "RawGY     RawGZ      RawAX      RawAY      RawAZ   TempGXY   TempGZ   TempAX   TempAY   TempAZ   NoiseAx   "
         "NoiseAy   NoiseAz   NoiseGx   NoiseGy   NoiseGz\r\n" +
         format("              ##       ##       ##       %s/h       %s/h       %s/h       G's       G's       G's       "
             "mV        mV        mV         mV         mV         mV       %sC        %sC       %sC       %sC       "
             "%sC       mV        mV        mV        mV        mV        mV\r\n",
             deg, deg, deg, deg, deg, deg, deg, deg);
}

std::string stationLine(const StationLine& s) {
  std::string line = format("%03i         ", s.station) + (s.file < 0 ? std::string("-NA-") : format("_%03i", s.file));
  line += format("   %8.1f      %6.2f      %6.2f      %6.2f      %6.2f      %5.1f    %02d:%02d:%02d    %02d/%02d/%04d    %5.1f",
              s.depth, s.devi, s.azi, s.hstf, s.gyrotf, s.quality, s.hour, s.minute, s.second, s.day, s.month, s.year,
              s.duration);
  if (s.muleshoeOffset > 0) line += format(" *** MULESHOE TOOLFACE OFFSET APPLIED: %3.1f [DEG]", s.muleshoeOffset);
  return line + "\r\n";
}

std::string rawBlock(const RawBlock& b) {
  const PositionAverage& p = b.first;
  const PositionAverage& q = b.second;
  const double wx = (p.rates[0] - q.rates[0]) * 0.5 / tools::gyro::kEarthRateDegPerHour;
  const double wy = (p.rates[1] - q.rates[1]) * 0.5 / tools::gyro::kEarthRateDegPerHour;
  const double wz = -(std::sin(b.latitude * kPi / 180) + p.acc[0] * wx + p.acc[1] * wy) / p.acc[2];
  const double earth = std::sqrt(wx * wx + wy * wy + wz * wz);
  const double gravity = std::sqrt(p.acc[0] * p.acc[0] + p.acc[1] * p.acc[1] + p.acc[2] * p.acc[2]);
  auto deg = [](double r) { return r * 180 / kPi; };
  return positionLine("POSITION   0: ", b.station, b.file, p) + positionLine("POSITION 180: ", b.station, b.file, q) +
         format("INERTIAL VECTOR CALCULATIONS: Earth Rate: % 7.3f [\xEF\xBF\xBD/h]  Gravity % 7.4f [Gs]\r\n", earth,
             gravity) +
         format("CONTINUOS MODE CORRECTED ANGLES: (Last Survey File: %s)\r\nTotal: % 5.1f\xEF\xBF\xBD\r\nDEVI: % "
             "5.1f\xEF\xBF\xBD\r\nHAZI: % 5.1f\xEF\xBF\xBD\r\nHSTF: % 5.1f\xEF\xBF\xBD\r\nTFACE: % "
             "5.1f\xEF\xBF\xBD\r\n\r\n",
             b.lastSurvey.c_str(), deg(b.reset[0]), deg(b.reset[1]), deg(b.reset[2]), deg(b.reset[3]), deg(b.reset[4]));
}

// ---- reading back

namespace {

class Tokens {
 public:
  explicit Tokens(std::string_view text, std::size_t at) : t_(text), p_(at) {}
  std::optional<std::string_view> next() {
    while (p_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[p_]))) ++p_;
    if (p_ >= t_.size()) return std::nullopt;
    const std::size_t start = p_;
    while (p_ < t_.size() && !std::isspace(static_cast<unsigned char>(t_[p_]))) ++p_;
    return t_.substr(start, p_ - start);
  }
  bool atEnd() {
    while (p_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[p_]))) ++p_;
    return p_ >= t_.size();
  }
  std::size_t position() const { return p_; }
  void seek(std::size_t p) { p_ = p; }
  void skipLine() {
    while (p_ < t_.size() && t_[p_] != '\n' && t_[p_] != '\r') ++p_;
  }

 private:
  std::string_view t_;
  std::size_t p_;
};

bool number(std::optional<std::string_view> token, double& out) {
  if (!token || token->empty() || token->size() > 60) return false;
  const std::string s(*token);
  char* end = nullptr;
  out = std::strtod(s.c_str(), &end);
  return end == s.c_str() + s.size() && std::isfinite(out);
}

// The line starting at p (without its end) and where the next one starts; lines end in LF, CR LF or CR.
std::string_view lineAt(std::string_view t, std::size_t p, std::size_t& next) {
  std::size_t e = p;
  while (e < t.size() && t[e] != '\n' && t[e] != '\r') ++e;
  next = e;
  if (next < t.size() && t[next] == '\r') ++next;
  if (next < t.size() && t[next] == '\n' && (next == e || t[next - 1] == '\r')) ++next;
  return t.substr(p, e - p);
}

}  // namespace

bool parseSurveyReport(std::string_view text, std::vector<LoadedStation>& rows, bool* header) {
  std::size_t p = 0;
  std::size_t body = std::string_view::npos;
  while (p < text.size()) {
    std::size_t next = 0;
    const std::string_view line = lineAt(text, p, next);
    bool station = line.size() >= 7;
    for (std::size_t i = 0; station && i < 7; ++i) {
      station = std::tolower(static_cast<unsigned char>(line[i])) == "station"[i];
    }
    if (station && next < text.size()) {
      std::size_t after = 0;
      if (lineAt(text, next, after).substr(0, 4) == "  ##") {
        body = after;
        break;
      }
    }
    if (next == p) break;
    p = next;
  }
  if (header) *header = body != std::string_view::npos;
  if (body == std::string_view::npos) return false;
  Tokens tokens(text, body);
  while (!tokens.atEnd()) {
    LoadedStation r;
    double values[8] = {};
    auto stationToken = tokens.next();
    auto fileToken = tokens.next();
    if (!number(stationToken, values[0]) || !fileToken) return false;
    for (int i = 2; i < 8; ++i) {
      if (!number(tokens.next(), values[i])) return false;
    }
    for (int i = 0; i < 3; ++i) {
      if (!tokens.next()) return false;  // time, date, duration
    }
    if (*fileToken == "-NA-") {
      values[1] = -1;
    } else if (!number(fileToken->substr(1), values[1])) {
      return false;
    }
    const std::size_t before = tokens.position();
    auto note = tokens.next();
    if (note && note->front() == '*') {
      tokens.skipLine();
      r.muleshoe = true;
    } else {
      tokens.seek(before);
    }
    for (int i = 0; i < 8; ++i) r.row.v[static_cast<std::size_t>(i)] = values[i];
    r.row.status() = kDone;
    rows.push_back(r);
  }
  return true;
}

// ---- the open pair

bool ReportPair::openBoth(const std::filesystem::path& txt, const char* mode) {
  close();
  std::FILE* t = std::fopen(txt.c_str(), mode);
  if (!t) return false;
  std::FILE* r = std::fopen(rawPathOf(txt).c_str(), mode);
  if (!r) {
    std::fclose(t);
    return false;
  }
  txt_ = t, raw_ = r, path_ = txt;
  return true;
}

bool ReportPair::create(const std::filesystem::path& txt, const ReportHeader& header) {
  if (!openBoth(txt, "wbx")) return false;
  if (!write(txt_, surveyHeader(header)) || !write(raw_, rawHeader(header))) {
    close();
    return false;
  }
  return true;
}

bool ReportPair::openExisting(const std::filesystem::path& txt) {
  std::error_code ec;
  return std::filesystem::is_regular_file(txt, ec) && openBoth(txt, "ab");
}

void ReportPair::close() {
  if (txt_) std::fclose(txt_);
  if (raw_) std::fclose(raw_);
  txt_ = raw_ = nullptr;
}

bool ReportPair::write(std::FILE* f, const std::string& text) {
  if (!f) return false;
  return std::fwrite(text.data(), 1, text.size(), f) == text.size() && std::fflush(f) == 0;
}

}  // namespace kvr::tarnc
