#pragma once
// "Load Parameters" (dialog "Load Parameter Selector"): the stored parameter blocks of a
// recorded file, for the tools that the file and the current string both hold (same name),
// copied into the current TOOLS parameter arrays.

#include <filesystem>
#include <string>
#include <vector>

#include "common/datafile/CFileManager.h"
#include "common/records/ToolParameter.h"
#include "kvr/core/CToolManager.h"
#include "platform/Prompter.h"

namespace kvr {

class CToolSelector {
 public:
  CToolSelector(CToolManager& manager, CFileManager& files, platform::Prompter& prompter);

  // Asks for a data file in the session folder and reads its tool list and parameter blocks;
  // false (after the message) when it cannot.
  bool chooseFile(const std::filesystem::path& sessionFolder);
  // Reads a given file the same way.
  bool readFile(const std::filesystem::path& path);

  // The names the dialog lists.
  const std::vector<std::string>& candidates() const { return candidates_; }
  // OK with the chosen names: each one's stored block goes into its tool's parameter array.
  // A block whose length differs from the tool's list is refused with the integrity message
  // and the others are still loaded. Returns how many were loaded.
  int apply(const std::vector<std::string>& chosen);

 private:
  struct Stored {
    std::string name;
    std::uint8_t code;
    std::vector<records::ToolParameterS> block;
  };
  CToolManager& manager_;
  CFileManager& files_;
  platform::Prompter& prompter_;
  std::vector<Stored> stored_;
  std::vector<std::string> candidates_;
};

}  // namespace kvr
