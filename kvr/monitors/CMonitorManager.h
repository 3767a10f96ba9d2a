#pragma once
// "Monitors": twenty boxes that show the newest value of chosen channels, the magnified
// monitors made from them, and the monitor file. Boxes are bound through the channel
// chooser and re-bound by name whenever the channel list is rebuilt.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/datafile/FilePorts.h"
#include "kvr/core/CToolManager.h"
#include "kvr/monitors/MonitorFile.h"
#include "kvr/presentation/CChManager.h"
#include "platform/Prompter.h"

namespace kvr::monitors {

inline constexpr const char* kMonitorFilter = "KVR Monitor File (*.mon)|*.mon||";
inline constexpr const char* kMonitorDefaultName = "MyMonitors";
inline constexpr const char* kSaveOpenFailed = "The requested file could not be opened";
inline constexpr const char* kSaveShort = "Monitor File Could Not Be Saved - Check for enough disk space and try again";
inline constexpr const char* kLoadOpenFailed = "The requested monitor file could not be opened";
inline constexpr const char* kLoadNotValid = "This file is not a valid Monitor File";
inline constexpr const char* kLoadShort = "Monitor File Could Not Be Read";
// Ids of the boxes' controls; a loaded file's ids never replace them.
inline constexpr std::uint32_t kTextIdBase = 1001;
inline constexpr std::uint32_t kButtonIdBase = 1021;

struct MagnifiedMonitor {
  int id = 0;
  MonitorBox box;  // a copy: closing the box leaves it showing
  std::string value;
};

class CMonitorManager {
 public:
  // mainFolder: where the file dialogs start (it may change while the program runs).
  CMonitorManager(platform::Prompter& prompter, FileSystem& files, const CToolManager& tools,
                  const std::filesystem::path& mainFolder);

  // The channel list boxes are bound from.
  const records::ChannelList& channels() const { return tools_.channels(); }
  const MonitorBox& box(std::size_t i) const { return boxes_.at(i); }
  // The channel name, " [", the units and "]"; empty for an inactive box.
  static std::string caption(const MonitorBox& box);
  std::string caption(std::size_t i) const { return caption(boxes_.at(i)); }
  // The newest value in the number text form; empty until the first update and when inactive.
  const std::string& value(std::size_t i) const { return values_.at(i); }

  // The channel chooser's answer for a box.
  void bind(std::size_t i, const editor::ChosenChannel& chosen);
  // "Close Monitor".
  void close(std::size_t i);
  // "Magnify Monitor": the new magnified monitor's id; nothing for an inactive box.
  std::optional<int> magnify(std::size_t i);
  void closeMagnified(int id);
  const std::vector<MagnifiedMonitor>& magnified() const { return magnified_; }
  const MagnifiedMonitor* findMagnified(int id) const;

  // After each batch of frames: every active box and magnified monitor from the newest row
  // of the sample ring. A column beyond the row makes its monitor inactive.
  void update();
  // The channel list was rebuilt: every active box and magnified monitor takes the channel of
  // its name again, or goes inactive when the list has none.
  void rebind();

  // "&Save Monitor" / "&Load Monitor": an empty name asks with the file dialog. True when done.
  bool save(const std::string& file = {});
  bool load(const std::string& file = {});
  // The last monitor file saved or loaded whole; empty when none.
  const std::string& latestFile() const { return latest_; }

 private:
  bool rebind(MonitorBox& box) const;
  std::optional<std::string> valueOf(MonitorBox& box) const;
  std::string askFile(bool forSaving);

  platform::Prompter& prompter_;
  FileSystem& files_;
  const CToolManager& tools_;
  const std::filesystem::path& mainFolder_;
  MonitorBoxes boxes_;
  std::array<std::string, kMonitorBoxes> values_;
  std::vector<MagnifiedMonitor> magnified_;
  int nextMagnified_ = 1;
  std::string latest_;
};

}  // namespace kvr::monitors
