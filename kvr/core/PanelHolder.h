#pragma once
// The one task panel a room keeps for the confirmed string: made from its ports when the
// string has the room's tool, gone with the next confirmation. The program hears of both,
// and of the going while the panel still lives, so a window over it goes first.

#include <functional>
#include <memory>

namespace kvr {

template <class Panel, class Ports>
class PanelHolder {
 public:
  PanelHolder(std::function<Ports()> ports, std::function<void()> changed)
      : ports_(std::move(ports)), changed_(std::move(changed)) {}

  void make() {
    if (panel_) return;  // one panel for the string
    panel_ = std::make_unique<Panel>(ports_());
    if (changed_) changed_();
  }
  void destroy() {
    if (!panel_) return;
    auto going = std::move(panel_);
    if (changed_) changed_();
  }
  Panel* panel() { return panel_.get(); }

 private:
  std::function<Ports()> ports_;
  std::function<void()> changed_;
  std::unique_ptr<Panel> panel_;
};

}  // namespace kvr
