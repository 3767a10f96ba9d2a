#include "kvr/tarn/CTARNProcessing.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/datafile/CFileManager.h"
#include "common/records/LittleEndian.h"
#include "common/records/ToolCodes.h"
#include "toolslib/GyroMath.h"
#include "toolslib/families/Tarn.h"

namespace kvr::tarn {

namespace {
constexpr std::size_t kRawRecord = 27, kRawBytes = 19;
constexpr std::size_t kMaxFileBytes = std::size_t{512} << 20;
constexpr double kFramesPerSecond = 15.0;
constexpr double kAzimuthCorrection = -7.5;
constexpr const char* kOutputName = "ProcessOut.KVR";
constexpr const char* kFinished = "Proccess Finished !\nResults have been written to file ProcessOut.KVR";
constexpr const char* kFreezeRejected = "During Normal TARN Survey GX and GY must not be Frozen";

std::optional<std::size_t> column(const records::ChannelList& channels, const char* mnemonic, bool tarn) {
  for (const auto& c : channels)
    if (c.mnemonic == mnemonic && (!tarn || (c.toolCode & 0xFF) == records::kTarn)) return c.column();
  return std::nullopt;
}

// Opens the data file and reads its channels and where its rows start; false when that fails.
bool readStaticData(CFileManager& files, const std::filesystem::path& path, records::ChannelList& channels,
                    DataFileSummary& summary) {
  records::ToolList tools;
  return files.openInput(path) == 0 && files.readToolList(tools) == 0 && files.readChannelList(channels) == 0 &&
         files.summaryCheck(kSectionRows, summary) == 0;
}
}  // namespace

CTARNProcessing::CTARNProcessing(platform::Prompter& prompter, FileSystem& fs, tools::Library& library, bool surveyMode)
    : prompter_(prompter), fs_(fs), library_(library), surveyMode_(surveyMode) {}

bool CTARNProcessing::refuse(const char* title, const std::string& text) {
  platform::tell(prompter_, title, text, platform::Icon::Warning);
  return false;
}

bool CTARNProcessing::setFreeze(bool on) {
  if (on && !surveyMode_) {
    freeze_ = false;
    return refuse("ACTION REJECTED", kFreezeRejected);
  }
  freeze_ = on;
  return true;
}

bool CTARNProcessing::loadDriftFile(const std::filesystem::path& path) {
  const auto text = fs_.readText(path, kMaxFileBytes);
  if (!text) return refuse("ERROR", "The drift file " + path.string() + " could not be read.");
  auto read = parseDriftFile(*text);
  if (!read.error.empty()) return refuse("ERROR", read.error);
  if (read.measurements.empty()) return refuse("ERROR", "The drift file holds no measurement.");
  drifts_ = std::move(read.measurements);
  return true;
}

bool CTARNProcessing::loadDataFile(const std::filesystem::path& path) {
  CFileManager files(fs_);
  records::ChannelList channels;
  DataFileSummary summary;
  if (!readStaticData(files, path, channels, summary))
    return refuse("ERROR", "Error while trying to read static data from the file");
  if (!column(channels, "HAZI", true) || !column(channels, "TIME", false))
    return refuse("ERROR", "The file holds no TARN \"HAZI\" channel to process.");
  dataFile_ = path;
  return true;
}

bool CTARNProcessing::loadRawFile(const std::filesystem::path& path) {
  // Its size tells: the records are read when the log is processed.
  const auto file = fs_.openInput(path);
  const std::uint64_t size = file ? file->size() : 0;
  if (size == 0 || size > kMaxFileBytes || size % kRawRecord != 0)
    return refuse("ERROR", "The file " + path.string() + " is not a TARN raw data file.");
  rawFile_ = path;
  return true;
}

std::optional<std::filesystem::path> CTARNProcessing::process(const std::function<void(int)>& progress) {
  if (drifts_.empty() || dataFile_.empty() || rawFile_.empty()) {
    refuse("ERROR", "Load the drift file, the data file and the raw data file first.");
    return std::nullopt;
  }
  // The data file again: its channels and where its rows start.
  CFileManager files(fs_);
  records::ChannelList channels;
  DataFileSummary summary;
  const auto data = fs_.readText(dataFile_, kMaxFileBytes);
  const auto raw = fs_.readText(rawFile_, kMaxFileBytes);
  if (!data || !raw || !readStaticData(files, dataFile_, channels, summary) || raw->size() % kRawRecord != 0 ||
      raw->empty()) {
    refuse("ERROR", "Error while trying to read static data from the file");
    return std::nullopt;
  }
  files.closeInput();

  // The replay, in a library of its own with the TARN parameters of now.
  tools::Library replay;
  replay.initToolsData(library_.globals().SystemUnits);
  auto* tarn = static_cast<tools::Tarn*>(replay.family(records::kTarn));
  tarn->getParameterList() = library_.family(records::kTarn)->getParameterList();
  tarn->init();
  replay.globals().DataBuffSize = 31;
  const std::size_t records = raw->size() / kRawRecord;
  struct Angles {
    float hazi, tazi, devi;
  };
  std::vector<Angles> replayed(records);
  std::vector<std::uint8_t> ring(32);
  std::vector<float> row(tarn->rowFloats());
  auto& params = tarn->getParameterList();
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(raw->data());
  for (std::size_t r = 0; r < records; ++r) {
    const std::uint8_t* rec = bytes + r * kRawRecord;
    const auto offsets = offsetsAtFrame(drifts_, records::le::getU32(rec));
    params[tools::Tarn::kGyroOffsetX].value = static_cast<float>(offsets[0]);
    params[tools::Tarn::kGyroOffsetY].value = static_cast<float>(offsets[1]);
    params[tools::Tarn::kGyroOffsetZ].value = static_cast<float>(offsets[2]);
    std::copy(rec + 8, rec + 8 + kRawBytes, ring.begin());
    float* p = row.data();
    tarn->processData(ring, 0, 0, &p, row.data(), row.data() + row.size() - 1, {});
    replayed[r] = {row[12], row[13], row[11]};
  }

  // The copy with the rewritten values, row by row at the log time's frame.
  std::string out = *data;
  auto* o = reinterpret_cast<std::uint8_t*>(out.data());
  const std::size_t width = summary.rowWidth;
  const auto time = column(channels, "TIME", false), hazi = column(channels, "HAZI", true),
             tazi = column(channels, "TAZI", true), devi = column(channels, "DEVI", true);
  const std::uint64_t start = summary.sectionStart[kSectionRows];
  const auto inRow = [width](const std::optional<std::size_t>& c) { return !c || *c < width; };
  if (!time || !hazi || !inRow(time) || !inRow(hazi) || !inRow(tazi) || !inRow(devi) ||
      start + summary.wholeRows * width * 4 > out.size()) {
    refuse("ERROR", "Error while checking static data integrity\nFile could be corrupted, try again");
    return std::nullopt;
  }
  for (std::uint64_t i = 0; i < summary.wholeRows; ++i) {
    std::uint8_t* r = o + start + i * width * 4;
    const double t = records::le::getF32(r + *time * 4);
    const double k = std::isfinite(t) ? std::round(t * kFramesPerSecond) : 0;
    const auto& a = replayed[static_cast<std::size_t>(std::clamp<double>(k, 0, static_cast<double>(records - 1)))];
    const double az = tools::gyro::wrap360(a.hazi + initialAzimuth + kAzimuthCorrection);
    records::le::putF32(r + *hazi * 4, static_cast<float>(az));
    if (surveyMode_ && tazi) records::le::putF32(r + *tazi * 4, a.tazi);
    if (reprocessDevi && devi) records::le::putF32(r + *devi * 4, a.devi);
    if (progress && summary.wholeRows > 0 && i % 64 == 0) progress(static_cast<int>(100 * i / summary.wholeRows));
  }
  const auto path = dataFile_.parent_path() / kOutputName;
  bool taken = false;
  auto file = fs_.createNewOutput(path, taken);
  const bool written = file && file->write(o, out.size()) == out.size() && file->close();
  if (!written) {
    refuse("ERROR", taken ? "ProcessOut.KVR is there already: move it away first, it is never replaced."
                          : "ProcessOut.KVR could not be written.");
    return std::nullopt;
  }
  if (progress) progress(100);
  platform::tell(prompter_, "MESSAGE", kFinished, platform::Icon::Information);
  return path;
}

}  // namespace kvr::tarn
