#pragma once
// The writers of a TARN-C survey session's text files: the session event log
// (session folder / "Output" / "Session_<n>.csv"), read back by the continuous-mode analysis,
// and the diagnostic raw data log of every north-seeking station ("rawdata_log.csv" in the
// documents folder). Every write opens the file for appending, writes whole lines and closes
// it, so a program killed mid-station keeps every line written before.

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "navikor/Records.h"

namespace kvr::tarnc {

// Numbers as the log has always carried them: six significant digits, general notation.
std::string sixDigits(double v);

class SessionEventLog {
 public:
  static std::filesystem::path pathOf(const std::filesystem::path& sessionFolder, unsigned session);

  // Creates "Output" when missing and the log with its header line; false when either fails.
  static bool CreateSessionLog(const std::filesystem::path& sessionFolder, unsigned session);
  // time,0,0,0,0,0,0,0,0,name
  static bool AppendSessionEvent(const std::filesystem::path& sessionFolder, unsigned session, double time,
                                 const std::string& name);
  // time,kind,devi,azi,hstf,tf,qc,pos0,pos180,name; "END_STATION" rows are stamped 5 s later.
  static bool AppendStationEvent(const std::filesystem::path& sessionFolder, unsigned session, double time,
                                 const std::string& name, unsigned kind, double devi, double azi, double hstf, double tf,
                                 double qc, unsigned pos0, unsigned pos180);
};

// The averaged inputs of one station position as the raw data log shows them.
struct RawLogPosition {
  ESTACIONin input;
  double angleDeg = 0;
  unsigned samples = 0;
};

class RawDataLog {
 public:
  // documentsFolder / "BRANTHOLM TECHNOLOGIES" / "KVR" / "Logs" / "rawdata_log.csv"; empty: no log.
  explicit RawDataLog(std::filesystem::path documentsFolder);
  const std::filesystem::path& path() const { return path_; }

  void header();  // the column line at the start of every position average
  void samples(const std::vector<std::array<double, 6>>& rows);
  void noise(const double (&noise)[6]);
  void station(const RawLogPosition& first, const RawLogPosition& second, const ESTACIONout& result);

 private:
  void append(const std::string& text);
  std::filesystem::path path_;
};

}  // namespace kvr::tarnc
