#pragma once
// "Channels": the channel chooser as a modal list of channel names.

#include <QDialog>

#include <optional>
#include <span>

#include "kvr/presentation/CChManager.h"

class QListWidget;

namespace kvr::ui {

class ChannelsDialog final : public QDialog {
 public:
  ChannelsDialog(std::span<const records::ChannelStruct> channels, QWidget* parent = nullptr);
  QListWidget* list() const { return list_; }
  const editor::CChManager& chooser() const { return chooser_; }

 private:
  editor::CChManager chooser_;
  QListWidget* list_;
};

// Runs the chooser; the chosen channel on OK with a row selected.
std::optional<editor::ChosenChannel> chooseChannel(QWidget* parent, std::span<const records::ChannelStruct> channels);

}  // namespace kvr::ui
