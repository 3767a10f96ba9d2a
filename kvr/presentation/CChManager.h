#pragma once
// "Channels": the channel chooser of the curve editor and the monitors. It lists the names
// of the channel list; OK hands back the chosen channel with its position in the list.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/records/ChannelStruct.h"

namespace kvr::editor {

struct ChosenChannel {
  records::ChannelStruct channel;
  std::size_t position = 0;  // in the channel list
};

class CChManager {
 public:
  explicit CChManager(std::span<const records::ChannelStruct> channels);

  const std::vector<std::string>& names() const { return names_; }
  void select(std::size_t row);
  std::optional<std::size_t> selected() const { return selected_; }
  // OK: the selected channel, if a row is selected.
  std::optional<ChosenChannel> chosen() const;

 private:
  std::vector<records::ChannelStruct> channels_;
  std::vector<std::string> names_;
  std::optional<std::size_t> selected_;
};

}  // namespace kvr::editor
