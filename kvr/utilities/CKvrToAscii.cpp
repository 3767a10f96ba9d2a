#include "kvr/utilities/CKvrToAscii.h"

#include <algorithm>
#include <cmath>

#include "kvr/utilities/ConverterMessages.h"
#include "kvr/utilities/LasHeader.h"

namespace kvr::utilities {

namespace {
constexpr double kMaxLines = 1e15;  // far beyond any recording; keeps the count an integer
}

CKvrToAscii::CKvrToAscii(platform::Prompter& prompter, platform::Paths& paths, platform::Clock& clock,
                         FileSystem& dataFiles, TextFiles& textFiles, std::uint8_t timeUnitCode)
    : prompter_(prompter),
      paths_(paths),
      clock_(clock),
      dataFiles_(dataFiles),
      textFiles_(textFiles),
      timeUnit_(timeUnitFor(timeUnitCode)) {}

void CKvrToAscii::show(const FileMessage& m) const {
  const auto icon = std::string_view(m.title) == "MESSAGE" ? platform::Icon::Information : platform::Icon::Error;
  platform::tell(prompter_, m.title, m.text, icon);
}

bool CKvrToAscii::browse() {
  platform::FileRequest request;
  request.filter = kKvrFileFilter;
  request.defaultExtension = "kvr";
  request.initialDir = sessionFolder_.string();
  const auto chosen = prompter_.openFile(request);
  return chosen && chooseInput(*chosen);
}

bool CKvrToAscii::chooseInput(const std::filesystem::path& path) {
  if (recordingFile_) {
    const auto recording = recordingFile_();
    if (!recording.empty() && (recording == path || textFiles_.sameFile(recording, path))) {
      show(kCurrentLoggingFile);
      return false;
    }
  }
  CFileManager files(dataFiles_);
  if (files.openInput(path) != 0) {
    show(kOpenInputFailed);
    return false;
  }
  LasSource source;
  source.path = path;
  const int r = readSource(files, source);
  files.closeInput();
  if (r != 0) {
    show(readFailureMessage(r));
    return false;
  }

  const std::vector<std::string> previous = selectedChannelNames();
  const bool keep = !previous.empty() && prompter_.ask(platform::Message{kKeepChannels.title, kKeepChannels.text,
                                                                         platform::Buttons::YesNo,
                                                                         platform::Icon::Question}) ==
                                             platform::Answer::Yes;
  const int previousStep = fields_.stepIndex;
  source_ = std::move(source);
  loaded_ = true;
  fields_.inputFile = path.string();
  auto out = path;
  out.replace_extension(".las");
  fields_.outputFile = proposedOutput_ = proposedBase_ = out.string();
  fillForSource(keep, previous, previousStep);
  return true;
}

void CKvrToAscii::fillForSource(bool keepChannels, const std::vector<std::string>& previous, int previousStep) {
  fields_.selected.assign(source_.channels.size(), false);
  if (keepChannels) {
    for (std::size_t i = 0; i < source_.channels.size(); ++i)
      fields_.selected[i] = std::find(previous.begin(), previous.end(), source_.channels[i].mnemonic) != previous.end();
  }
  const auto kind = source_.kind();
  const int count = static_cast<int>(stepEntries(kind).size());
  fields_.stepIndex = keepChannels && previousStep >= 0 && previousStep < count ? previousStep : defaultStepIndex(kind);
  // Station limits are shown in the time unit, as start and final are entered.
  const double factor = source_.station() ? timeUnit_.factor : 1.0;
  fields_.start = static_cast<float>(source_.firstValue * factor);
  fields_.final = static_cast<float>(source_.lastValue * factor);
  fields_.offset = 0;
}

void CKvrToAscii::deselectAll() { std::fill(fields_.selected.begin(), fields_.selected.end(), false); }

std::vector<std::string> CKvrToAscii::channelNames() const {
  std::vector<std::string> names;
  for (const auto& c : source_.channels) names.push_back(c.mnemonic);
  return names;
}

std::vector<std::string> CKvrToAscii::selectedChannelNames() const {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < fields_.selected.size() && i < source_.channels.size(); ++i)
    if (fields_.selected[i]) names.push_back(source_.channels[i].mnemonic);
  return names;
}

std::span<const StepEntry> CKvrToAscii::steps() const {
  return stepEntries(loaded_ ? source_.kind() : FileKind::MetricDepth);
}

ConverterLabels CKvrToAscii::labels() const {
  if (loaded_ && source_.station()) return {"Time Step:", "Start Time", "Final Time", "Time Offset", timeUnit_.label};
  return {"Depth Step:", "Start Depth", "Final Depth", "Depth Offset", loaded_ && source_.english() ? "ft" : "m"};
}

// The output grid: start and final in file units, the line count rounded, and the final
// value on the grid.
bool CKvrToAscii::buildJob(LasJob& job) {
  const auto entries = steps();
  double step = 0;
  if (fields_.customStep)
    step = std::fabs(*fields_.customStep);
  else if (fields_.stepIndex >= 0 && fields_.stepIndex < static_cast<int>(entries.size()))
    step = entries[static_cast<std::size_t>(fields_.stepIndex)].value;
  else
    step = entries[static_cast<std::size_t>(defaultStepIndex(source_.kind()))].value;
  if (source_.up()) step = -step;
  const double factor = source_.station() ? timeUnit_.factor : 1.0;
  double start = fields_.start / factor;
  const double final = fields_.final / factor;
  const auto lineCount = [&](double from) {
    if (step == 0) return std::int64_t{0};
    // A limit that is no number (a damaged recording) writes nothing rather than loop.
    if (!std::isfinite(from) || !std::isfinite(final)) return std::int64_t{-1};
    const double n = std::floor((final - from) / step + 0.5);
    return static_cast<std::int64_t>(std::clamp(std::isfinite(n) ? n : -1.0, -1.0, kMaxLines));
  };
  const bool beyond = source_.up() ? start > source_.firstValue : start < source_.firstValue;
  if (beyond) {
    show(source_.station() ? kStartTimeBeyond : kStartDepthBeyond);
    start = source_.firstValue;
    fields_.start = static_cast<float>(start * factor);
  }
  job.start = start;
  job.step = step;
  job.lines = lineCount(start);
  job.offset = fields_.offset;
  job.indexFactor = factor;
  job.timeUnitLabel = timeUnit_.label;
  job.digits = std::clamp(fields_.digits, 1, 4);
  job.tab = fields_.tab && !fields_.strictLas2;
  job.spaces = std::clamp(fields_.spaces, 1, 10);
  job.wrapped = fields_.wrapped;
  job.header = fields_.header || fields_.strictLas2;
  job.curveNames = fields_.curveNames || fields_.strictLas2;
  job.mergeCcl = fields_.mergeCcl;
  job.strictLas2 = fields_.strictLas2;
  job.channels.clear();
  for (std::size_t i = 0; i < fields_.selected.size() && i < source_.channels.size(); ++i)
    if (fields_.selected[i]) job.channels.push_back(i);
  job.filter = fields_.filter;
  job.filter.clamp(source_.english());
  const auto selected = selectedChannelNames();
  std::erase_if(job.filter.channels, [&](const std::string& n) {
    return std::find(selected.begin(), selected.end(), n) == selected.end();
  });
  const std::filesystem::path in(fields_.inputFile);
  job.sourceName = in.stem().string();
  job.fileId = job.sourceName + ".las";
  const auto now = clock_.localTime();
  job.creationTime = creationText(now.year, now.month, now.day, now.hour, now.minute, now.second);
  plannedLines_ = std::max<std::int64_t>(job.lines + 1, 0);
  return true;
}

std::unique_ptr<TextOutput> CKvrToAscii::openOutput(bool& declined) {
  declined = false;
  const std::filesystem::path out(fields_.outputFile);
  if (fields_.outputTyped || fields_.outputFile != proposedOutput_) {
    // A name the user typed: replacing it is the user's choice.
    if (textFiles_.exists(out) &&
        prompter_.ask(platform::Message{kOverwriteOutput.title, kOverwriteOutput.text, platform::Buttons::YesNo,
                                        platform::Icon::Warning}) != platform::Answer::Yes) {
      declined = true;
      return nullptr;
    }
    return textFiles_.create(out);
  }
  // The name the program proposed never replaces a file: NAME.las, then NAME_1.las, NAME_2.las...
  const std::filesystem::path base(proposedBase_);
  for (int n = 0; n < kMaxOutputNumber; ++n) {
    auto name = base;
    if (n > 0) name.replace_filename(base.stem().string() + "_" + std::to_string(n) + base.extension().string());
    if (textFiles_.exists(name)) continue;
    if (auto output = textFiles_.createNew(name)) {
      fields_.outputFile = proposedOutput_ = name.string();
      return output;
    }
    if (!textFiles_.exists(name)) return nullptr;  // not a race with another writer: a real failure
  }
  return nullptr;
}

bool CKvrToAscii::convert() {
  if (!loaded_ || fields_.inputFile.empty()) {
    show(kNoInputFile);
    return false;
  }
  CFileManager files(dataFiles_);
  if (files.openInput(fields_.inputFile) != 0) {
    show(kInputOpenFailed);
    return false;
  }
  DataFileSummary summary;
  if (int r = files.summaryCheck(kSectionRows, summary); r != 0) {
    show(readFailureMessage(r));
    return false;
  }
  // The file changed under the dialog since it was chosen.
  if (summary.rowWidth != source_.rowWidth || summary.direction != source_.direction) {
    show(kIntegrityFailed);
    return false;
  }
  if (selectedChannelNames().empty()) {
    files.closeInput();
    show(kNoChannelSelected);
    return false;
  }
  LasJob job;
  buildJob(job);

  const std::filesystem::path out(fields_.outputFile);
  if (out == std::filesystem::path(fields_.inputFile) || textFiles_.sameFile(out, fields_.inputFile)) {
    show(kOutputIsInput);
    return false;
  }
  bool declined = false;
  auto output = openOutput(declined);
  if (declined) return false;
  if (!output) {
    show(kCreateOutputFailed);
    return false;
  }
  LasWriter writer(source_, job);
  std::int64_t reported = 0;
  LasWriter::Progress report;
  if (progress_) report = [&](std::int64_t n) { progress_(reported = n); };
  lastResult_ = writer.run(files, *output, report);
  // The file may end before the planned last line: the bar still ends full.
  if (lastResult_.ok && progress_ && reported < plannedLines_) progress_(plannedLines_);
  const bool closed = output->close();
  files.closeInput();
  if (!lastResult_.ok || !closed) {
    show(kFlushFailed);
    return false;
  }
  show(kConversionFinished);
  return true;
}

bool CKvrToAscii::view() {
  if (fields_.outputFile.empty() || !textFiles_.exists(fields_.outputFile)) {
    show(kNothingToView);
    return false;
  }
  if (!paths_.openInEditor(fields_.outputFile)) {
    show(kNoTextViewer);
    return false;
  }
  return true;
}

}  // namespace kvr::utilities
