#include "kvr/utilities/CMergeKvr.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/datafile/FileMessages.h"
#include "kvr/utilities/MergeLists.h"
#include "kvr/utilities/RowStreams.h"

namespace kvr::utilities {

namespace {
constexpr const char* kMessageTitle = "MESSAGE";
constexpr const char* kErrorTitle = "ERROR";
constexpr const char* kQuestionTitle = "QUESTION";
constexpr const char* kTwoFilesText = "You must input two files in order to perform a merge";
constexpr const char* kDirectionsText =
    "These files have different logging directions\nThey must have the same logging direction in order to be merged";
constexpr const char* kSpliceDirectionsText =
    "These files have different logging directions\nThey must have the same logging direction in order to be spliced";
constexpr const char* kDuplicateText1 = "Channel Name: ";
constexpr const char* kDuplicateText2 =
    " has been found in both files !\nTry using other renaming suffix for channels from File 2\nIf you continue only "
    "data channel from File 1 will be used.";
constexpr const char* kMergedText = "File merging is successfully finished.\n";
constexpr const char* kSplicedText = "File splicing is successfully finished.\n";
constexpr const char* kCreatedText = " has been created.";
constexpr const char* kToolStringText =
    "The files trying to be spliced do not belong to the same toolstring\nYou must input files belonging to the same "
    "toolstring !";
constexpr const char* kRangeText1 = "The specified depth range for File ";
constexpr const char* kRangeText2 = " is not valid !\n Valid range: ";
constexpr const char* kFinal1Text =
    "The Final depth for File 1 has to be equal to the Starting depth for File 2 !\nCorrect this numbers and try again !";
constexpr const char* kOutputIsInputText = "The output file cannot be one of the files being combined";
constexpr const char* kFinal2Text =
    "The Final depth for File 2 has to be equal to the Starting depth for File 1 !\nCorrect this numbers and try again !";

bool samePath(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ea, eb;
  return std::filesystem::weakly_canonical(a, ea) == std::filesystem::weakly_canonical(b, eb);
}

bool isUp(std::uint8_t direction) { return direction == kLogUp; }

// Station logs run forward in time like down logs in depth.
bool rangeValid(std::uint8_t direction, float first, float last, const DepthRange& r) {
  if (isUp(direction)) return r.from <= first && r.to >= last && first > last;
  return r.from >= first && r.to <= last && last > first;
}

bool within(float depth, const DepthRange& r) {
  return depth >= std::min(r.from, r.to) && depth <= std::max(r.from, r.to);
}

std::vector<std::string> toolNames(const records::ToolList& tools) {
  std::vector<std::string> names;
  for (const auto& t : tools)
    if (t.isTool()) names.push_back(t.name);
  return names;
}

// Every channel must point inside the row, or reading its value would run past the row.
bool columnsInsideRow(const DataFileContents& c) {
  if (c.channels.empty() || c.summary.rowWidth == 0) return false;
  return std::all_of(c.channels.begin(), c.channels.end(),
                     [&](const records::ChannelStruct& ch) { return ch.column() < c.summary.rowWidth; });
}
}  // namespace

CMergeKvr::CMergeKvr(platform::Prompter& prompter, FileSystem& files,
                     std::function<std::filesystem::path()> sessionFolder, std::function<bool()> logRunning,
                     tools::Library* toolsLibrary)
    : prompter_(prompter),
      files_(files),
      sessionFolder_(std::move(sessionFolder)),
      logRunning_(std::move(logRunning)),
      tools_(toolsLibrary) {
  for (auto& in : inputs_) in.fm = std::make_unique<CFileManager>(files_);
}

void CMergeKvr::show(const char* title, const std::string& text) {
  platform::Icon icon = std::string(title) == kMessageTitle ? platform::Icon::Information : platform::Icon::Error;
  platform::tell(prompter_, title, text, icon);
}

int CMergeKvr::readStatic(Input& in) {
  CFileManager& fm = *in.fm;
  DataFileContents& c = in.contents;
  int r = 0;
  if (!tools_) {
    r = inspectOpenDataFile(fm, c);
  } else {
    if ((r = fm.readToolList(c.tools)) != 0 || (r = fm.readChannelList(c.channels)) != 0) return r;
    c.parameterBlocks.clear();
    for (const auto& t : c.tools) {
      if (!t.isTool()) continue;
      tools::Family* family = tools_->family(t.code());
      if (!family) {
        // A code without a parameter family stores an empty block.
        c.parameterBlocks.emplace_back();
        if ((r = fm.readParameterBlock({})) != 0) return r;
        continue;
      }
      auto& list = family->getParameterList();
      const auto live = list;  // the program's own parameters survive the merge
      family->loadParameterList();
      r = fm.readParameterBlock(list);
      c.parameterBlocks.push_back(list);
      list = live;
      if (r != 0) return r;
    }
    if ((r = fm.readDirection(c.direction)) != 0 || (r = fm.readMainSystemParameters(c.mainParameters)) != 0 ||
        (r = fm.readJobRecordBytes(c.jobRecord)) != 0)
      return r;
    r = fm.summaryCheck(kSectionRows, c.summary);
  }
  if (r == 0 && !columnsInsideRow(c)) r = -2;
  return r;
}

bool CMergeKvr::browse(int slot) {
  platform::FileRequest request;
  request.filter = kFileFilter;
  request.defaultExtension = "kvr";
  auto file = prompter_.openFile(request);
  if (!file) return false;
  return choose(slot, *file);
}

bool CMergeKvr::choose(int slot, const std::filesystem::path& file) {
  Input& in = inputs_[slot];
  in.fm->closeInput();
  in.open = false;
  in.path.clear();
  if (in.fm->openInput(file) != 0) {
    kvr::show(prompter_, kOpenInputFailed);
    return false;
  }
  int r = readStatic(in);
  if (r != 0) {
    kvr::show(prompter_, readFailureMessage(r));
    in.fm->closeInput();
    return false;
  }
  in.open = true;
  in.path = file;
  ranges[slot] = DepthRange{in.contents.summary.firstValue, in.contents.summary.lastValue};
  return true;
}

bool CMergeKvr::rewind(Input& in) {
  DataFileSummary s;
  int r = in.fm->summaryCheck(kSectionTools, s);
  if (r == 0) r = readStatic(in);
  if (r == 0) return true;
  kvr::show(prompter_, readFailureMessage(r));
  return false;
}

void CMergeKvr::clear() {
  for (auto& in : inputs_) {
    in.fm->closeInput();
    in.open = false;
    in.path.clear();
    in.contents = DataFileContents{};
  }
  suffix.clear();
  ranges = {};
}

bool CMergeKvr::proceed() {
  if (logRunning_()) return false;
  if (!chosen(0) || !chosen(1)) {
    show(kMessageTitle, kTwoFilesText);
    return false;
  }
  if (!rewind(inputs_[0]) || !rewind(inputs_[1])) return false;
  return action == MergeAction::Merge ? merge() : splice();
}

bool CMergeKvr::createOutput(CFileManager& out, const char* name) {
  int r = 0;
  if (!outputFile.empty()) {
    auto file = outputFile;
    if (file.extension() == ".kvr") file.replace_extension();
    if (samePath(std::filesystem::path(file) += ".kvr", inputs_[0].path) ||
        samePath(std::filesystem::path(file) += ".kvr", inputs_[1].path)) {
      show(kErrorTitle, kOutputIsInputText);
      return false;
    }
    r = out.createOutputFile(file.parent_path(), file.filename().string());
  } else {
    r = out.createNumberedOutput(sessionFolder_(), name);
  }
  if (r != 0) {
    kvr::show(prompter_, r == CFileManager::kCounterUnwritable ? kCounterWriteFailed : kCreateOutputFailed);
    return false;
  }
  return true;
}

bool CMergeKvr::writeStatic(CFileManager& out, const records::ToolList& tools, const records::ChannelList& channels,
                            const std::vector<const std::vector<records::ToolParameterS>*>& blocks,
                            const Input& from) {
  int r = out.writeToolList(tools);
  r |= out.writeChannelList(channels);
  for (const auto* b : blocks) r |= out.writeParameterBlock(*b);
  r |= out.writeDirection(from.contents.direction);
  r |= out.writeMainSystemParameters(from.contents.mainParameters);
  r |= out.writeJobRecord(records::decodeJobRecord(from.contents.jobRecord.data()));
  if (r == 0) return true;
  kvr::show(prompter_, kStaticWriteFailed);
  out.closeOutput();
  return false;
}

void CMergeKvr::finish(const char* successText, CFileManager& out) {
  lastOutput_ = out.lastFilePath();
  show(kMessageTitle, std::string(successText) + lastOutput_.string() + kCreatedText);
  clear();
}

bool CMergeKvr::merge() {
  const auto& c1 = inputs_[0].contents;
  const auto& c2 = inputs_[1].contents;
  if (c1.direction != c2.direction) {
    show(kErrorTitle, kDirectionsText);
    return false;
  }
  std::vector<bool> toolTaken;
  records::ToolList tools = mergedToolList(c1.tools, c2.tools, toolTaken);

  // Asked before the output exists, so that a Cancel leaves no half-written file behind.
  std::vector<bool> kept(c2.channels.size(), true);
  for (std::size_t i : duplicateChannels(c1.channels, c2.channels, suffix)) {
    std::string text = kDuplicateText1 + renamedMnemonic(c2.channels[i].mnemonic, suffix) + kDuplicateText2;
    auto answer = prompter_.ask(platform::Message{kQuestionTitle, text, platform::Buttons::OkCancel,
                                                  platform::Icon::Warning});
    if (answer != platform::Answer::Ok) return false;
    kept[i] = false;
  }
  records::ChannelList channels = mergedChannelList(c1.channels, c2.channels, kept, suffix);

  std::vector<const std::vector<records::ToolParameterS>*> blocks;
  for (const auto& b : c1.parameterBlocks) blocks.push_back(&b);
  for (std::size_t i = 0; i < c2.parameterBlocks.size(); ++i)
    if (toolTaken[i]) blocks.push_back(&c2.parameterBlocks[i]);

  CFileManager out(files_);
  if (!createOutput(out, kMergeName)) return false;
  if (!writeStatic(out, tools, channels, blocks, inputs_[0])) return false;
  if (!mergeRows(out, kept)) return false;
  finish(kMergedText, out);
  return true;
}

bool CMergeKvr::mergeRows(CFileManager& out, const std::vector<bool>& file2Kept) {
  const auto& c1 = inputs_[0].contents;
  const auto& c2 = inputs_[1].contents;
  const auto cols1 = sourceColumns(c1.channels);
  const auto cols2 = sourceColumns(c2.channels, file2Kept);
  const std::size_t n1 = cols1.size(), n2 = cols2.size();
  const bool up = isUp(c1.direction);

  RowSource s1(*inputs_[0].fm, c1.summary.rowWidth, kMergeBlockFloats);
  RowSource s2(*inputs_[1].fm, c2.summary.rowWidth, kMergeBlockFloats);
  RowSink sink(out, n1 + n2);
  auto put1 = [&](float* o, const float* r) {
    for (std::size_t k = 0; k < n1; ++k) o[k] = r[cols1[k]];
  };
  auto put2 = [&](float* o, const float* r) {
    for (std::size_t k = 0; k < n2; ++k) o[n1 + k] = r[cols2[k]];
  };
  auto nulls = [](float* o, std::size_t from, std::size_t to) { std::fill(o + from, o + to, kNullValue); };

  int r = 0;
  for (;;) {
    const float* a = s1.row();
    const float* b = s2.row();
    if (!a && !b) break;
    float* o = sink.next();
    bool takeA = a != nullptr, takeB = b != nullptr;
    if (a && b && !(std::fabs(static_cast<double>(a[0]) - b[0]) <= kPairingTolerance)) {
      // Alone: the row that comes first in logging order.
      takeA = up ? a[0] > b[0] : a[0] < b[0];
      takeB = !takeA;
    }
    if (takeA) {
      put1(o, a);
      s1.advance();
    } else {
      o[0] = b[0];
      nulls(o, 1, n1);
    }
    if (takeB) {
      put2(o, b);
      s2.advance();
    } else {
      nulls(o, n1, n1 + n2);
    }
    if ((r = sink.commit()) != 0) break;
  }
  if (r == 0) r = sink.finish();
  r |= out.closeOutput();
  if (r == 0) return true;
  kvr::show(prompter_, kFlushFailed);
  return false;
}

bool CMergeKvr::spliceRangesValid() {
  for (int slot = 0; slot < 2; ++slot) {
    const auto& s = inputs_[slot].contents.summary;
    const auto dir = inputs_[slot].contents.direction;
    if (rangeValid(dir, s.firstValue, s.lastValue, ranges[slot])) continue;
    char text[160];
    const char* format = isUp(dir) ? "%s%d%s%.2f to %.2f" : "%s%d%s%.1f to %.1f";
    std::snprintf(text, sizeof text, format, kRangeText1, slot + 1, kRangeText2, static_cast<double>(s.firstValue),
                  static_cast<double>(s.lastValue));
    show(kErrorTitle, text);
    return false;
  }
  return true;
}

bool CMergeKvr::splice() {
  const auto& c1 = inputs_[0].contents;
  const auto& c2 = inputs_[1].contents;
  // A down log joined to an up log would reverse its depths half way.
  if (c1.direction != c2.direction) {
    show(kErrorTitle, kSpliceDirectionsText);
    return false;
  }
  // The rows of File 2 are written under File 1's channel list, so the rows must be alike too.
  if (toolNames(c1.tools) != toolNames(c2.tools) || c1.summary.rowWidth != c2.summary.rowWidth) {
    show(kErrorTitle, kToolStringText);
    return false;
  }
  if (!spliceRangesValid()) return false;
  const float f1 = c1.summary.firstValue, f2 = c2.summary.firstValue;
  const int first = isUp(c1.direction) ? (f2 > f1 ? 1 : 0) : (f2 < f1 ? 1 : 0);
  const int second = 1 - first;
  if (ranges[first].to != ranges[second].from) {
    show(kErrorTitle, first == 0 ? kFinal1Text : kFinal2Text);
    return false;
  }

  std::vector<const std::vector<records::ToolParameterS>*> blocks;
  for (const auto& b : c1.parameterBlocks) blocks.push_back(&b);
  CFileManager out(files_);
  if (!createOutput(out, kSpliceName)) return false;
  if (!writeStatic(out, c1.tools, c1.channels, blocks, inputs_[0])) return false;
  if (!spliceRows(out, first)) return false;
  finish(kSplicedText, out);
  return true;
}

bool CMergeKvr::spliceRows(CFileManager& out, int first) {
  const std::size_t width = inputs_[0].contents.summary.rowWidth;
  RowSink sink(out, width);
  int r = 0;
  for (int slot : {first, 1 - first}) {
    RowSource src(*inputs_[slot].fm, width, kSpliceBlockFloats);
    for (const float* row = src.row(); row && r == 0; src.advance(), row = src.row()) {
      if (!within(row[0], ranges[slot])) continue;
      std::copy(row, row + width, sink.next());
      r = sink.commit();
    }
  }
  if (r == 0) r = sink.finish();
  r |= out.closeOutput();
  if (r == 0) return true;
  kvr::show(prompter_, kFlushFailed);
  return false;
}

}  // namespace kvr::utilities
