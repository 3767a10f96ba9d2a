#include "pagemill/app/HeadlessPrint.h"

#include <QPageSize>

#include <algorithm>
#include <map>
#include <optional>

#include "common/datafile/PosixFiles.h"
#include "pagemill/app/ConsolePrompter.h"
#include "pagemill/core/HeaderInfo.h"
#include "pagemill/core/HeaderWnd.h"
#include "pagemill/core/PagemillSettings.h"
#include "pagemill/core/PrintJob.h"
#include "pagemill/core/PrintManager.h"
#include "pagemill/core/PrintPlaces.h"
#include "platform/SystemPaths.h"
#include "platform/qt/QtPrintTarget.h"
#include "platform/qt/QtSettings.h"

namespace pagemill {

namespace {

constexpr const char* kUsage =
    "usage: pagemill [FILE.cdf]          the window, showing the log of FILE.cdf\n"
    "       pagemill --print LIST.wpl --pdf OUT.pdf [--kvr FILE.kvr] [--metric]\n"
    "       pagemill --print-cdf FILE.cdf --pdf OUT.pdf [--kvr FILE.kvr] [--metric]\n"
    "       pagemill --help\n"
    "printing options: --printer QUEUE (a CUPS printer instead of a PDF), --page letter|a4|legal|fanfold,\n"
    "         --continuous, --mode 1|2|3, --advance \"6 in PAGE\", --offset HUNDREDTHS_MM\n"
    "Without a window the templates are the user's choices, or the shipped ones.\n";

struct Args {
  std::map<std::string, std::string> values;
  bool metric = false, continuous = false;
  bool has(const std::string& k) const { return values.count(k) != 0; }
  std::string get(const std::string& k, const std::string& d = {}) const { return has(k) ? values.at(k) : d; }
};

std::optional<Args> parse(const std::vector<std::string>& args, std::ostream& err) {
  Args a;
  static const char* kValued[] = {"--print", "--print-cdf", "--pdf", "--kvr", "--printer",
                                  "--page",  "--mode",      "--advance", "--offset"};
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& k = args[i];
    if (k == "--metric") a.metric = true;
    else if (k == "--continuous") a.continuous = true;
    else if (std::find(std::begin(kValued), std::end(kValued), k) != std::end(kValued) && i + 1 < args.size())
      a.values[k] = args[++i];
    else {
      err << "pagemill: unknown or incomplete option " << k << "\n" << kUsage;
      return std::nullopt;
    }
  }
  if (a.has("--print") == a.has("--print-cdf") || (!a.has("--pdf") && !a.has("--printer"))) {
    err << kUsage;
    return std::nullopt;
  }
  return a;
}

QPageSize pageSize(const std::string& name, bool metric) {
  if (name == "a4") return QPageSize(QPageSize::A4);
  if (name == "legal") return QPageSize(QPageSize::Legal);
  if (name == "letter") return QPageSize(QPageSize::Letter);
  // Fan-fold logging paper: 8.5 x 11 inch sheets of one continuous strip.
  if (name == "fanfold") return QPageSize(QSizeF(8.5, 11.0), QPageSize::Inch, "Fanfold 8.5 x 11 in");
  return QPageSize(metric ? QPageSize::A4 : QPageSize::Letter);
}

// The settings of one headless job, kept in memory.
class JobSettings final : public platform::Settings {
 public:
  int getInt(const std::string& section, const std::string& name, int fallback) const override {
    const auto it = values_.find(section + "/" + name);
    return it == values_.end() ? fallback : toIntOr(it->second, fallback);
  }
  void setInt(const std::string& section, const std::string& name, int value) override {
    values_[section + "/" + name] = std::to_string(value);
  }
  std::string getString(const std::string& section, const std::string& name, const std::string& fallback) const override {
    const auto it = values_.find(section + "/" + name);
    return it == values_.end() ? fallback : it->second;
  }
  void setString(const std::string& section, const std::string& name, const std::string& value) override {
    values_[section + "/" + name] = value;
  }

 private:
  static int toIntOr(const std::string& s, int fallback) {
    try {
      return std::stoi(s);
    } catch (...) {
      return fallback;
    }
  }
  std::map<std::string, std::string> values_;
};

int toInt(const std::string& s, int fallback) {
  try {
    return std::stoi(s);
  } catch (...) {
    return fallback;
  }
}

}  // namespace

const char* usage() { return kUsage; }

bool wantsHelp(const std::vector<std::string>& args) {
  return std::find(args.begin(), args.end(), "--help") != args.end() ||
         std::find(args.begin(), args.end(), "-h") != args.end();
}

std::optional<std::string> windowArguments(const std::vector<std::string>& args, std::ostream& err, bool& ok) {
  ok = false;
  std::optional<std::string> file;
  for (const auto& a : args) {
    if (!a.empty() && a[0] == '-') {
      err << "pagemill: unknown option " << a << "\n" << kUsage;
      return std::nullopt;
    }
    if (file) {
      err << "pagemill: one log at a time: " << a << "\n" << kUsage;
      return std::nullopt;
    }
    file = a;
  }
  ok = true;
  return file;
}

bool wantsHeadless(const std::vector<std::string>& args) {
  for (const auto& a : args)
    if (a == "--print" || a == "--print-cdf") return true;
  return false;
}

int runHeadless(const std::vector<std::string>& args, std::ostream& err) {
  const auto a = parse(args, err);
  if (!a) return 2;

  // The user's template choices, the shipped templates where none is set; nothing is
  // written back to the user's settings.
  platform::qt::QtSettings user(keys::kApplication);
  platform::SystemPaths paths;
  JobSettings settings;
  for (int kind = 0; kind < 4; ++kind)
    settings.setString(keys::kTemplates, templateValue(kind), user.getString(keys::kTemplates, templateValue(kind), ""));
  chooseShippedTemplates(settings, paths.shippedDataFolder() / "templates");

  ConsolePrompter prompter(err);
  CHeaderInfo info;
  if (a->has("--kvr")) {
    kvr::PosixFileSystem fs;
    const int r = info.loadStaticData(fs, a->get("--kvr"));
    if (r != 0) err << "pagemill: the job record of " << a->get("--kvr") << " could not be read (" << r << ")\n";
  }
  CHeaderWnd templates(settings, prompter, info);

  std::vector<std::string> entries;
  if (a->has("--print")) {
    CPrintManager manager(settings, prompter, templates);
    if (!manager.openListFile(a->get("--print"))) return 1;
    entries = manager.entries();
  } else {
    entries = {kHeaderPrefix + templates.templatePath(kHeaderTemplate), kFilePrefix + a->get("--print-cdf"),
               kTailPrefix + templates.templatePath(kTailTemplate)};
  }

  platform::qt::PrintSetup setup;
  setup.pdfPath = a->get("--pdf");
  setup.printerName = a->get("--printer");
  setup.pageSize = pageSize(a->get("--page"), a->metric);
  setup.continuous = a->continuous || a->get("--page") == "fanfold";
  setup.contentWidthMm = logWidthMm(!a->metric);
  platform::qt::QtPrintTarget target(setup);

  JobOptions o;
  o.english = !a->metric;
  o.printMode = toInt(a->get("--mode", "3"), 3);
  o.blankAdvance = blankPageAdvance(a->get("--advance", "NONE"));
  o.offsetAdvance = toInt(a->get("--offset", "0"), 0);
  PrintStatus status;
  PrintJob job(target, prompter, templates, status, o);
  const JobOutcome outcome = job.run(entries);
  if (outcome == JobOutcome::Finished) {
    err << "pagemill: " << target.pagesPrinted() << " pages to "
        << (setup.printerName.empty() ? setup.pdfPath : setup.printerName) << "\n";
    return 0;
  }
  return 1;
}

}  // namespace pagemill
