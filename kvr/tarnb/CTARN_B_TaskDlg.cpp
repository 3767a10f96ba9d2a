#include "kvr/tarnb/CTARN_B_TaskDlg.h"

#include <cmath>
#include <cstdlib>

#include "common/datafile/CFileManager.h"
#include "common/records/SystemMode.h"
#include "common/records/ToolCodes.h"
#include "kvr/calibration/ReportFile.h"
#include "kvr/tarnb/TarnBReports.h"
#include "kvr/tarnb/TarnBTexts.h"
#include "platform/TextFormat.h"
#include "toolslib/families/TarnB.h"

namespace kvr::tarnb {

namespace {
constexpr std::size_t kLatitudeRecord = tools::TarnB::kLatitude;
constexpr std::size_t kMaxCellText = 10;
constexpr std::size_t kMaxReportBytes = 16u << 20;

// The whole text as a number, or nullopt.
std::optional<double> wholeNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::string withoutTxt(const std::filesystem::path& p) {
  std::string name = p.filename().string();
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0) name.resize(name.size() - 4);
  return name;
}
}  // namespace

IntervalRow defaultIntervalRow(std::size_t n, double start, double end) {
  return {"Int. " + std::to_string(n + 1), platform::format("%.2f", start), platform::format("%.2f", end),
          "Analisys Interval"};
}

CTARN_B_TaskDlg::CTARN_B_TaskDlg(TarnBPorts ports) : ports_(std::move(ports)), reportOptions_(ports_.settings) {
  ports_.library.globals().TARN_B_IgnoreNoiseFilter = 0;
  refreshCalibration();
  ports_.loop.startTimer(this, kCalibrationTimer, kCalibrationPeriodMs);
}

CTARN_B_TaskDlg::~CTARN_B_TaskDlg() { ports_.loop.forget(this); }

void CTARN_B_TaskDlg::changed() {
  if (changed_) changed_();
}

void CTARN_B_TaskDlg::onTimer(int timerId) {
  if (timerId != kCalibrationTimer) return;
  const auto before = calibration_;
  refreshCalibration();
  if (before != calibration_) changed();
}

void CTARN_B_TaskDlg::refreshCalibration() {
  const auto* family = ports_.library.family(records::kTarnB);
  const auto& g = ports_.library.globals();
  if (family && family->correctionTableActive()) {
    calibration_ = {"Loaded", g.TARNB_Cal_Sensor_SN, g.TARNB_Cal_Date, platform::format("%.1f", g.TARNB_Cal_Type)};
  } else {
    calibration_ = {"Not Loaded", "-", "-", "-"};
  }
}

// --- station log ---

bool CTARN_B_TaskDlg::stationLogRunning() const { return ports_.log.stationLogRunning && ports_.log.stationLogRunning(); }

bool CTARN_B_TaskDlg::logRunning() const {
  return stationLogRunning() || (ports_.log.depthLogRunning && ports_.log.depthLogRunning());
}

std::filesystem::path CTARN_B_TaskDlg::sessionFolder() const {
  return ports_.context ? ports_.context().sessionFolder : std::filesystem::path{};
}

void CTARN_B_TaskDlg::stationButton() {
  if (stationLogRunning()) {
    if (ports_.log.stopLogging) ports_.log.stopLogging();
  } else if (!logRunning()) {
    if (ports_.log.startStationLog) ports_.log.startStationLog();
  }
  changed();
}

const char* CTARN_B_TaskDlg::stationButtonText() const {
  return stationLogRunning() ? text::kStopStation : text::kStartStation;
}

// --- station files ---

platform::FileRequest CTARN_B_TaskDlg::stationFileRequest() const {
  platform::FileRequest r;
  r.filter = text::kFilter;
  r.defaultExtension = "KVR";
  r.initialDir = sessionFolder().string();
  return r;
}

bool CTARN_B_TaskDlg::isRecording(const std::filesystem::path& file) const {
  if (!logRunning() || !ports_.log.recordingFile) return false;
  return file.filename() == ports_.log.recordingFile().filename();
}

std::optional<StationRecord> CTARN_B_TaskDlg::readStation(const std::filesystem::path& file, const char* currentFileText) {
  auto& prompter = ports_.prompter;
  if (isRecording(file)) {
    platform::tell(prompter, text::kError, currentFileText, platform::Icon::Error);
    return std::nullopt;
  }
  CFileManager files(ports_.fs);
  if (files.openInput(file) != 0) {
    platform::tell(prompter, text::kFatal, text::kNotOpened, platform::Icon::Error);
    return std::nullopt;
  }
  records::ToolList tools;
  DataFileSummary summary;
  std::vector<records::SysParameterS> table;
  records::JobRecord job;
  int rc = files.readToolList(tools);
  if (rc == 0) rc = files.summaryCheck(kSectionMainParameters, summary);
  if (rc == 0) rc = files.readMainSystemParameters(table);
  if (rc == 0) rc = files.readJobRecord(job);
  files.closeInput();
  if (rc != 0 || table.size() <= records::kSimStartDepth) {
    platform::tell(prompter, text::kFatal, rc == -2 ? text::kStaticIntegrity : text::kStaticRead, platform::Icon::Error);
    return std::nullopt;
  }
  const auto stamp = records::getStartStamp(table[records::kSimStartDepth]);
  StationRecord r;
  r.path = file;
  r.title = file.filename().string();
  r.hour = static_cast<int>(stamp.hour), r.minute = static_cast<int>(stamp.minute), r.second = static_cast<int>(stamp.second);
  r.day = static_cast<int>(stamp.day), r.month = static_cast<int>(stamp.month), r.year = static_cast<int>(stamp.year);
  r.startDepth = stamp.depth;
  r.firstTime = summary.firstValue;
  r.lastTime = summary.lastValue;
  return r;
}

void CTARN_B_TaskDlg::addStations(const std::vector<std::filesystem::path>& files) {
  const auto folder = sessionFolder();
  for (const auto& file : files) {
    auto record = readStation(file, text::kAddCurrentFile);
    if (!record) break;
    reportPath_ = folder / (record->title + ".txt");
    storeIntervals();
    stations_.push_back(std::move(*record));
    selected_ = stations_.size() - 1;
    showRecord(stations_.back());
    rows_.clear();
    addInterval();
  }
  changed();
}

bool CTARN_B_TaskDlg::loadStationData(const std::filesystem::path& file) {
  auto record = readStation(file, text::kConvertCurrentFile);
  if (!record) return false;
  reportPath_ = sessionFolder() / (file.stem().string() + ".txt");
  storeIntervals();
  selected_.reset();
  showRecord(*record);
  rows_.clear();
  addInterval();
  changed();
  return true;
}

void CTARN_B_TaskDlg::showRecord(const StationRecord& record) {
  current_ = record;
  haveCurrent_ = true;
  rows_.clear();
  for (std::size_t i = 0; i < record.intervals.size(); ++i)
    rows_.push_back(defaultIntervalRow(i, record.intervals[i].start, record.intervals[i].end));
}

void CTARN_B_TaskDlg::storeIntervals() {
  if (!haveCurrent_) return;
  std::vector<StationInterval> intervals;
  for (const auto& row : rows_) {
    const auto s = wholeNumber(row.start), e = wholeNumber(row.end);
    intervals.push_back({s.value_or(current_.firstTime), e.value_or(current_.lastTime)});
  }
  current_.intervals = intervals;
  if (selected_ && *selected_ < stations_.size()) stations_[*selected_].intervals = std::move(intervals);
}

void CTARN_B_TaskDlg::selectStation(std::size_t index) {
  if (index >= stations_.size() || (selected_ && *selected_ == index)) return;
  storeIntervals();
  selected_ = index;
  showRecord(stations_[index]);
  changed();
}

void CTARN_B_TaskDlg::removeStation(std::size_t index) {
  if (index >= stations_.size()) return;
  storeIntervals();
  stations_.erase(stations_.begin() + static_cast<std::ptrdiff_t>(index));
  if (stations_.empty()) {
    selected_.reset();
    haveCurrent_ = false;
    rows_.clear();
  } else {
    selected_ = index < stations_.size() ? index : index - 1;
    showRecord(stations_[*selected_]);
  }
  changed();
}

// --- intervals ---

bool CTARN_B_TaskDlg::addInterval() {
  if (!haveCurrent_) return false;
  if (rows_.size() >= kMaxIntervals) {
    platform::tell(ports_.prompter, "", text::kTooManyIntervals, platform::Icon::Warning);
    return false;
  }
  rows_.push_back(defaultIntervalRow(rows_.size(), current_.firstTime, current_.lastTime));
  changed();
  return true;
}

bool CTARN_B_TaskDlg::editCell(std::size_t row, int column, const std::string& typed) {
  if (row >= rows_.size() || column < 1 || column > 3 || typed.size() > kMaxCellText) return false;
  const auto v = wholeNumber(typed);
  if (!v) return false;
  if (*v < current_.firstTime || *v > current_.lastTime) {
    platform::tell(ports_.prompter, text::kAttention, text::kOutOfRange, platform::Icon::Warning);
    return false;
  }
  auto& r = rows_[row];
  (column == 1 ? r.start : column == 2 ? r.end : r.comment) = typed;
  changed();
  return true;
}

// --- reports ---

void CTARN_B_TaskDlg::viewReport(const std::filesystem::path& path) {
  if (!ports_.showReport) return;
  const auto text = ports_.fs.readText(path, kMaxReportBytes);
  if (!text) {
    platform::tell(ports_.prompter, text::kFatal, text::kReportUnreadable, platform::Icon::Error);
    return;
  }
  ports_.showReport(path, *text);
}

std::optional<std::filesystem::path> CTARN_B_TaskDlg::writeReport(const std::string& base, bool rollTest, bool showAfter) {
  if (!haveCurrent_) {
    platform::tell(ports_.prompter, text::kAttention, text::kNeedStation, platform::Icon::Warning);
    return std::nullopt;
  }
  storeIntervals();
  const TarnBContext c = ports_.context ? ports_.context() : TarnBContext{};
  const auto folder = base == "MultishotReport" || base == "RollTestReport" ? c.sessionFolder : reportPath_.parent_path();
  // Without a session there is no folder to write into (never the working folder).
  auto report = folder.empty() ? nullptr : ReportFile::create(ports_.fs, folder, base);
  if (!report) {
    platform::tell(ports_.prompter, text::kFatal, text::kTxtFailed, platform::Icon::Error);
    return std::nullopt;
  }
  auto* family = static_cast<tools::TarnB*>(ports_.library.family(records::kTarnB));
  const auto& params = family->getParameterList();
  reportOptions_.read();
  ReportContext ctx(ports_.fs, ports_.prompter);
  ctx.wellName = c.wellName;
  ctx.english = records::isEnglish(c.modeWord);
  ctx.latitudeDeg = params.size() > kLatitudeRecord ? params[kLatitudeRecord].value : 0.0;
  ctx.calibration = calibration_;
  ctx.raw = rawChannels;
  ctx.las = generateLas;
  ctx.filter = ports_.library.globals().TARN_B_IgnoreNoiseFilter == 0;
  ctx.autoDepth = reportOptions_.autoDepth != 0;
  ctx.depthStart = reportOptions_.depthStart;
  ctx.depthIncrement = reportOptions_.depthIncrement;
  if (logRunning() && ports_.log.recordingFile) ctx.recordingFile = ports_.log.recordingFile();
  // A file loaded on its own, with no list, is reported by itself.
  const std::vector<StationRecord> alone{current_};
  const auto& list = stations_.empty() ? alone : stations_;
  const auto path = report->path();
  const bool ok = rollTest ? writeRollTestReport(*report, list, ctx, *family) : writeStationReport(*report, list, ctx);
  if (selected_) showRecord(stations_[*selected_]);
  changed();
  if (!ok && !(rollTest && report->good())) return std::nullopt;
  if (showAfter) viewReport(path);
  return path;
}

std::optional<std::filesystem::path> CTARN_B_TaskDlg::seeReport() { return writeReport("MultishotReport", false, true); }

std::optional<std::filesystem::path> CTARN_B_TaskDlg::rollTest() { return writeReport("RollTestReport", true, true); }

std::optional<std::filesystem::path> CTARN_B_TaskDlg::saveStationReport() {
  if (reportPath_.empty() && haveCurrent_) reportPath_ = current_.path.parent_path() / (current_.title + ".txt");
  auto path = writeReport(withoutTxt(reportPath_), false, false);
  // Asked only after a good write.
  if (path && ports_.prompter.ask({text::kFatal, text::kSavedAskView, platform::Buttons::YesNo, platform::Icon::Question}) ==
                  platform::Answer::Yes)
    viewReport(*path);
  return path;
}

}  // namespace kvr::tarnb
