#pragma once
// Serves a simulated panel on a pseudo-terminal in real time: the host opens the terminal's
// slave side like a serial device. The slave is kept open and raw here, so the line stays up
// and nothing is echoed while no host is attached.

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>

#include "panelsim/PanelSimulator.h"

namespace panelsim {

class PtyServer {
 public:
  // link: optional symlink kept pointing at the current terminal (a disconnect makes a new one).
  PtyServer(PanelSimulator& panel, std::filesystem::path link = {});
  ~PtyServer();
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // Opens a terminal; its slave path, or an error text starting with "error: ".
  std::string open();
  const std::string& path() const { return path_; }
  // Serves until stop is set; onNewPath is told of each new terminal after a disconnect.
  void run(const std::atomic<bool>& stop, const std::function<void(const std::string&)>& onNewPath);

 private:
  void closePty();
  PanelSimulator& panel_;
  std::filesystem::path link_;
  int master_ = -1;
  int slave_ = -1;
  std::string path_;
};

}  // namespace panelsim
