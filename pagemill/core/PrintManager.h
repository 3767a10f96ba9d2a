#pragma once
// The "Print Manager" dialog without its window: the print list and the rules of its
// buttons, the list file, the paper options kept in the settings, and "&Print Now".

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "pagemill/core/PagemillSettings.h"
#include "pagemill/core/PrintJob.h"
#include "pagemill/core/PrintList.h"
#include "platform/PrintTarget.h"
#include "platform/Prompter.h"
#include "platform/Settings.h"

namespace pagemill {

class CPrintManager {
 public:
  // The file dialogs for logs, pictures, text files and lists start in dataRoot.
  CPrintManager(platform::Settings& settings, platform::Prompter& prompter, CHeaderWnd& templates,
                std::filesystem::path dataRoot = {});

  const std::vector<std::string>& entries() const { return entries_; }
  bool hasHeader() const { return header_; }
  bool hasTail() const { return tail_; }
  bool hasRemarks() const { return remarks_; }

  // The buttons; each returns the index of the entry it added, or nothing.
  std::optional<std::size_t> addHeader();
  std::optional<std::size_t> addTail();
  std::optional<std::size_t> addSeparator();
  std::optional<std::size_t> addFile();
  std::optional<std::size_t> addPicture();
  std::optional<std::size_t> addTextFile();
  std::optional<std::size_t> addRemarks();
  // Exchange with the neighbour; the new index of the moved entry.
  std::size_t moveUp(std::size_t index);
  std::size_t moveDown(std::size_t index);
  // Double-click: delete the entry.
  void remove(std::size_t index);

  // "&Save This List" and "&Open a List File"; false when nothing was written or read.
  bool saveList();
  bool openList();
  // The same by name, without dialogs (headless printing); messages as the menu shows them.
  bool saveListAs(const std::string& path);
  bool openListFile(const std::string& path);

  // Paper options, loaded from the settings when the dialog opens.
  int printMode() const { return printMode_; }  // 1, 2 or 3
  void setPrintMode(int mode) { printMode_ = mode == kHpPrinter || mode == kPdfWriter ? mode : kPlainPrinter; }
  const std::string& blankPage() const { return blankPage_; }
  void setBlankPage(const std::string& name);
  int offsetAdvance() const { return offset_; }
  void setOffsetAdvance(int hundredthsMm) { offset_ = hundredthsMm; }

  // "&Print Now". choosePrinter is the standard print dialog: a print target, or nothing
  // when cancelled. Stores the options in the settings as the job starts.
  JobOutcome printNow(bool english, const std::function<platform::PrintTarget*()>& choosePrinter, PrintStatus& status);

 private:
  std::size_t append(std::string entry);
  void refreshFlags();

  platform::Settings& settings_;
  platform::Prompter& prompter_;
  CHeaderWnd& templates_;
  std::filesystem::path dataRoot_;
  std::vector<std::string> entries_;
  bool header_ = false, tail_ = false, remarks_ = false;
  int printMode_ = kPlainPrinter;
  std::string blankPage_ = kBlankPages[0].name;
  int offset_ = 0;
};

}  // namespace pagemill
