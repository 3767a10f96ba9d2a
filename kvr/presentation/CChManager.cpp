#include "kvr/presentation/CChManager.h"

namespace kvr::editor {

CChManager::CChManager(std::span<const records::ChannelStruct> channels) : channels_(channels.begin(), channels.end()) {
  for (const auto& c : channels_) names_.push_back(c.mnemonic);
}

void CChManager::select(std::size_t row) {
  if (row < channels_.size()) selected_ = row;
}

std::optional<ChosenChannel> CChManager::chosen() const {
  if (!selected_) return std::nullopt;
  return ChosenChannel{channels_[*selected_], *selected_};
}

}  // namespace kvr::editor
