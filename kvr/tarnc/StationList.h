#pragma once
// The station list of the TARN-C task panel: nine numbers a row, three layouts (stations,
// roll test, continuous survey), and the per-cell texts and colours the view shows. The last
// row is the current row, the one being filled.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kvr::tarnc {

enum Status : int {
  kMoving = 1, kNotReady = 2, kReady = 3, kAcquiring0 = 4, kAcquiring180 = 5, kFlipping = 6, kDone = 7, kWaiting = 8
};

enum class Layout { Stations = 0, RollTest = 1, Continuous = 2 };

// Station, File, Depth, Deviation, Azimuth, HSTF, GYROTF, Quality, Status.
struct StationRow {
  std::array<double, 9> v{};
  double& station() { return v[0]; }
  double& file() { return v[1]; }
  double& depth() { return v[2]; }
  double& quality() { return v[7]; }
  double& status() { return v[8]; }
  double get(int i) const { return v[static_cast<std::size_t>(i)]; }
};

struct ListRow {
  StationRow row;
  bool muleshoe = false;  // the report line carries the tool-face offset note: shaded
};

using Rgb = std::uint32_t;  // red + 256 x green + 65536 x blue
constexpr Rgb rgb(int r, int g, int b) {
  return static_cast<Rgb>(r) | (static_cast<Rgb>(g) << 8) | (static_cast<Rgb>(b) << 16);
}

struct CellLook {
  std::string text;
  Rgb background = rgb(255, 255, 255);
  Rgb foreground = rgb(0, 0, 0);
  bool emphasised = false;
};

class StationList {
 public:
  StationList() { reset(Layout::Stations); }

  // Any layout starts with station counter 1 and a current row of zeros with status "Not Ready".
  void reset(Layout layout);
  Layout layout() const { return layout_; }
  const std::vector<ListRow>& rows() const { return rows_; }
  StationRow& current() { return rows_.back().row; }
  // The current row is finished: a new one follows it.
  void addRow(const StationRow& next, bool muleshoe = false);
  void setCurrentMuleshoe(bool on) { rows_.back().muleshoe = on; }

  static const char* statusText(int code);
  static std::vector<std::string> columns(Layout layout);
  CellLook cell(std::size_t row, int column) const;

 private:
  Layout layout_ = Layout::Stations;
  std::vector<ListRow> rows_;
};

}  // namespace kvr::tarnc
