#include "pagemill/core/PrintJob.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "pagemill/core/DataManager.h"
#include "pagemill/core/DataPrinter.h"
#include "pagemill/core/PagemillSettings.h"
#include "pagemill/core/PrintList.h"

namespace pagemill {

namespace {

constexpr int kGap = -508;  // 0.01 mm between entries
constexpr const char* kFileNotReadTitle = "ERROR";

// English jobs work in 0.001 inch: 0.01 mm values are divided by 2.54, toward zero.
int toJobUnits(int hundredthsMm, bool english) {
  return english ? static_cast<int>(hundredthsMm / 2.54) : hundredthsMm;
}

// Lines of a text file as a line-oriented read took them: at most 254 characters, the
// rest of a longer line coming as the next line; LF, CR LF and CR end a line.
class TextLines {
 public:
  explicit TextLines(const std::string& path) : in_(path, std::ios::binary) {}
  bool isOpen() const { return static_cast<bool>(in_); }
  bool next(std::string& line) {
    line.clear();
    int ch = 0;
    while (line.size() < kListLineMax && (ch = in_.get()) != EOF) {
      if (ch == '\n') return true;
      if (ch == '\r') {
        if (in_.peek() == '\n') in_.get();
        return true;
      }
      line.push_back(static_cast<char>(ch));
    }
    return !line.empty();
  }

 private:
  std::ifstream in_;
};

// Devices, pipes and folders are no files to print: /dev/zero would never end.
bool isRegularFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::string finishedMessage(const platform::PrintTarget& target) {
  if (const std::string file = target.outputFile(); !file.empty()) return std::string(kPrintingFinished) + "\nSaved to " + file;
  if (const std::string printer = target.printerName(); !printer.empty())
    return std::string(kPrintingFinished) + "\nSent to the printer " + printer;
  return kPrintingFinished;
}

int blankPageAdvance(const std::string& name) {
  for (const auto& b : kBlankPages)
    if (name == b.name) return b.advance;
  return kBlankPages[0].advance;
}

PrintJob::PrintJob(platform::PrintTarget& target, platform::Prompter& prompter, CHeaderWnd& templates,
                   PrintStatus& status, JobOptions options)
    : target_(target), prompter_(prompter), templates_(templates), status_(status), options_(options) {}

platform::Message PrintJob::failureMessage(int code) {
  switch (code) {
    case platform::kSpoolOutOfMemory: return {"ERROR", "Not enough memory is available for spooling", platform::Buttons::Ok, platform::Icon::Error};
    case platform::kSpoolOutOfDisk: return {"ERROR", "Not enough disk space is currently available for spooling", platform::Buttons::Ok, platform::Icon::Error};
    case platform::kSpoolUserAbort: return {"MESSAGE", "User has Aborted the current print job", platform::Buttons::Ok, platform::Icon::Information};
    case platform::kSpoolError: return {"ERROR", "General Error occurred while printing", platform::Buttons::Ok, platform::Icon::Error};
    default:
      return {"ERROR", "An unknown error has occurred while printing\nRestart the computer and try it again !",
              platform::Buttons::Ok, platform::Icon::Error};
  }
}

void PrintJob::fail(int code) {
  if (failed_) return;
  failed_ = true;
  failure_ = code;
}

bool PrintJob::startPage() {
  const int r = target_.startPage();
  if (r <= 0) {
    fail(r);
    return false;
  }
  ++pagesStarted_;
  const auto info = target_.pageInfo();
  const int upi = options_.english ? 1000 : 2540;
  const int dpiX = std::max(info.dpiX, 1), dpiY = std::max(info.dpiY, 1);
  platform::Mapping m;
  m.windowOrigin = {0, 0};
  m.windowExtent = {upi, upi};
  m.viewportOrigin = {info.printableDevice.left, info.printableDevice.top};
  m.viewportExtent = {dpiX, -dpiY};
  target_.canvas().setMapping(m);
  pageH_ = static_cast<int>(static_cast<long long>(info.printableDevice.height()) * upi / dpiY);
  pageW_ = static_cast<int>(static_cast<long long>(info.printableDevice.width()) * upi / dpiX);
  return true;
}

bool PrintJob::nextPage() {
  if (failed_) return false;
  if (status_.cancelled()) {
    fail(platform::kSpoolUserAbort);
    return false;
  }
  const int r = target_.endPage();
  if (r <= 0) {
    fail(r);
    return false;
  }
  return startPage();
}

bool PrintJob::advance() {
  e_ += gap_;
  if (e_ < -pageH_) {
    if (!nextPage()) return false;
    e_ += pageH_;
  }
  return true;
}

bool PrintJob::printTemplate(int kind) {
  const int start0 = e_;
  templates_.setOrigin(e_);
  templates_.run(kind, canvas(), true);
  e_ = templates_.origin();
  // A template that ends below the page bottom is printed again one page height higher,
  // so its lower part lands at the top of the next page.
  int start = start0;
  for (int pages = 0; e_ < -pageH_ && pages < kMaxPagesPerEntry; ++pages) {
    start += pageH_;
    if (!nextPage()) return false;
    templates_.setOrigin(start);
    templates_.run(kind, canvas(), true);
    e_ = templates_.origin();
  }
  return true;
}

bool PrintJob::printPicture(const std::string& path) {
  if (!isRegularFile(path)) return true;
  const platform::Size size = canvas().imageSize(path);
  if (size.width <= 0 || size.height <= 0) return true;
  const double scale = static_cast<double>(pageW_) / size.width;
  const double total = std::min(size.height * scale, static_cast<double>(pageH_) * kMaxPagesPerEntry);
  double drawn = 0;
  for (int pages = 0; drawn < total && pages <= kMaxPagesPerEntry; ++pages) {
    if (e_ <= -pageH_) {
      if (!nextPage()) return false;
      e_ = 0;
    }
    const int slice = static_cast<int>(std::min<double>(std::ceil(total - drawn), pageH_ + e_));
    const int srcTop = static_cast<int>(std::lround(drawn / scale));
    const int srcBottom = std::min(size.height, static_cast<int>(std::lround((drawn + slice) / scale)));
    // The first driver wanted each slice given from its lower edge with a positive height.
    const platform::Rect dest = options_.printMode == kHpPrinter ? platform::Rect{0, e_ - slice, pageW_, e_}
                                                                 : platform::Rect{0, e_, pageW_, e_ - slice};
    if (srcBottom > srcTop) canvas().drawImagePart(dest, path, {0, srcTop, size.width, srcBottom});
    e_ -= slice;
    drawn += slice;
    if (drawn < total) {
      if (!nextPage()) return false;
      e_ = 0;
    }
  }
  return true;
}

bool PrintJob::printTextFile(const std::string& path) {
  if (!isRegularFile(path)) return true;
  TextLines lines(path);
  if (!lines.isOpen()) return true;
  const bool en = options_.english;
  const int l = en ? 197 : 500, w = en ? 15 : 38, frame = en ? 8150 : 20701;
  auto& c = canvas();
  auto setUp = [&] {
    platform::Font f;
    f.family = platform::FontFamily::Modern;  // fixed pitch
    f.height = l;
    f.weight = 900;
    canvas().setFont(f);
    canvas().setTextColour(0);
    canvas().setBackground(false, 0xFFFFFF);
    canvas().setPen({platform::PenStyle::Solid, w, 0});
  };
  auto sides = [&](int from, int to) {
    canvas().line({0, from}, {0, to});
    canvas().line({frame, from}, {frame, to});
  };
  setUp();
  c.line({0, e_}, {frame, e_});
  sides(e_, e_ - l / 2);
  e_ -= l / 2;
  std::string line;
  // A listing stops after as many pages as a template or a picture may run over.
  int pages = 0;
  while (pages < kMaxPagesPerEntry && lines.next(line)) {
    const int start = e_;
    if (!line.empty()) canvas().text({0, e_}, line, platform::AlignLeft | platform::AlignTop);
    e_ -= l;
    sides(start, e_);
    if (e_ < -pageH_) {
      if (!nextPage()) return false;
      ++pages;
      setUp();
      e_ = start + pageH_;
      sides(e_, e_ - l);
      if (!line.empty()) canvas().text({0, e_}, line, platform::AlignLeft | platform::AlignTop);
      e_ -= l;
    }
  }
  const int start = e_;
  e_ -= l / 2;
  sides(start, e_);
  if (e_ < -pageH_) {
    if (!nextPage()) return false;
    setUp();
    e_ = start + pageH_ - l / 2;
    sides(start + pageH_, e_);
  }
  canvas().line({0, e_}, {frame, e_});
  return true;
}

JobOutcome PrintJob::run(const std::vector<std::string>& entries) {
  if (entries.empty()) return JobOutcome::NothingToPrint;
  failed_ = false;
  failure_ = 0;
  pagesStarted_ = 0;
  templates_.setEnglish(options_.english);
  templates_.setPrintMode(options_.printMode);

  const int started = target_.startDocument(kDocumentName);
  if (started <= 0) {
    failure_ = started;
    prompter_.ask(failureMessage(started));
    return JobOutcome::Failed;
  }
  gap_ = toJobUnits(kGap, options_.english);
  e_ = toJobUnits(options_.blankAdvance, options_.english) - toJobUnits(options_.offsetAdvance, options_.english);

  auto abortJob = [&] {
    status_.close();
    target_.abortDocument();
    prompter_.ask(failureMessage(failure_));
    return JobOutcome::Failed;
  };
  if (!startPage()) return abortJob();
  status_.open(static_cast<int>(entries.size()));

  bool endedEarly = false;
  for (const auto& entry : entries) {
    const ParsedEntry p = parseEntry(entry);
    bool ok = true, advanceAfter = true;
    switch (p.kind) {
      case EntryKind::Header:
        status_.show("Printing HEADER");
        ok = printTemplate(kHeaderTemplate);
        break;
      case EntryKind::Tail:
        status_.show("Printing Tail");
        ok = printTemplate(kTailTemplate);
        break;
      case EntryKind::Separator:
        status_.show("Printing Separator: " + p.argument);
        templates_.setSeparatorText(p.argument);
        ok = printTemplate(kSeparatorTemplate);
        break;
      case EntryKind::Remarks:
        status_.show("Printing REMARKS");
        ok = printTemplate(kRemarksTemplate);
        break;
      case EntryKind::File: {
        status_.show("Printing file: " + p.argument);
        CDataManager log;
        const OpenResult r = log.open(p.argument, false, options_.english);
        // A log that cannot be printed is said so, whether it is missing or damaged.
        if (r != OpenResult::Ok)
          platform::tell(prompter_, kFileNotReadTitle, r == OpenResult::Invalid ? kFileNotValid : kFileNotRead,
                         platform::Icon::Error);
        if (r != OpenResult::Ok) {
          endedEarly = true;
          break;
        }
        CDataPrinter printer(log);
        const auto after = printer.print(*this, e_);
        if (!after) ok = false;
        else e_ = *after;
        break;
      }
      case EntryKind::Picture:
        status_.show("Printing BMP: " + p.argument);
        ok = printPicture(p.argument);
        break;
      case EntryKind::TextFile:
        status_.show("Printing text file: " + p.argument);
        ok = printTextFile(p.argument);
        break;
      case EntryKind::Unknown:
        advanceAfter = false;
        break;
    }
    if (endedEarly) break;
    if (ok && advanceAfter) ok = advance();
    if (ok && status_.cancelled()) {
      fail(platform::kSpoolUserAbort);
      ok = false;
    }
    if (!ok) return abortJob();
    status_.step();
  }

  int r = target_.endPage();
  if (r <= 0) {
    fail(r);
    return abortJob();
  }
  if (!endedEarly) {
    // One empty page feeds the last printed one out.
    if (!startPage()) return abortJob();
    r = target_.endPage();
    if (r <= 0) {
      fail(r);
      return abortJob();
    }
  }
  status_.close();
  r = target_.endDocument();
  if (r <= 0) {
    fail(r);
    target_.abortDocument();
    prompter_.ask(failureMessage(r));
    return JobOutcome::Failed;
  }
  if (endedEarly) {
    platform::tell(prompter_, "ERROR", kPrintingStopped, platform::Icon::Error);
    return JobOutcome::EndedEarly;
  }
  platform::tell(prompter_, "MESSAGE", finishedMessage(target_), platform::Icon::Information);
  return JobOutcome::Finished;
}

}  // namespace pagemill
