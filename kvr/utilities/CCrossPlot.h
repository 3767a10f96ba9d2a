#pragma once
// The "Cross Plot Generator": loads a survey station file, computes its well path, keeps
// the plot settings and the drawing window's path list, and saves the path.

#include <filesystem>
#include <memory>
#include <string_view>

#include "kvr/utilities/CCrossPlotViewWnd.h"
#include "kvr/utilities/CrossPlotSettings.h"
#include "platform/Prompter.h"

namespace kvr::utilities {

class CCrossPlot {
 public:
  static constexpr const char* kFileFilter = "Ascii Data files (*.las)|*.las||";

  CCrossPlot(platform::Prompter& prompter, CCrossPlotViewWnd& view) : prompter_(prompter), view_(view) {}

  // "&Load Data": file dialog, the keep-previous question, then load().
  bool loadData();
  // Reads and computes the station file; on success the table and the automatic ranges
  // replace the previous ones. A failed load leaves everything as it was.
  bool load(const std::filesystem::path& file, bool keepPrevious);
  bool loadText(std::string_view text, bool keepPrevious);

  void setPlotKind(PlotKind kind) { settings_.kind = kind; }
  // "&Plot Now !": updates the drawing window's list and settings; the view then repaints.
  void plotNow();
  // "&Save File": save dialog and the path file; nothing without a table.
  bool saveFile();
  bool save(const std::filesystem::path& file);

  bool hasTable() const { return table_ != nullptr; }
  const PathTable& table() const;
  const PlotSettings& settings() const { return settings_; }
  // From the setup dialog.
  void setSettings(const PlotSettings& s) { settings_ = s; }
  // The automatic ranges of the loaded table with the current plot kind and grid.
  PlotSettings automaticSettings() const;

 private:
  platform::Prompter& prompter_;
  CCrossPlotViewWnd& view_;
  std::shared_ptr<const PathTable> table_;
  PlotSettings settings_;
  bool keepPrevious_ = false;
  bool newTable_ = false;  // loaded since the last "Plot Now"
};

}  // namespace kvr::utilities
