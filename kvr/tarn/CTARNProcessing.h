#pragma once
// "TARN Processing": a recorded TARN depth log processed again with the drifts measured during
// the survey. The raw frames the log kept (its ".bin") are replayed through the TOOLS decoder
// with the gyro offsets interpolated by frame number between the drift measurements, and
// "HAZI" (turned by the initial tool azimuth less 7.5 degrees), "TAZI" in survey mode and
// "DEVI" when asked are rewritten into a copy of the data file, "ProcessOut.KVR" beside it.

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "common/datafile/FilePorts.h"
#include "kvr/tarn/DriftFile.h"
#include "platform/Prompter.h"
#include "toolslib/Library.h"

namespace kvr::tarn {

class CTARNProcessing {
 public:
  // The replay runs in a library of its own, so the live tool keeps its state; it starts
  // from the TARN parameters of `library`.
  CTARNProcessing(platform::Prompter& prompter, FileSystem& fs, tools::Library& library, bool surveyMode);

  bool reprocessDevi = false;
  double initialAzimuth = 0;
  // "Freeze GX and GY": refused while survey mode is off.
  bool setFreeze(bool on);
  bool freeze() const { return freeze_; }

  // The three loads; false (with the message shown) when the file is refused.
  bool loadDriftFile(const std::filesystem::path& path);
  bool loadDataFile(const std::filesystem::path& path);
  bool loadRawFile(const std::filesystem::path& path);
  // The output written, or nullopt; progress gets 0..100.
  std::optional<std::filesystem::path> process(const std::function<void(int)>& progress = {});

  const std::vector<DriftMeasurement>& drifts() const { return drifts_; }

 private:
  bool refuse(const char* title, const std::string& text);

  platform::Prompter& prompter_;
  FileSystem& fs_;
  tools::Library& library_;
  bool surveyMode_;
  bool freeze_ = false;
  std::vector<DriftMeasurement> drifts_;
  std::filesystem::path dataFile_, rawFile_;
};

}  // namespace kvr::tarn
