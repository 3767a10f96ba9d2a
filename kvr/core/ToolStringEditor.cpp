#include "kvr/core/ToolStringEditor.h"

#include <algorithm>

#include "kvr/core/ToolManagerMessages.h"

namespace kvr {
namespace {
constexpr std::size_t kProblemsShown = 10;
}

ToolStringEditor::ToolStringEditor(CToolManager& manager, platform::Prompter& prompter, FileSystem& fs,
                                   std::filesystem::path toolListPath)
    : manager_(manager), prompter_(prompter), fs_(fs), path_(std::move(toolListPath)) {}

bool ToolStringEditor::isSpinner(std::string_view name) { return name.find("DUNE") != std::string_view::npos; }
bool ToolStringEditor::isAccessory(std::string_view name) { return name.rfind("**", 0) == 0; }

void ToolStringEditor::open() {
  items_.clear();
  original_ = manager_.toolList();
  for (const auto& t : original_) items_.push_back({t.name, t.serial()});
  available_.clear();
  accessories_.clear();
  file_ = loadToolList(fs_, path_);
  if (!file_) {
    platform::tell(prompter_, toolmsg::kErrorTitle, toolmsg::kToolListMissing, platform::Icon::Error);
  } else {
    if (!file_->problems.empty()) {
      std::string text = toolmsg::kToolListProblems;
      for (std::size_t i = 0; i < file_->problems.size() && i < kProblemsShown; ++i) text += "\n" + file_->problems[i];
      platform::tell(prompter_, toolmsg::kToolListProblemsTitle, text, platform::Icon::Warning);
    }
    for (const auto& name : file_->tools) {
      const bool inString = std::any_of(items_.begin(), items_.end(), [&](const StringItem& i) { return i.text == name; });
      if (!inString) available_.push_back(name);
    }
    accessories_ = file_->accessories;
  }
  manager_.freeToolsMemory();
  rebuild();
}

std::optional<std::size_t> ToolStringEditor::spinnerIndex() const {
  for (std::size_t i = 0; i < items_.size(); ++i)
    if (isSpinner(items_[i].text)) return i;
  return std::nullopt;
}

std::optional<std::size_t> ToolStringEditor::addTool(std::size_t availableIndex) {
  if (availableIndex >= available_.size()) return std::nullopt;
  const std::string name = available_[availableIndex];
  const auto spinner = spinnerIndex();
  if (spinner && isSpinner(name)) {
    platform::tell(prompter_, toolmsg::kInputErrorTitle, toolmsg::kDuplicateSpinner, platform::Icon::Error);
    return std::nullopt;
  }
  const std::size_t at = spinner ? *spinner : items_.size();
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), StringItem{name, 0});
  available_.erase(available_.begin() + static_cast<std::ptrdiff_t>(availableIndex));
  rebuild();
  return at;
}

std::optional<std::size_t> ToolStringEditor::removeItem(std::size_t item) {
  if (item >= items_.size() || isAccessory(items_[item].text)) return std::nullopt;
  available_.push_back(items_[item].text);
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(item));
  rebuild();
  if (items_.empty()) return std::nullopt;
  return std::min(item, items_.size() - 1);
}

std::optional<std::size_t> ToolStringEditor::moveUp(std::size_t item) {
  if (item == 0 || item >= items_.size()) return std::nullopt;
  if (isSpinner(items_[item].text) && !isAccessory(items_[item - 1].text)) return std::nullopt;
  std::swap(items_[item], items_[item - 1]);
  rebuild();
  return item - 1;
}

std::optional<std::size_t> ToolStringEditor::moveDown(std::size_t item) {
  if (item + 1 >= items_.size()) return std::nullopt;
  if (isSpinner(items_[item + 1].text)) return std::nullopt;
  std::swap(items_[item], items_[item + 1]);
  rebuild();
  return item + 1;
}

std::optional<std::size_t> ToolStringEditor::addAccessoryOnTop(std::size_t accessory) {
  if (accessory >= accessories_.size()) return std::nullopt;
  items_.insert(items_.begin(), StringItem{accessories_[accessory], 0});
  rebuild();
  return 0;
}

std::optional<std::size_t> ToolStringEditor::addAccessory(std::size_t accessory) {
  if (accessory >= accessories_.size()) return std::nullopt;
  const auto spinner = spinnerIndex();
  const std::size_t at = spinner ? *spinner : items_.size();
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), StringItem{accessories_[accessory], 0});
  rebuild();
  return at;
}

CSingleValueInput ToolStringEditor::serialNumberInput(std::size_t item) const {
  const double current = item < items_.size() ? items_[item].serial : 0;
  return CSingleValueInput("Input Serial Number", "Serial Number:", 0, 999, CSingleValueInput::Mode::Integer, current);
}

void ToolStringEditor::setSerialNumber(std::size_t item, std::uint32_t serial) {
  if (item >= items_.size() || serial > 999) return;
  items_[item].serial = serial;
  rebuild();
}

void ToolStringEditor::rebuild() {
  draft_.clear();
  for (const auto& item : items_) {
    if (file_) {
      if (auto e = file_->makeEntry(item.text, item.serial)) draft_.push_back(std::move(*e));
      continue;
    }
    // Without a tool list the string cannot change its tools; it keeps the entries it had.
    for (const auto& e : original_) {
      if (e.name != item.text) continue;
      draft_.push_back(e);
      draft_.back().setSerial(item.serial);
      break;
    }
  }
}

void ToolStringEditor::confirm(std::int32_t modeWord) {
  manager_.setToolList(draft_);
  manager_.confirmString(modeWord);
}

}  // namespace kvr
