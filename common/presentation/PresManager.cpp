#include "common/presentation/PresManager.h"

#include <fstream>
#include <iterator>
#include <optional>

#include "common/records/FileNameRule.h"

namespace presentation {

namespace {

constexpr const char* kFilter = "Presentation Format (*.txt)|*.txt||";
constexpr const char* kCannotOpen = "The requested file could not be opened";
constexpr const char* kNotValid = "The requested file is not a valid Presentation Format";
constexpr const char* kEraseQuestion = "Do you really want to erase the selected Format(s) ?";
constexpr const char* kSameNames =
    "There are formats having the same name. You cannot repeat the names.\n"
    "Please change this before you get any further !";
constexpr const char* kNameLeavesFolder =
    "A Format name names its chart data files: it cannot hold \"/\" or \"\\\" or be \".\" or \"..\".\n"
    "Please change this before you get any further !";
constexpr int kScales[5] = {40, 100, 200, 500, 1000};
// Presentation files are a few kilobytes; anything far larger is not one.
constexpr std::uintmax_t kLargestFile = 16u << 20;

std::optional<std::string> slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size > kLargestFile) return std::string();  // read as an empty, invalid file
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

CPresManager::CPresManager(platform::Prompter& prompter, std::filesystem::path mainFolder)
    : prompter_(prompter), mainFolder_(std::move(mainFolder)) {}

std::string CPresManager::askFile(bool forSaving) {
  platform::FileRequest request;
  request.filter = kFilter;
  request.defaultExtension = "txt";
  request.initialDir = mainFolder_.string();
  auto chosen = forSaving ? prompter_.saveFile(request) : prompter_.openFile(request);
  return chosen.value_or(std::string());
}

int CPresManager::open(const std::string& file) { return read(file, true); }

int CPresManager::append(const std::string& file) {
  if (formats_.size() >= kSlots) return 0;  // no empty slot: nothing happens
  return read(file, false);
}

int CPresManager::loadDefault() {
  const auto path = mainFolder_ / kDefaultFile;
  if (!std::filesystem::exists(path)) return -1;
  const auto text = slurp(path);
  if (!text) return -1;
  auto result = readPresentation(*text, kSlots);
  formats_.clear();
  deselectAll();
  if (result.outcome == PresentationRead::Outcome::Invalid) return -2;
  formats_ = std::move(result.formats);
  // Read at start-up: the names are checked as when the manager closes.
  if (const char* problem = namesProblem(formats_)) platform::tell(prompter_, "WARNING", problem, platform::Icon::Warning);
  return 0;
}

int CPresManager::read(const std::string& file, bool replace) {
  const bool fromDialog = file.empty();
  const std::string name = fromDialog ? askFile(false) : file;
  if (name.empty()) return -1;
  const auto text = slurp(name);
  if (!text) {
    platform::tell(prompter_, "FATAL ERROR", kCannotOpen, platform::Icon::Error);
    return -1;
  }
  if (replace) {
    formats_.clear();
    deselectAll();
  }
  auto result = readPresentation(*text, kSlots - formats_.size());
  if (result.outcome == PresentationRead::Outcome::Invalid) {
    // Nothing of an invalid file is kept: a replace read ends with empty slots, an append
    // leaves the slots as they were.
    if (fromDialog) platform::tell(prompter_, "FATAL ERROR", kNotValid, platform::Icon::Error);
    return -2;
  }
  for (auto& f : result.formats) formats_.push_back(std::move(f));
  return 0;
}

int CPresManager::save(const std::string& file) {
  const bool fromDialog = file.empty();
  const std::string name = fromDialog ? askFile(true) : file;
  if (name.empty()) return -1;
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  const std::string text = writePresentation(formats_);
  if (out) out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) {
    platform::tell(prompter_, "FATAL ERROR", kCannotOpen, platform::Icon::Error);
    return -1;
  }
  return 0;
}

void CPresManager::select(std::size_t slot, bool on) {
  if (slot < formats_.size()) selected_[slot] = on;
}

bool CPresManager::erase() {
  bool any = false;
  for (std::size_t i = 0; i < formats_.size(); ++i) any = any || selected_[i];
  if (!any) return false;
  const auto answer = prompter_.ask(
      platform::Message{"ATTENTION", kEraseQuestion, platform::Buttons::YesNo, platform::Icon::Question});
  if (answer != platform::Answer::Yes) return false;
  std::vector<CFormat> kept;
  for (std::size_t i = 0; i < formats_.size(); ++i)
    if (!selected_[i]) kept.push_back(std::move(formats_[i]));
  formats_ = std::move(kept);
  deselectAll();
  return true;
}

int CPresManager::scaleChoice(const CFormat& format) {
  for (int i = 0; i < 5; ++i)
    if (kScales[i] == format.scale) return 2 * i + (format.english ? 0 : 1);
  return -1;
}

void CPresManager::setSlot(std::size_t slot, const std::string& name, int choice) {
  if (slot >= formats_.size()) return;
  auto& f = formats_[slot];
  f.name = name.substr(0, kFormatNameMax);
  // Even choices are English, odd ones metric: the unit goes with the scale.
  if (choice >= 0 && choice < 10) {
    f.scale = kScales[choice / 2];
    f.english = choice % 2 == 0;
  }
}

const char* CPresManager::namesProblem(const std::vector<CFormat>& formats) {
  for (std::size_t i = 0; i < formats.size(); ++i) {
    if (!records::nameStaysInFolder(formats[i].name)) return kNameLeavesFolder;
    for (std::size_t j = i + 1; j < formats.size(); ++j)
      if (formats[i].name == formats[j].name) return kSameNames;
  }
  return nullptr;
}

bool CPresManager::exit() {
  if (const char* problem = namesProblem(formats_)) {
    platform::tell(prompter_, "WARNING", problem, platform::Icon::Warning);
    return false;
  }
  save((mainFolder_ / kDefaultFile).string());
  return true;
}

}  // namespace presentation
