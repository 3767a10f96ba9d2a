#include "kvr/tarnc/SessionFiles.h"

#include <array>
#include <cstdio>
#include <system_error>

#include "platform/TextFormat.h"
#include "toolslib/GyroMath.h"

namespace kvr::tarnc {

namespace {

constexpr const char* kEol = "\r\n";
constexpr double kToDeg = tools::gyro::kRadToDeg;

bool appendLine(const std::filesystem::path& file, const std::string& text) {
  std::FILE* f = std::fopen(file.c_str(), "ab");
  if (!f) return false;
  const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

std::string joined(std::initializer_list<double> values) {
  std::string s;
  for (double v : values) {
    if (!s.empty()) s += ',';
    s += sixDigits(v);
  }
  return s;
}

}  // namespace

std::string sixDigits(double v) { return platform::format("%g", v); }

std::filesystem::path SessionEventLog::pathOf(const std::filesystem::path& sessionFolder, unsigned session) {
  return sessionFolder / "Output" / ("Session_" + std::to_string(session) + ".csv");
}

bool SessionEventLog::CreateSessionLog(const std::filesystem::path& sessionFolder, unsigned session) {
  if (sessionFolder.empty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(sessionFolder / "Output", ec);
  if (ec) return false;
  // A log of an earlier run with the same number keeps its rows: the header goes only into a new file.
  const auto file = pathOf(sessionFolder, session);
  if (std::filesystem::exists(file, ec)) return true;
  return appendLine(file, std::string("Tiempo,Tipo,Devi,Azi,Hstf,Tf,Qc,Flag") + kEol);
}

bool SessionEventLog::AppendSessionEvent(const std::filesystem::path& sessionFolder, unsigned session, double time,
                                         const std::string& name) {
  if (sessionFolder.empty()) return false;
  return appendLine(pathOf(sessionFolder, session), sixDigits(time) + ",0,0,0,0,0,0,0,0," + name + kEol);
}

bool SessionEventLog::AppendStationEvent(const std::filesystem::path& sessionFolder, unsigned session, double time,
                                         const std::string& name, unsigned kind, double devi, double azi, double hstf,
                                         double tf, double qc, unsigned pos0, unsigned pos180) {
  if (sessionFolder.empty()) return false;
  if (name == "END_STATION") time += 5.0;
  const std::string line = sixDigits(time) + ',' + std::to_string(kind) + ',' + joined({devi, azi, hstf, tf, qc}) + ',' +
                           std::to_string(pos0) + ',' + std::to_string(pos180) + ',' + name + kEol;
  return appendLine(pathOf(sessionFolder, session), line);
}

RawDataLog::RawDataLog(std::filesystem::path documentsFolder) {
  if (documentsFolder.empty()) return;
  const auto folder = documentsFolder / "BRANTHOLM TECHNOLOGIES" / "KVR" / "Logs";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (!ec) path_ = folder / "rawdata_log.csv";
}

void RawDataLog::append(const std::string& text) {
  if (!path_.empty()) appendLine(path_, text);
}

void RawDataLog::header() { append(std::string("rawgx,rawgy,rawgz,rawax,raway,rawaz") + kEol); }

void RawDataLog::samples(const std::vector<std::array<double, 6>>& rows) {
  std::string text;
  for (const auto& r : rows) text += joined({r[0], r[1], r[2], r[3], r[4], r[5]}) + kEol;
  if (!text.empty()) append(text);
}

void RawDataLog::noise(const double (&n)[6]) {
  append(std::string("NOISE.RAWGX,NOISE.RAWGY,NOISE.RAWGZ,NOISE.RAWAX,NOISE.RAWAY,NOISE.RAWAZ") + kEol +
         joined({n[0], n[1], n[2], n[3], n[4], n[5]}) + kEol);
}

void RawDataLog::station(const RawLogPosition& first, const RawLogPosition& second, const ESTACIONout& result) {
  const char* columns =
      "ACEL.X,ACEL.Y,ACEL.Z,ACELRUIDO.X,ACELRUIDO.Y,ACELRUIDO.Z,GYRO.X,GYRO.Y,GYRO.Z,GYRORUIDO.X,GYRORUIDO.Y,"
      "GYRORUIDO.Z,ROTPOS,SAMPLES";
  auto position = [&](const char* name, const RawLogPosition& p) {
    const ESTACIONin& s = p.input;
    return std::string(name) + kEol + columns + kEol +
           joined({s.acel.x, s.acel.y, s.acel.z, s.acelNoise.x, s.acelNoise.y, s.acelNoise.z, s.gyro.x, s.gyro.y,
                   s.gyro.z, s.gyroNoise.x, s.gyroNoise.y, s.gyroNoise.z, p.angleDeg}) +
           ',' + std::to_string(p.samples) + kEol;
  };
  const auto& a = result.attitude;
  append(position("STA0", first) + position("STA180", second) + "CALCULO DLL:" + kEol + "Devi,ACI,HSTF,TF,QC" + kEol +
         joined({a.Devi * kToDeg, a.Azi * kToDeg, a.Hstf * kToDeg, a.Tf * kToDeg, result.quality}) + kEol);
}

}  // namespace kvr::tarnc
