// kvr-convert: KVR data files to LAS with the converter of "KVR to ASCII Converter", and a
// LAS 2.0 conformance check of any LAS file. See usage() for the options.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/common/CommandLine.h"
#include "common/datafile/PosixFiles.h"
#include "kvr/utilities/CKvrToAscii.h"
#include "kvr/utilities/LasCheck.h"
#include "platform/SystemClock.h"
#include "platform/SystemPaths.h"

namespace {

void usage(std::FILE* out) {
  std::fputs(
      "usage: kvr-convert IN.kvr [IN.kvr ...] [options]\n"
      "       kvr-convert --check FILE.las [FILE.las ...]\n"
      "\n"
      "Converts KVR data files to LAS text files, one beside each input (its name with .las),\n"
      "with the same converter and defaults as the \"KVR to ASCII Converter\" dialog.\n"
      "\n"
      "  -o OUT.las            output file (one input only)\n"
      "  --step S              output step in file units: ft, m, or seconds for station logs\n"
      "                        (default the dialog's: 1 ft, 0.3 m, 1 sec; negated for up logs)\n"
      "  --start A --final B   limits in ft or m, or in the time unit for station logs\n"
      "                        (default the first and last recorded values)\n"
      "  --offset O            added to every index value (default 0)\n"
      "  --time-unit U         sec, min, hour or day: the time unit of station logs (default sec)\n"
      "  --digits N            decimals 1 to 4 (default 2)\n"
      "  --tab | --spaces N    separator: a tab, or N spaces 1 to 10 (default 1 space)\n"
      "  --wrap                wrapped rows (LAS 2.0 wrapped layout, lines of at most 80 characters)\n"
      "  --no-header           leave out the version and well sections\n"
      "  --no-curves           leave out the curve section\n"
      "  --merge-ccl           write CCL1 to CCL4 merged as \"CCL\"\n"
      "  --channels A,B,...    channels to write, in file order (default every channel)\n"
      "  --filter interval:X   moving average over X ft, m or seconds (station logs)\n"
      "  --filter count:N      moving average over N recorded rows\n"
      "  --filter-channels A,B channels to filter (default every written channel but the index)\n"
      "  --las2                strict CWLS LAS 2.0: spaces, CR LF, NULL -999.25, exact index grid,\n"
      "                        every required section (not with --tab, --no-header, --no-curves)\n"
      "  --overwrite           replace an existing -o file (otherwise it is refused); without -o\n"
      "                        the output is IN.las, or IN_1.las, IN_2.las... when that is taken\n"
      "                        (printed as file: PATH), never replacing a file\n"
      "  --check               list every departure from LAS 2.0 of the given LAS files\n"
      "  --help                this text\n"
      "\n"
      "Exit status: 0 done; 1 a file was refused or failed (its message is printed);\n"
      "2 wrong usage; with --check 1 when a file departs from LAS 2.0, 2 when it cannot be read.\n",
      out);
}

// Messages go to stderr as "kvr-convert: FILE: TITLE: text"; questions are answered as the
// options say: overwrite only with --overwrite, everything else No.
class ConsolePrompter final : public platform::Prompter {
 public:
  bool overwrite = false;
  std::string file;

  platform::Answer ask(const platform::Message& m) override {
    std::string text = m.text;
    for (auto& c : text) c = c == '\n' ? ' ' : c;
    // Messages go to standard error, so that LAS written to standard output stays clean.
    std::fprintf(stderr, "kvr-convert: %s: %s: %s\n", file.c_str(), m.title.c_str(), text.c_str());
    if (m.buttons == platform::Buttons::YesNo)
      return overwrite && m.title == "ATTENTION" ? platform::Answer::Yes : platform::Answer::No;
    return platform::Answer::Ok;
  }
  std::optional<std::string> openFile(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<std::string> saveFile(const platform::FileRequest&) override { return std::nullopt; }
  std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return std::nullopt; }
  std::optional<platform::Colour> chooseColour(platform::Colour) override { return std::nullopt; }
  std::optional<std::string> inputText(const platform::TextRequest&) override { return std::nullopt; }
};

struct Options {
  std::vector<std::string> inputs;
  std::string output;
  std::optional<double> step, start, final, offset;
  std::uint8_t timeUnit = 20;
  int digits = 2;
  bool tab = false;
  int spaces = 1;
  bool wrap = false, noHeader = false, noCurves = false, mergeCcl = false, las2 = false, overwrite = false;
  bool check = false;
  std::optional<std::vector<std::string>> channels, filterChannels;
  std::optional<kvr::utilities::FilterSettings> filter;
};

std::optional<double> parseNumber(const std::string& s) {
  double v = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  if (r.ec != std::errc{} || r.ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

bool fail(const std::string& why) {
  std::fprintf(stderr, "kvr-convert: %s\n", why.c_str());
  return false;
}

bool parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= argc) return std::nullopt;
      return std::string(argv[++i]);
    };
    const auto number = [&](std::optional<double>& target) {
      const auto v = value();
      target = v ? parseNumber(*v) : std::nullopt;
      return target.has_value() || fail(a + " needs a number");
    };
    std::optional<double> n;
    if (a == "-o") {
      const auto v = value();
      if (!v) return fail("-o needs a file name");
      o.output = *v;
    } else if (a == "--step") {
      if (!number(o.step)) return false;
      if (std::fabs(*o.step) < 1e-4) return fail("--step must be at least 0.0001");
    } else if (a == "--start") {
      if (!number(o.start)) return false;
    } else if (a == "--final") {
      if (!number(o.final)) return false;
    } else if (a == "--offset") {
      if (!number(o.offset)) return false;
    } else if (a == "--digits") {
      if (!number(n) || *n < 1 || *n > 4 || *n != std::floor(*n)) return fail("--digits takes 1 to 4");
      o.digits = static_cast<int>(*n);
    } else if (a == "--spaces") {
      if (!number(n) || *n < 1 || *n > 10 || *n != std::floor(*n)) return fail("--spaces takes 1 to 10");
      o.spaces = static_cast<int>(*n);
    } else if (a == "--time-unit") {
      const auto v = value().value_or("");
      const char* names[] = {"sec", "min", "hour", "day"};
      bool ok = false;
      for (int u = 0; u < 4; ++u)
        if (v == names[u]) o.timeUnit = static_cast<std::uint8_t>(20 + u), ok = true;
      if (!ok) return fail("--time-unit takes sec, min, hour or day");
    } else if (a == "--tab") {
      o.tab = true;
    } else if (a == "--wrap") {
      o.wrap = true;
    } else if (a == "--no-header") {
      o.noHeader = true;
    } else if (a == "--no-curves") {
      o.noCurves = true;
    } else if (a == "--merge-ccl") {
      o.mergeCcl = true;
    } else if (a == "--las2") {
      o.las2 = true;
    } else if (a == "--overwrite") {
      o.overwrite = true;
    } else if (a == "--check") {
      o.check = true;
    } else if (a == "--channels") {
      o.channels = cli::splitList(value().value_or(""));
      if (o.channels->empty()) return fail("--channels needs a list of names");
    } else if (a == "--filter-channels") {
      o.filterChannels = cli::splitList(value().value_or(""));
    } else if (a == "--filter") {
      const std::string v = value().value_or("");
      kvr::utilities::FilterSettings f;
      f.active = true;
      const auto colon = v.find(':');
      const double amount = colon == std::string::npos ? NAN : parseNumber(v.substr(colon + 1)).value_or(NAN);
      if (v.rfind("interval:", 0) == 0 && amount > 0) {
        f.mode = kvr::utilities::FilterSettings::Mode::Interval;
        f.distanceInterval = f.timeInterval = static_cast<float>(amount);
      } else if (v.rfind("count:", 0) == 0 && amount >= 2 && amount <= 500) {
        f.mode = kvr::utilities::FilterSettings::Mode::ItemCount;
        f.itemCount = static_cast<int>(amount);
      } else {
        return fail("--filter takes interval:X or count:N (2 to 500)");
      }
      o.filter = f;
    } else if (a == "--help" || a == "-h") {
      usage(stdout);
      std::exit(0);
    } else if (!a.empty() && a[0] == '-') {
      return fail("unknown option " + a + " (see --help)");
    } else {
      o.inputs.push_back(a);
    }
  }
  if (o.inputs.empty()) return fail(o.check ? "--check needs a LAS file" : "no input file (see --help)");
  if (!o.output.empty() && o.inputs.size() > 1) return fail("-o names the output of one input only");
  if (o.las2 && (o.tab || o.noHeader || o.noCurves))
    return fail("--las2 writes spaces and every section: not with --tab, --no-header or --no-curves");
  return true;
}

int check(const std::vector<std::string>& files) {
  int status = 0;
  for (const auto& f : files) {
    std::ifstream in(f, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "kvr-convert: %s: cannot be read\n", f.c_str());
      status = 2;
      continue;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const auto report = kvr::utilities::checkLas2(bytes.str());
    for (const auto& d : report.departures) std::printf("%s:%zu: %s\n", f.c_str(), d.line, d.text.c_str());
    if (report.conforms()) {
      std::printf("%s: conforms to LAS 2.0 (%zu lines, %zu data steps)\n", f.c_str(), report.lines, report.dataSteps);
    } else if (status == 0) {
      status = 1;
    }
  }
  return status;
}

bool convertOne(const Options& o, const std::string& input, ConsolePrompter& prompter) {
  platform::SystemClock clock;
  platform::SystemPaths paths;
  kvr::PosixFileSystem dataFiles;
  kvr::utilities::PosixTextFiles textFiles;
  kvr::utilities::CKvrToAscii converter(prompter, paths, clock, dataFiles, textFiles, o.timeUnit);
  prompter.file = input;
  if (!converter.chooseInput(input)) return false;
  auto& f = converter.fields();
  if (!o.output.empty()) {
    f.outputFile = o.output;
    f.outputTyped = true;
  }
  const auto names = converter.channelNames();
  if (o.channels) {
    for (const auto& want : *o.channels) {
      bool found = false;
      for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == want) found = f.selected[i] = true;
      if (!found) {
        std::fprintf(stderr, "kvr-convert: %s: the file has no channel %s\n", input.c_str(), want.c_str());
        return false;
      }
    }
  } else {
    f.selected.assign(names.size(), true);
  }
  f.customStep = o.step;
  if (o.start) f.start = static_cast<float>(*o.start);
  if (o.final) f.final = static_cast<float>(*o.final);
  if (o.offset) f.offset = static_cast<float>(*o.offset);
  f.digits = o.digits;
  f.tab = o.tab;
  f.spaces = o.spaces;
  f.wrapped = o.wrap;
  f.header = !o.noHeader;
  f.curveNames = !o.noCurves;
  f.mergeCcl = o.mergeCcl;
  f.strictLas2 = o.las2;
  if (o.filter) {
    f.filter = *o.filter;
    if (o.filterChannels) {
      for (const auto& want : *o.filterChannels) {
        if (std::find(names.begin(), names.end(), want) == names.end()) {
          std::fprintf(stderr, "kvr-convert: %s: the file has no channel %s to filter\n", input.c_str(), want.c_str());
          return false;
        }
      }
      f.filter.channels = *o.filterChannels;
    } else {
      // Every written channel but the index: smoothing depth or time would move the rows.
      f.filter.channels = converter.selectedChannelNames();
      if (!names.empty()) std::erase(f.filter.channels, names.front());
    }
  }
  if (!converter.convert()) return false;
  if (o.output.empty()) std::printf("file: %s\n", f.outputFile.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (argc < 2) {
    usage(stderr);
    return 2;
  }
  if (!parse(argc, argv, o)) return 2;
  if (o.check) return check(o.inputs);
  ConsolePrompter prompter;
  prompter.overwrite = o.overwrite;
  int status = 0;
  for (const auto& input : o.inputs)
    if (!convertOne(o, input, prompter)) status = 1;
  return status;
}
