#pragma once
// The presentation manager: the formats of the fifteen slots of "Log Page Presentations"
// and the file operations behind its buttons. The dialog copies its slot controls in
// with setSlot() and shows formats() and selected().

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "common/presentation/Format.h"
#include "common/presentation/PresentationFile.h"
#include "platform/Prompter.h"

namespace presentation {

class CPresManager {
 public:
  static constexpr std::size_t kSlots = kMaxFormats;
  static constexpr const char* kDefaultFile = "DEFAULT_FORMAT.TXT";
  // The shipped formats come in two files: DEFAULT_FORMAT.TXT with scales for metric logs (the
  // unit system KVR starts in) and this one with scales for logs in feet.
  static constexpr const char* kEnglishFile = "ENGLISH_FORMAT.TXT";
  static const char* shippedFile(bool english) { return english ? kEnglishFile : kDefaultFile; }

  CPresManager(platform::Prompter& prompter, std::filesystem::path mainFolder);

  // "Program Folder" changed: files are opened and saved in the new main folder from now on.
  void setMainFolder(std::filesystem::path folder) { mainFolder_ = std::move(folder); }
  const std::filesystem::path& mainFolder() const { return mainFolder_; }

  // Occupied slots are 0..size-1.
  const std::vector<CFormat>& formats() const { return formats_; }
  std::vector<CFormat>& formats() { return formats_; }
  // The current format: slot 0 after every read; null when there is none.
  CFormat* current() { return formats_.empty() ? nullptr : &formats_.front(); }

  // 0 read, -1 not opened (or no file chosen), -2 not a valid presentation file.
  // An empty name asks with the file dialog.
  int open(const std::string& file = {});
  int append(const std::string& file = {});
  // 0 written, -1 not written or no name chosen.
  int save(const std::string& file = {});
  // Reads DEFAULT_FORMAT.TXT of the main folder in replace mode, without messages.
  int loadDefault();

  void select(std::size_t slot, bool on);
  bool selected(std::size_t slot) const { return slot < kSlots && selected_[slot]; }
  void deselectAll() { selected_.fill(false); }
  // Asks, then deletes the selected formats and closes the gaps. True when any went.
  bool erase();

  // Scale choices "1/40 English" .. "1/1000 Metric": 0..9, or -1 for a scale not offered.
  static int scaleChoice(const CFormat& format);
  // Copies a slot's name box and scale choice (the unit flag is kept; -1 keeps the scale).
  void setSlot(std::size_t slot, const std::string& name, int choice);
  // Exit: false (after the warning) when two formats share a name; otherwise the formats
  // are written to DEFAULT_FORMAT.TXT and the dialog may close.
  bool exit();
  // The warning for names that cannot each name their own chart data file (repeated, or
  // leaving the folder), or nullptr.
  static const char* namesProblem(const std::vector<CFormat>& formats);

 private:
  int read(const std::string& file, bool replace);
  std::string askFile(bool forSaving);

  platform::Prompter& prompter_;
  std::filesystem::path mainFolder_;
  std::vector<CFormat> formats_;
  std::array<bool, kSlots> selected_{};
};

}  // namespace presentation
