#include "kvr/tarnc/StationList.h"

#include "platform/TextFormat.h"

namespace kvr::tarnc {

using platform::format;

namespace {

constexpr Rgb kWhite = rgb(255, 255, 255);
constexpr Rgb kBlack = rgb(0, 0, 0);
constexpr Rgb kMuleshoe = rgb(255, 230, 204);  // rows whose angles carry the tool-face offset note

}  // namespace

void StationList::reset(Layout layout) {
  layout_ = layout;
  rows_.clear();
  StationRow first;
  first.station() = 1;
  first.status() = kNotReady;
  rows_.push_back({first, false});
}

void StationList::addRow(const StationRow& next, bool muleshoe) { rows_.push_back({next, muleshoe}); }

const char* StationList::statusText(int code) {
  switch (code) {
    case kMoving: return "Moving";
    case kNotReady: return "Not Ready";
    case kReady: return "Ready";
    case kAcquiring0:
    case kAcquiring180: return "Acquiring";
    case kFlipping: return "Flipping...";
    case kDone: return "DONE";
    case kWaiting: return "Waiting...";
    default: return "";
  }
}

std::vector<std::string> StationList::columns(Layout layout) {
  switch (layout) {
    case Layout::RollTest:
      return {"Station", "File", "Position", "RateX", "RateY", "AccelX", "AccelY", "AccelZ", "Status"};
    case Layout::Continuous:
      return {"File",          "Initial Depth",     "Final Depth",   "Initial Azimuth", "Initial Toolface",
              "Initial Deviation", "Final Azimuth", "Final Toolface", "Final Deviation"};
    case Layout::Stations:
    default:
      return {"Station", "File", "Depth", "Deviation", "Azimuth", "HSTF", "GYROTF", "Quality", "Status"};
  }
}

CellLook StationList::cell(std::size_t row, int column) const {
  CellLook look;
  if (row >= rows_.size() || column < 0 || column > 8) return look;
  const ListRow& r = rows_[row];
  const double v = r.row.get(column);
  if (r.muleshoe) look.background = kMuleshoe;
  if (layout_ == Layout::Continuous) {
    look.text = format(column == 0 ? "%.0f" : "%.2f", v);
    return look;
  }
  switch (column) {
    case 0: look.text = format("%.0f", v); break;
    case 1: look.text = v < 0 ? "-NA-" : format("%03.0f", v); break;
    case 2:
      look.text = v <= -99999 ? "..." : format(layout_ == Layout::RollTest ? "%.0f" : "%.1f", v);
      break;
    case 7: look.text = format(layout_ == Layout::RollTest ? "%.4f" : "%.1f", v); break;
    case 8: {
      const int code = static_cast<int>(v);
      look.text = statusText(code);
      switch (code) {
        case kMoving: look.background = rgb(0, 21, 127), look.foreground = kWhite; break;
        case kNotReady: look.background = rgb(127, 0, 0), look.foreground = kWhite; break;
        case kReady: look.background = rgb(0, 127, 0), look.foreground = kWhite; break;
        case kAcquiring0: look.background = rgb(255, 255, 0), look.foreground = kBlack; break;
        case kAcquiring180:
        case kWaiting: look.background = rgb(204, 255, 0), look.foreground = kBlack; break;
        case kFlipping: look.background = rgb(255, 255, 0), look.foreground = rgb(255, 0, 0); break;
        case kDone:
          look.background = kWhite, look.foreground = rgb(0, 0, 255), look.emphasised = true;
          break;
        default: break;
      }
      break;
    }
    default: look.text = format(layout_ == Layout::RollTest && column >= 5 ? "%.4f" : "%.2f", v); break;
  }
  return look;
}

}  // namespace kvr::tarnc
