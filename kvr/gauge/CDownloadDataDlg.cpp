#include "kvr/gauge/CDownloadDataDlg.h"

#include <cstdlib>

#include "kvr/gauge/CToolConexionDlg.h"
#include "kvr/gauge/GaugeTexts.h"

namespace kvr::gauge {
namespace {

namespace v = tools::vunt;
enum : std::int64_t { kBegin, kNextPass, kPageArrived };

std::string number(std::uint32_t n) { return std::to_string(n); }

}  // namespace

CDownloadDataDlg::CDownloadDataDlg(DownloadPorts ports) : ports_(std::move(ports)) {}

CDownloadDataDlg::~CDownloadDataDlg() {
  ports_.panel.setPageListener(nullptr);
  ports_.panel.loop().forget(this);
}

void CDownloadDataDlg::changed() {
  if (changed_) changed_();
}

bool CDownloadDataDlg::open() {
  const tools::Globals& g = ports_.panel.globals();
  jobs_ = listJobs(g.VUNTJobFat);
  if (g.VUNTJobFat[0] == 0 || jobs_.empty()) {
    platform::tell(ports_.panel.prompter(), text::kMessage, text::kNoJob);
    state_ = State::Closed;
    return false;
  }
  serial_ = gaugeStatus(g).serialNumber;
  state_ = State::Open;
  selectJob(0);
  return true;
}

void CDownloadDataDlg::selectJob(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= jobs_.size() || running()) return;
  selected_ = index;
  to_ = number(totalSamples());
  changed();
}

std::uint32_t CDownloadDataDlg::totalSamples() const {
  return jobs_.empty() ? 0 : jobs_[static_cast<std::size_t>(selected_)].samples;
}

void CDownloadDataDlg::download() {
  if (state_ == State::Closed || running()) return;
  const auto date = ports_.pickDate ? ports_.pickDate() : std::nullopt;
  if (!date) return;
  platform::FileRequest request;
  request.filter = text::kSaveFilter;
  request.defaultExtension = text::kSaveExtension;
  request.defaultName = serial_;
  request.initialDir = ports_.initialFolder;
  const auto path = ports_.panel.prompter().saveFile(request);
  if (!path) return;
  startDownload(*path, *date);
}

bool CDownloadDataDlg::startDownload(const std::filesystem::path& textFile, const PickedDate& start) {
  if (state_ == State::Closed || running()) return false;
  switch (files_.open(textFile)) {
    case DownloadFiles::Opened::TextFailed: return fail(text::kFatal, text::kTextOpenFailed), false;
    case DownloadFiles::Opened::BinaryFailed: return fail(text::kFatal, text::kBinaryOpenFailed), false;
    case DownloadFiles::Opened::Ok: break;
  }
  start_ = start;
  state_ = State::Running;
  ports_.panel.setPageListener([this] { ports_.panel.loop().post(this, kRunDownload, kPageArrived); });
  ports_.panel.loop().post(this, kRunDownload, kBegin);
  changed();
  return true;
}

void CDownloadDataDlg::onCommand(int command, std::int64_t param) {
  if (command != kRunDownload || !running()) return;
  if (param == kBegin) return begin();
  if (param == kNextPass) return pass();
  if (param == kPageArrived && waiting_) {
    waiting_ = false;
    if (ports_.panel.transferFailed()) {
      files_.close();
      return fail(text::kError, text::kLinkUnreliable);
    }
    if (ports_.panel.pageComplete()) afterPage();
  }
}

void CDownloadDataDlg::begin() {
  const tools::Globals& g = ports_.panel.globals();
  progressMax_ = std::max(0, std::atoi(to_.c_str()));
  progress_ = 0;
  written_ = programmed_ = available_ = pages_ = 0;
  t_ = 0;
  program_.emplace(g.VUNTProgramBuffer, g.VUNTProgramLength);
  openEnded_ = false;
  needPage_ = firstPage_ = true;
  waiting_ = false;
  pageIndex_ = 0;
  if (!files_.writeHeaders(start_, g.VUNTCalibration)) return (void)writeFailed();
  changed();
  pass();
}

void CDownloadDataDlg::pass() {
  if (available_ >= programmed_) {
    if (!openEnded_) {
      const auto e = program_->next();  // the end of the uploaded program ends the job too
      if (!e || e->minutes == 0) return finish();
      entry_ = *e;
      openEnded_ = e->minutes == v::kOpenEnded;
    }
    const std::uint32_t count = entry_.intervalS == 0 ? 0 : entry_.minutes * 60u / entry_.intervalS;
    if (count == 0) {
      // A pause; an entry too short for one sample is one too. An open-ended one never ends.
      if (openEnded_) return finish();
      t_ += static_cast<float>(entry_.minutes * 60u);
      return endOfPass();
    }
    programmed_ += count;
  }
  if (available_ < programmed_ && needPage_) {
    waiting_ = true;
    if (firstPage_) ports_.panel.requestFirstPage(jobs_[static_cast<std::size_t>(selected_)].startPage);
    else ports_.panel.requestNextPage();
    return;
  }
  samples();
}

void CDownloadDataDlg::afterPage() {
  if (firstPage_) ports_.panel.setFirstPageDone();
  firstPage_ = false;
  available_ += v::kSamplesPerPage;
  ++pages_;
  pageIndex_ = 0;
  samples();
}

void CDownloadDataDlg::samples() {
  const tools::Globals& g = ports_.panel.globals();
  // Never past the page or the samples the program gives.
  while (pageIndex_ < v::kSamplesPerPage && written_ < programmed_) {
    step(1);
    t_ += static_cast<float>(entry_.intervalS);
    const v::RawSample raw = v::getSample(g.VUNTDataPage.data() + pageIndex_ * v::kSampleBytes);
    if (v::isEndMarker(raw)) {
      progress_ = progressMax_;
      return finish();
    }
    double psi = raw.pressure, degC = raw.temperature;
    VUNTCalculaValorCalibrado(&psi, &degC, &g.VUNTCalibration);
    if (!files_.writeSample(t_, raw, psi, degC)) return (void)writeFailed();
    ++pageIndex_;
    ++written_;
  }
  needPage_ = pageIndex_ == v::kSamplesPerPage;
  changed();
  endOfPass();
}

void CDownloadDataDlg::endOfPass() {
  if (written_ >= totalSamples()) {
    progress_ = progressMax_;
    return finish();
  }
  ports_.panel.loop().post(this, kRunDownload, kNextPass);  // lets the waiting messages through
}

void CDownloadDataDlg::finish() {
  if (!files_.close()) return (void)writeFailed();
  state_ = State::Finished;
  ports_.panel.setPageListener(nullptr);
  changed();
  platform::tell(ports_.panel.prompter(), text::kMessage, text::kDownloaded);
}

bool CDownloadDataDlg::writeFailed() {
  const bool textFile = files_.textFailed();
  files_.close();
  fail(text::kFatal, textFile ? text::kTextWriteFailed : text::kBinaryWriteFailed);
  return false;
}

void CDownloadDataDlg::fail(const char* title, const char* t) {
  state_ = State::Failed;
  ports_.panel.setPageListener(nullptr);
  changed();
  platform::tell(ports_.panel.prompter(), title, t);
}

void CDownloadDataDlg::step(int by) {
  progress_ += by;
  if (progress_ > progressMax_) progress_ = progressMax_;
}

}  // namespace kvr::gauge
