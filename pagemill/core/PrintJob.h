#pragma once
// The print job: the entries of a print list, page by page, onto a PrintTarget, with the
// blank-page advance, the gap after each entry and the spooler's failures.

#include <string>
#include <vector>

#include "pagemill/core/HeaderWnd.h"
#include "pagemill/core/PageFlow.h"
#include "pagemill/core/PagemillSettings.h"
#include "platform/PrintTarget.h"
#include "platform/Prompter.h"

namespace pagemill {

inline constexpr const char* kDocumentName = "KVR Printing Job";
inline constexpr const char* kPrintingFinished = "Printing has finished";
// A log of the list that could not be printed ends the job; it never counts as finished.
inline constexpr const char* kPrintingStopped = "Printing has stopped: a log of the list could not be printed";

// The "Printing Status" window.
class PrintStatus {
 public:
  virtual ~PrintStatus() = default;
  virtual void open(int entries) { (void)entries; }
  virtual void show(const std::string& text) { (void)text; }
  virtual void step() {}
  virtual void close() {}
  // The user asked to stop: the job ends as a user abort.
  virtual bool cancelled() { return false; }
};

// The log's width K on paper, in millimetres: 8150 x 0.001 inch or 20700 x 0.01 mm.
inline double logWidthMm(bool english) { return english ? 8150 * 0.0254 : 20700 * 0.01; }

// "Printing has finished", and where the document went when the target tells.
std::string finishedMessage(const platform::PrintTarget& target);

struct BlankPage {
  const char* name;
  int advance;  // 0.01 mm, negative: down the paper
};
inline constexpr BlankPage kBlankPages[4] = {
    {"NONE", 0}, {"6 in PAGE", -15105}, {"6.25 in PAGE", -16058}, {"6.25 in EPSON", -14175}};
// The advance of a "Blank Page:" choice; the first when the name is unknown.
int blankPageAdvance(const std::string& name);

struct JobOptions {
  bool english = true;
  int printMode = kPlainPrinterMode;
  int blankAdvance = 0;   // 0.01 mm
  int offsetAdvance = 0;  // 0.01 mm, as entered
  static constexpr int kPlainPrinterMode = 3;
};

enum class JobOutcome { Finished, EndedEarly, Failed, NothingToPrint };

// Guards against hostile entries: a template that would be repeated, or a picture or a
// text file that would run, over more pages than this stops there.
constexpr int kMaxPagesPerEntry = 100;

class PrintJob final : public PageFlow {
 public:
  PrintJob(platform::PrintTarget& target, platform::Prompter& prompter, CHeaderWnd& templates, PrintStatus& status,
           JobOptions options);

  JobOutcome run(const std::vector<std::string>& entries);
  // The page call result that stopped a failed job.
  int failureCode() const { return failure_; }
  int pagesStarted() const { return pagesStarted_; }
  int position() const { return e_; }
  int gap() const { return gap_; }

  // PageFlow
  platform::Canvas& canvas() override { return target_.canvas(); }
  int pageHeight() const override { return pageH_; }
  int pageWidth() const override { return pageW_; }
  bool englishUnits() const override { return options_.english; }
  bool nextPage() override;

  // The failure messages of the spooler codes.
  static platform::Message failureMessage(int code);

 private:
  bool startPage();
  bool printTemplate(int kind);
  bool printPicture(const std::string& path);
  bool printTextFile(const std::string& path);
  bool advance();
  void fail(int code);

  platform::PrintTarget& target_;
  platform::Prompter& prompter_;
  CHeaderWnd& templates_;
  PrintStatus& status_;
  JobOptions options_;
  int pageH_ = 0, pageW_ = 0;
  int e_ = 0, gap_ = 0;
  int pagesStarted_ = 0;
  int failure_ = 0;
  bool failed_ = false;
};

}  // namespace pagemill
