#pragma once
// The "ToolString Manager" dialog as logic: the "Available Tools", "Acsesories" and
// "Defined ToolString" lists, every editing rule and message, and the draft tool list the
// sketch draws. OK hands the draft to CToolManager and confirms it; closing without OK
// leaves the previous string as it was.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/datafile/FilePorts.h"
#include "common/records/ChannelStruct.h"
#include "kvr/core/CSingleValueInput.h"
#include "kvr/core/CToolManager.h"
#include "kvr/core/ToolListFile.h"
#include "platform/Prompter.h"

namespace kvr {

struct StringItem {
  std::string text;  // the name as listed; accessories start with "**"
  std::uint32_t serial = 0;
  friend bool operator==(const StringItem&, const StringItem&) = default;
};

class ToolStringEditor {
 public:
  ToolStringEditor(CToolManager& manager, platform::Prompter& prompter, FileSystem& fs,
                   std::filesystem::path toolListPath);

  // Opening the dialog: the current string, the lists from ToolList.txt, then the TOOLS
  // memory of the current tools is released.
  void open();

  const std::vector<std::string>& availableTools() const { return available_; }
  const std::vector<std::string>& accessories() const { return accessories_; }
  const std::vector<StringItem>& items() const { return items_; }
  // The tool list rebuilt from the items after the last change (what the sketch draws).
  const records::ToolList& draft() const { return draft_; }
  bool toolListLoaded() const { return file_.has_value(); }

  // Each returns the index of the item that should be selected afterwards, or nullopt when
  // nothing changed.
  std::optional<std::size_t> addTool(std::size_t availableIndex);      // "<<", double click
  std::optional<std::size_t> removeItem(std::size_t item);             // ">>", "&Remove Tool"
  std::optional<std::size_t> moveUp(std::size_t item);                 // "&Up"
  std::optional<std::size_t> moveDown(std::size_t item);               // "&Down"
  std::optional<std::size_t> addAccessoryOnTop(std::size_t accessory); // "Add on TOP"
  std::optional<std::size_t> addAccessory(std::size_t accessory);      // "Add", double click

  // "&Serial Number": the dialog to show for an item, and the value it gave.
  CSingleValueInput serialNumberInput(std::size_t item) const;
  void setSerialNumber(std::size_t item, std::uint32_t serial);

  // OK: the draft becomes the tool string and is confirmed.
  void confirm(std::int32_t modeWord);

  static bool isSpinner(std::string_view name);
  static bool isAccessory(std::string_view name);

 private:
  void rebuild();
  std::optional<std::size_t> spinnerIndex() const;

  CToolManager& manager_;
  platform::Prompter& prompter_;
  FileSystem& fs_;
  std::filesystem::path path_;
  std::optional<ToolListFile> file_;
  std::vector<std::string> available_;
  std::vector<std::string> accessories_;
  std::vector<StringItem> items_;
  records::ToolList draft_;
  records::ToolList original_;
};

}  // namespace kvr
