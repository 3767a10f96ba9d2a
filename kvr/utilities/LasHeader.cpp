#include "kvr/utilities/LasHeader.h"

#include <cstdarg>
#include <cstdio>
#include <set>

namespace kvr::utilities {

namespace {

// Appends one formatted line and its CR LF.
[[gnu::format(printf, 2, 3)]] void line(std::string& out, const char* format, ...) {
  char buf[1024];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
  if (n > 0) out.append(buf, static_cast<std::size_t>(n) < sizeof buf ? static_cast<std::size_t>(n) : sizeof buf - 1);
  out += "\r\n";
}

std::string separator(const LasJob& job) {
  if (job.tab && !job.strictLas2) return "\t";
  return std::string(static_cast<std::size_t>(job.spaces < 1 ? 1 : job.spaces), ' ');
}

bool isMergedCcl(const LasSource& source, const LasJob& job, std::size_t channel) {
  return job.mergeCcl && source.channels[channel].mnemonic == "CCL1";
}

void defaultVersionAndWell(std::string& out, const LasSource& source, const LasJob& job, const IndexGrid& grid,
                           double first, double last) {
  const auto& j = source.job;
  line(out, "~VERSION INFORMATION");
  line(out, "VERS. %13s   :CWLS Log ASCII Standard - VERSION %s", kLasVersion, kLasVersion);
  line(out, "WRAP. %13s   :Are Depth Lines Wrapped ?", job.wrapped ? "YES" : "NO ");
  line(out, "DLM.  %13s   :Column Data Section Delimiter Character", job.tab ? "TAB" : "SPACE");
  line(out, "PROD. %13s   :LAS Producer", kLasProducer);
  line(out, "PROG. %-46s   :LAS Program name and version", kLasProgram);
  line(out, "CREA. %-46s   :LAS Creation date and time", job.creationTime.c_str());
  line(out, "SOURCE. %-44s   :KVR Data File Name", job.sourceName.c_str());
  line(out, "FILE-ID. %-43s   :File Identification Number", job.fileId.c_str());
  line(out, "#--------------------------------------------------");
  line(out, "~WELL INFORMATION");
  line(out, "#MNEM.UNIT      DATA             DESCRIPTION");
  line(out, "#---- ------ --------------   -----------------------------");
  const char* unit = source.english() ? "FT" : "M";
  line(out, "STRT .%-6s %-14.2f :START DEPTH", unit, first);
  line(out, "STOP .%-6s %-14.2f :STOP DEPTH", unit, last);
  line(out, "STEP .%-6s %-14.4f :STEP", unit, grid.step());
  line(out, "NULL .       %-14.4f :NULL VALUE", kLasNullValue);
  line(out, "COMP .       %-14s :COMPANY", j.client.c_str());
  line(out, "WELL .       %-14s :WELL", j.wellName.c_str());
  line(out, "FLD .        %-14s :FIELD", j.field.c_str());
  line(out, "CNTY .       %-14s :COUNTY", j.county.c_str());
  line(out, "STAT .       %-14s :STATE", j.province.c_str());
  line(out, "CTRY .       %-14s :COUNTRY", j.country.c_str());
  // The job data hold no API number: the line is written empty rather than with another field.
  line(out, "API .        %-14s :API NUMBER", "");
  line(out, "UWI .        %-14s :UNIQUE WELL ID", j.wellName.c_str());
  line(out, "DATE .       %-14s :LOG DATE", j.loggingDate.c_str());
  line(out, "LOC .        %-14s :LOCATION", j.field.c_str());
  line(out, "SRVC .       %-14s :SERVICE COMPANY", j.client.c_str());
  line(out, "LATI .DEG    %-14s :LATITUDE", j.latitude.c_str());
  line(out, "LONG .DEG    %-14s :LONGITUDE", j.longitude.c_str());
}

void defaultCurves(std::string& out, const LasSource& source, const LasJob& job) {
  line(out, "#--------------------------------------------------");
  line(out, "~CURVE INFORMATION");
  line(out, "#     MNEM.UNIT       DESCRIPTION");
  line(out, "#--------- ---------- -----------------------------");
  if (source.station())
    line(out, "TIME      .S          :");
  else
    line(out, source.english() ? "DEPTH     .FT         :" : "DEPTH     .M          :");
  for (std::size_t c : job.channels)
    line(out, "%-10s.%-10s :", curveName(source, job, c).c_str(), source.channels[c].unit.c_str());
  line(out, "#-----------------------------------------------------------------------------");
  line(out, "#");
  std::string names = source.station() ? "# TIME" : "# DEPTH";
  const std::string sep = separator(job);
  for (std::size_t c : job.channels) names += sep + curveName(source, job, c);
  line(out, "%s", names.c_str());
  line(out, "#");
  line(out, "~Ascii | Curve");
}

// Header texts in strict LAS 2.0: no control bytes; mnemonics and units without the
// characters that end their field.
std::string strictText(const std::string& s) {
  std::string r;
  for (unsigned char ch : s) r += ch < 0x20 || ch == 0x7F ? ' ' : static_cast<char>(ch);
  while (!r.empty() && r.back() == ' ') r.pop_back();
  return r;
}
std::string strictToken(const std::string& s, bool mnemonic) {
  std::string r;
  for (unsigned char ch : s) {
    const bool bad = ch <= 0x20 || ch == 0x7F || ch == ':' || (mnemonic && ch == '.') || ch == '~' || ch == '#';
    r += bad ? '_' : static_cast<char>(ch);
  }
  return r;
}

void strictSections(std::string& out, const LasSource& source, const LasJob& job, const IndexGrid& grid,
                    std::int64_t firstLine, std::int64_t lastLine) {
  const auto& j = source.job;
  const auto w = [&](const char* mnem, const char* unit, const std::string& value, const char* descr) {
    line(out, " %-4s.%-8s %-24s : %s", mnem, unit, value.c_str(), descr);
  };
  line(out, "~VERSION INFORMATION");
  w("VERS", "", "2.0", "CWLS LOG ASCII STANDARD - VERSION 2.0");
  w("WRAP", "", job.wrapped ? "YES" : "NO", job.wrapped ? "MULTIPLE LINES PER DEPTH STEP" : "ONE LINE PER DEPTH STEP");
  line(out, "# LAS producer %s, program %s", kLasProducer, kLasProgram);
  line(out, "# Created %s from KVR data file %s", job.creationTime.c_str(), strictText(job.sourceName).c_str());
  line(out, "~WELL INFORMATION");
  line(out, "#MNEM.UNIT     DATA                       DESCRIPTION");
  const std::string unit = grid.unit();
  const char* what = source.station() ? "TIME" : "DEPTH";
  const std::string start = std::string("START ") + what, stop = std::string("STOP ") + what;
  w("STRT", unit.c_str(), grid.text(firstLine), start.c_str());
  w("STOP", unit.c_str(), grid.text(lastLine), stop.c_str());
  w("STEP", unit.c_str(), grid.stepText(), "STEP");
  w("NULL", "", kStrictNullText, "NULL VALUE");
  w("COMP", "", strictText(j.client), "COMPANY");
  w("WELL", "", strictText(j.wellName), "WELL");
  w("FLD", "", strictText(j.field), "FIELD");
  w("LOC", "", strictText(j.field), "LOCATION");
  w("CNTY", "", strictText(j.county), "COUNTY");
  w("STAT", "", strictText(j.province), "STATE");
  w("CTRY", "", strictText(j.country), "COUNTRY");
  w("SRVC", "", strictText(j.client), "SERVICE COMPANY");
  w("DATE", "", strictText(j.loggingDate), "LOG DATE");
  w("UWI", "", strictText(j.wellName), "UNIQUE WELL ID");
  w("API", "", "", "API NUMBER");
  w("LATI", "DEG", strictText(j.latitude), "LATITUDE");
  w("LONG", "DEG", strictText(j.longitude), "LONGITUDE");
  line(out, "~CURVE INFORMATION");
  line(out, "#MNEM.UNIT     API CODE                   DESCRIPTION");
  w(source.station() ? "TIME" : "DEPT", unit.c_str(), "", source.station() ? "TIME" : "DEPTH");
  std::set<std::string> used{source.station() ? "TIME" : "DEPT"};
  for (std::size_t c : job.channels) {
    const std::string base = strictToken(curveName(source, job, c), true);
    std::string name = base.empty() ? "CURVE" : base;
    for (int n = 2; used.count(name) != 0; ++n) name = base + "_" + std::to_string(n);
    used.insert(name);
    const std::string u = strictToken(source.channels[c].unit, false);
    w(name.c_str(), u.c_str(), "", strictText(source.channels[c].mnemonic).c_str());
  }
  line(out, "~ASCII");
}

}  // namespace

std::string curveName(const LasSource& source, const LasJob& job, std::size_t channel) {
  return isMergedCcl(source, job, channel) ? std::string("CCL") : source.channels[channel].mnemonic;
}

std::string buildHeader(const LasSource& source, const LasJob& job, const IndexGrid& grid, std::int64_t lastLine) {
  std::string out;
  const std::int64_t last = lastLine >= 0 ? lastLine : std::max<std::int64_t>(job.lines, 0);
  if (job.strictLas2) {
    strictSections(out, source, job, grid, 0, last);
    return out;
  }
  if (job.header) defaultVersionAndWell(out, source, job, grid, grid.value(0), grid.value(last));
  if (job.curveNames) defaultCurves(out, source, job);
  return out;
}

std::string creationText(int year, int month, int day, int hour, int minute, int second) {
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  // Day of the week by Sakamoto's rule.
  static const int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  const int m = month < 1 || month > 12 ? 1 : month;
  const int y = m < 3 ? year - 1 : year;
  const int dow = ((y + y / 4 - y / 100 + y / 400 + kOffsets[m - 1] + day) % 7 + 7) % 7;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s, %s %02d, %04d - %02d:%02d:%02d", kDays[dow], kMonths[m - 1], day, year, hour,
                minute, second);
  return buf;
}

}  // namespace kvr::utilities
