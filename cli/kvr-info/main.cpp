// kvr-info FILE.kvr [--rows N] [--json]: what a KVR data file holds, checked section by section.
// Exit status 0 for a sound file, 1 when it cannot be read, 2 when its counts disagree.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cli/kvr-info/Json.h"
#include "common/datafile/DataFileInspection.h"
#include "common/datafile/FileMessages.h"
#include "common/datafile/PosixFiles.h"
#include "common/records/SysParameter.h"

namespace {

struct Options {
  std::string file;
  std::uint64_t rows = 0;
  bool json = false;
  bool help = false;
};

const char* directionName(std::uint8_t d) {
  return d == kvr::kLogDown ? "DOWN" : d == kvr::kLogUp ? "UP" : d == kvr::kLogStation ? "STATION" : "UNKNOWN";
}

std::vector<std::vector<float>> readRows(kvr::CFileManager& fm, const kvr::DataFileContents& c, std::uint64_t n) {
  std::vector<std::vector<float>> rows;
  const std::size_t width = c.summary.rowWidth;
  std::vector<float> row(width);
  while (rows.size() < n && fm.readWholeRows(row, width) == 1) rows.push_back(row);
  return rows;
}

void printText(const Options& o, const kvr::DataFileContents& c, const std::vector<std::vector<float>>& rows) {
  const auto& s = c.summary;
  std::printf("File: %s\nDirection: %u (%s)\n", o.file.c_str(), s.direction, directionName(s.direction));
  std::printf("Tools (%zu):\n", c.tools.size());
  for (const auto& t : c.tools)
    std::printf("  %-12s code %3u  kind %u  serial %u  length %g cm\n", t.name.c_str(), t.code(), t.kind(), t.serial(),
                static_cast<double>(t.lengthCm));
  std::printf("Parameter blocks:");
  for (std::uint32_t k : s.parameterCounts) std::printf(" %u", k);
  std::printf("\nChannels (%zu):\n", c.channels.size());
  for (const auto& ch : c.channels)
    std::printf("  %-12s %-10s column %llu  tool code %u\n", ch.mnemonic.c_str(), ch.unit.c_str(),
                static_cast<unsigned long long>(ch.column()),
                ch.toolCode & 0xFF);
  const auto& sys = c.mainParameters;
  const auto st = records::getStartStamp(sys[records::kSimStartDepth]);
  std::printf("Mode word: %d\n", static_cast<int>(sys[records::kSvyMode].value));
  std::printf("Start: %04d-%02d-%02d %02d:%02d:%02d at depth %g\n", int(st.year), int(st.month), int(st.day),
              int(st.hour), int(st.minute), int(st.second), static_cast<double>(st.depth));
  std::printf("Main system parameters:\n");
  for (std::size_t i = 0; i < kvr::kMainParameterCount; ++i)
    std::printf("  %-10s %-28s %g %s\n", sys[i].code.c_str(), sys[i].name.c_str(), static_cast<double>(sys[i].value),
                sys[i].unit.c_str());
  std::printf("Job record:\n");
  for (const auto& f : records::jobFields()) {
    const std::string v = records::jobFieldText(c.jobRecord.data(), f);
    const std::string key = records::jobFieldKey(f);
    if (!v.empty() && v != "0") std::printf("  %s%s %s\n", key.c_str(), key.back() == ':' ? "" : ":", v.c_str());
  }
  std::printf("Rows: %llu", static_cast<unsigned long long>(s.wholeRows));
  if (s.trailingBytes) std::printf(" (and %llu bytes of an incomplete row)", static_cast<unsigned long long>(s.trailingBytes));
  std::printf("\nFirst: %g\nLast: %g\n", static_cast<double>(s.firstValue), static_cast<double>(s.lastValue));
  for (const auto& r : rows) {
    for (std::size_t i = 0; i < r.size(); ++i) std::printf(i ? "\t%g" : "%g", static_cast<double>(r[i]));
    std::printf("\n");
  }
}

std::string jsonOf(const Options& o, int result, const kvr::DataFileContents& c,
                   const std::vector<std::vector<float>>& rows) {
  using json::number;
  using json::quote;
  std::string j = "{\"result\":" + std::to_string(result) + ",\"file\":" + quote(o.file);
  if (result != 0) return j + ",\"message\":" + quote(kvr::readFailureMessage(result).text) + "}";
  const auto& s = c.summary;
  j += ",\"direction\":" + std::to_string(s.direction) + ",\"directionName\":" + quote(directionName(s.direction));
  j += ",\"tools\":[";
  for (std::size_t i = 0; i < c.tools.size(); ++i) {
    const auto& t = c.tools[i];
    j += std::string(i ? "," : "") + "{\"name\":" + quote(t.name) + ",\"code\":" + std::to_string(t.code()) +
         ",\"kind\":" + std::to_string(t.kind()) + ",\"serial\":" + std::to_string(t.serial()) +
         ",\"lengthCm\":" + number(t.lengthCm) + "}";
  }
  j += "],\"parameterCounts\":[";
  for (std::size_t i = 0; i < s.parameterCounts.size(); ++i) j += (i ? "," : "") + std::to_string(s.parameterCounts[i]);
  j += "],\"channels\":[";
  for (std::size_t i = 0; i < c.channels.size(); ++i) {
    const auto& ch = c.channels[i];
    j += std::string(i ? "," : "") + "{\"mnemonic\":" + quote(ch.mnemonic) + ",\"unit\":" + quote(ch.unit) +
         ",\"column\":" + std::to_string(std::uint64_t{ch.baseColumn} + ch.index) +
         ",\"toolCode\":" + std::to_string(ch.toolCode & 0xFF) + "}";
  }
  const auto& sys = c.mainParameters;
  const auto st = records::getStartStamp(sys[records::kSimStartDepth]);
  j += "],\"modeWord\":" + number(static_cast<double>(sys[records::kSvyMode].value));
  j += ",\"start\":{\"year\":" + number(st.year) + ",\"month\":" + number(st.month) + ",\"day\":" + number(st.day) +
       ",\"hour\":" + number(st.hour) + ",\"minute\":" + number(st.minute) + ",\"second\":" + number(st.second) +
       ",\"depth\":" + number(st.depth) + "}";
  j += ",\"systemParameters\":[";
  for (std::size_t i = 0; i < kvr::kMainParameterCount; ++i)
    j += std::string(i ? "," : "") + "{\"code\":" + quote(sys[i].code) + ",\"name\":" + quote(sys[i].name) +
         ",\"value\":" + number(sys[i].value) + ",\"unit\":" + quote(sys[i].unit) + "}";
  j += "],\"job\":{";
  bool first = true;
  for (const auto& f : records::jobFields()) {
    const std::string v = records::jobFieldText(c.jobRecord.data(), f);
    j += std::string(first ? "" : ",") + quote(records::jobFieldKey(f)) + ":" +
         (f.kind == records::JobField::Text || v == "nan" || v == "inf" || v == "-inf" ? quote(v) : v);
    first = false;
  }
  j += "},\"rowWidth\":" + std::to_string(s.rowWidth) + ",\"rows\":" + number(s.wholeRows) +
       ",\"trailingBytes\":" + number(s.trailingBytes) + ",\"first\":" + number(s.firstValue) +
       ",\"last\":" + number(s.lastValue);
  if (o.rows > 0) {
    j += ",\"data\":[";
    for (std::size_t r = 0; r < rows.size(); ++r) {
      j += r ? ",[" : "[";
      for (std::size_t i = 0; i < rows[r].size(); ++i) j += (i ? "," : "") + number(rows[r][i]);
      j += "]";
    }
    j += "]";
  }
  return j + "}";
}

bool parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help") {
      o.help = true;
    } else if (a == "--json") {
      o.json = true;
    } else if (a == "--rows" && i + 1 < argc) {
      char* end = nullptr;
      const unsigned long long n = std::strtoull(argv[++i], &end, 10);
      if (*argv[i] == '-' || *end != 0) return false;
      o.rows = n;
    } else if (o.file.empty() && !a.empty() && a[0] != '-') {
      o.file = a;
    } else {
      return false;
    }
  }
  return o.help || !o.file.empty();
}

constexpr const char* kUsage =
    "usage: kvr-info FILE.kvr [--rows N] [--json]\n"
    "Checks a KVR data file and lists its static data, and with --rows its first N rows.\n"
    "  --json   one JSON object instead of text\n"
    "Exit status: 0 good, 1 the file cannot be read, 2 its integrity check fails, 64 wrong usage.\n";

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!parse(argc, argv, o)) {
    std::fputs(kUsage, stderr);
    return 64;
  }
  if (o.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  kvr::PosixFileSystem fs;
  kvr::CFileManager fm(fs);
  kvr::DataFileContents contents;
  int result = -1;
  if (fm.openInput(o.file) != 0) {
    std::fprintf(stderr, "%s\n", kvr::kOpenInputFailed.text);
  } else {
    result = kvr::inspectOpenDataFile(fm, contents);
    if (result != 0) std::fprintf(stderr, "%s\n", kvr::readFailureMessage(result).text);
  }
  const auto rows = result == 0 ? readRows(fm, contents, o.rows) : std::vector<std::vector<float>>{};
  if (o.json) {
    std::printf("%s\n", jsonOf(o, result, contents, rows).c_str());
  } else if (result == 0) {
    printText(o, contents, rows);
  }
  return result == 0 ? 0 : result == -2 ? 2 : 1;
}
