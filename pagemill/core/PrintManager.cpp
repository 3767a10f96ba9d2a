#include "pagemill/core/PrintManager.h"

#include <algorithm>
#include <fstream>

#include "pagemill/core/HeaderWnd.h"
#include "pagemill/core/PagemillSettings.h"
#include "pagemill/core/PrintPlaces.h"

namespace pagemill {

namespace {

constexpr const char* kOneHeader = "There is a header already in the print list\nOnly one header a list is allowed !";
constexpr const char* kOneTail = "There is a Tail already in the print list\nOnly one Tail a list is allowed !";
constexpr const char* kAnotherRemarks = "There is a Remark table already in the print list\nDo you want to add it anyway ?";
constexpr const char* kEmptyList = "The list is empty !. Create a list before trying to save it";
constexpr const char* kOverride = "You are about to override the current print list !\nDo You want to proceed ?";
constexpr const char* kNotSaved = "File Could not be saved";
constexpr const char* kNotRead = "File Could not be read";
constexpr const char* kListFilter = "KVR printing list (*.wpl)|*.wpl||";

// Entries are lines of the list file: a line end inside one would split it.
std::string oneLine(std::string s) {
  std::replace(s.begin(), s.end(), '\r', ' ');
  std::replace(s.begin(), s.end(), '\n', ' ');
  return s;
}

}  // namespace

CPrintManager::CPrintManager(platform::Settings& settings, platform::Prompter& prompter, CHeaderWnd& templates,
                             std::filesystem::path dataRoot)
    : settings_(settings), prompter_(prompter), templates_(templates), dataRoot_(std::move(dataRoot)) {
  const int mode = settings_.getInt(keys::kPrintManager, keys::kPrintMode, 0);
  setPrintMode(mode);
  setBlankPage(settings_.getString(keys::kPrintManager, keys::kPaperAdvance, "NONE"));
  offset_ = settings_.getInt(keys::kPrintManager, keys::kOffsetAdvance, 0);
}

void CPrintManager::setBlankPage(const std::string& name) {
  blankPage_ = kBlankPages[0].name;
  for (const auto& b : kBlankPages)
    if (name == b.name) blankPage_ = b.name;
}

// A flag tells whether the list holds an entry of its kind.
void CPrintManager::refreshFlags() {
  header_ = tail_ = remarks_ = false;
  for (const auto& e : entries_) {
    const EntryKind k = parseEntry(e).kind;
    header_ = header_ || k == EntryKind::Header;
    tail_ = tail_ || k == EntryKind::Tail;
    remarks_ = remarks_ || k == EntryKind::Remarks;
  }
}

std::size_t CPrintManager::append(std::string entry) {
  entries_.push_back(oneLine(std::move(entry)));
  refreshFlags();
  return entries_.size() - 1;
}

std::optional<std::size_t> CPrintManager::addHeader() {
  if (header_) {
    platform::tell(prompter_, "MESSAGE", kOneHeader, platform::Icon::Information);
    return std::nullopt;
  }
  entries_.insert(entries_.begin(), oneLine(kHeaderPrefix + templates_.templatePath(kHeaderTemplate)));
  header_ = true;
  return 0;
}

std::optional<std::size_t> CPrintManager::addTail() {
  if (tail_) {
    platform::tell(prompter_, "MESSAGE", kOneTail, platform::Icon::Information);
    return std::nullopt;
  }
  return append(kTailPrefix + templates_.templatePath(kTailTemplate));
}

std::optional<std::size_t> CPrintManager::addSeparator() {
  const auto text = prompter_.inputText({"Text Input", "Separator Text", "", static_cast<int>(kSeparatorTextMax)});
  if (!text) return std::nullopt;
  return append(kSeparatorPrefix + text->substr(0, kSeparatorTextMax));
}

std::optional<std::size_t> CPrintManager::addFile() {
  const auto path = prompter_.openFile({"", "KVR Data files (*.cdf)|*.cdf||", "", "cdf", logFolder({}, dataRoot_).string()});
  if (!path) return std::nullopt;
  return append(kFilePrefix + *path);
}

std::optional<std::size_t> CPrintManager::addPicture() {
  const auto path = prompter_.openFile({"", "Bitmap Picture files (*.bmp)|*.bmp|JPEG File (*.jpg)|*.jpg||", "", "bmp", dataRoot_.string()});
  if (!path) return std::nullopt;
  return append(kPicturePrefix + *path);
}

std::optional<std::size_t> CPrintManager::addTextFile() {
  const auto path = prompter_.openFile({"", "Text files (*.txt)|*.txt||", "", "txt", dataRoot_.string()});
  if (!path) return std::nullopt;
  return append(kTextFilePrefix + *path);
}

std::optional<std::size_t> CPrintManager::addRemarks() {
  if (remarks_ &&
      prompter_.ask({"MESSAGE", kAnotherRemarks, platform::Buttons::YesNo, platform::Icon::Question}) != platform::Answer::Yes)
    return std::nullopt;
  return append(kRemarksPrefix + templates_.templatePath(kRemarksTemplate));
}

std::size_t CPrintManager::moveUp(std::size_t i) {
  if (i == 0 || i >= entries_.size()) return i;
  std::swap(entries_[i], entries_[i - 1]);
  return i - 1;
}

std::size_t CPrintManager::moveDown(std::size_t i) {
  if (i + 1 >= entries_.size()) return i;
  std::swap(entries_[i], entries_[i + 1]);
  return i + 1;
}

void CPrintManager::remove(std::size_t i) {
  if (i >= entries_.size()) return;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
  refreshFlags();
}

bool CPrintManager::saveListAs(const std::string& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) out << writePrintList(entries_);
  if (!out) {
    platform::tell(prompter_, "ERROR", kNotSaved, platform::Icon::Error);
    return false;
  }
  return true;
}

bool CPrintManager::saveList() {
  if (entries_.empty()) {
    platform::tell(prompter_, "MESSAGE", kEmptyList, platform::Icon::Information);
    return false;
  }
  const auto path = prompter_.saveFile({"", kListFilter, "MyPrintList", "wpl", dataRoot_.string()});
  if (!path) return false;
  return saveListAs(*path);
}

bool CPrintManager::openListFile(const std::string& path) {
  const auto text = readFilePrefix(path, kListFileMax);
  if (!text) {
    platform::tell(prompter_, "ERROR", kNotRead, platform::Icon::Error);
    return false;
  }
  // Entries read from a file set the flags as the Add buttons would, so that the
  // one-header and one-tail rules hold for a loaded list too.
  for (auto& line : readPrintList(*text)) append(std::move(line));
  return true;
}

bool CPrintManager::openList() {
  const auto path = prompter_.openFile({"", kListFilter, "", "wpl", dataRoot_.string()});
  if (!path) return false;
  if (!entries_.empty()) {
    if (prompter_.ask({"ATTENTION", kOverride, platform::Buttons::YesNo, platform::Icon::Question}) != platform::Answer::Yes)
      return false;
    entries_.clear();
    refreshFlags();
  }
  return openListFile(*path);
}

JobOutcome CPrintManager::printNow(bool english, const std::function<platform::PrintTarget*()>& choosePrinter,
                                   PrintStatus& status) {
  if (entries_.empty()) return JobOutcome::NothingToPrint;
  settings_.setInt(keys::kPrintManager, keys::kPrintMode, printMode_);
  platform::PrintTarget* target = choosePrinter ? choosePrinter() : nullptr;
  if (!target) return JobOutcome::NothingToPrint;
  settings_.setString(keys::kPrintManager, keys::kPaperAdvance, blankPage_);
  settings_.setInt(keys::kPrintManager, keys::kOffsetAdvance, offset_);
  JobOptions o;
  o.english = english;
  o.printMode = printMode_;
  o.blankAdvance = blankPageAdvance(blankPage_);
  o.offsetAdvance = offset_;
  PrintJob job(*target, prompter_, templates_, status, o);
  return job.run(entries_);
}

}  // namespace pagemill
