#include "kvr/playback/CPlayback.h"

#include <span>
#include <utility>
#include <vector>

#include "common/datafile/FileMessages.h"
#include "kvr/logging/StaticData.h"
#include "kvr/playback/PlaybackBlock.h"
#include "kvr/playback/PlaybackMessages.h"

namespace kvr {

namespace {
constexpr int kCreate = 0;        // "PBOFS": "CREATE"
constexpr int kToolString = 0;    // "PBCHSRC": "TOOL STRING"
constexpr int kComputeYes = 1;    // "PBCOMP": "YES"
}  // namespace

CPlayback::CPlayback(PlaybackParts parts, std::function<void()> menuChanged)
    : parts_(parts), menuChanged_(std::move(menuChanged)) {
  parts_.dialog.setPlaybackHandler([this] { nextBlock(); });
}

CPlayback::~CPlayback() {
  parts_.dialog.setPlaybackHandler({});
  if (running_) parts_.files.closeOutput(parts_.tools.ring());
  parts_.files.closeInput();
}

void CPlayback::menuChanged() {
  if (menuChanged_) menuChanged_();
}

bool CPlayback::option(int index, int choice) const {
  const auto& t = parts_.program.systemParameters;
  return static_cast<std::size_t>(index) < t.size() && t[static_cast<std::size_t>(index)].selectedChoice == choice;
}

float CPlayback::value(int index) const {
  const auto& t = parts_.program.systemParameters;
  return static_cast<std::size_t>(index) < t.size() ? t[static_cast<std::size_t>(index)].value : 0.0f;
}

bool CPlayback::chooseFile() {
  platform::FileRequest request;
  request.filter = msg::kPlaybackFileFilter;
  request.initialDir = parts_.session.started() ? parts_.session.sessionFolder().string()
                                                : parts_.session.dataFolder().string();
  auto chosen = parts_.prompter.openFile(request);
  if (!chosen) return false;
  return loadFile(*chosen);
}

bool CPlayback::loadFile(const std::filesystem::path& path) {
  auto& tools = parts_.tools;
  auto& files = parts_.files;
  auto& prompter = parts_.prompter;
  if (!tools.toolList().empty() &&
      prompter.ask({msg::kReplaceSession.title, msg::kReplaceSession.text, platform::Buttons::YesNo,
                    platform::Icon::Warning}) != platform::Answer::Yes) {
    return false;
  }
  const bool chosenBefore = fileChosen_ && !running_;
  stopPlayback();
  if (files.openInput(path) != 0) {
    show(prompter, kOpenInputFailed);
    return false;
  }

  // Everything is read before anything is replaced, so a bad file leaves the session as it was.
  StoredStaticData stored;
  int r = readStaticData(files, tools.tools(), parts_.program.systemParameters, stored);
  DataFileSummary summary;
  if (r == 0) r = files.summaryCheck(kSectionRows, summary);
  // Rows are read as wide as the file wrote them: channels the tools would make must match.
  const bool fromString = option(records::kPbChannelSource, kToolString);
  if (r == 0 && fromString && tools.channelCountOf(stored.tools) != stored.channels.size()) r = -2;
  if (r != 0) {
    files.closeInput();
    show(prompter, readFailureMessage(r));
    return false;
  }

  direction_ = stored.direction;
  records::ChannelList channels = std::move(stored.channels);
  adoptStaticData(stored, tools, parts_.program);
  if (fromString) {
    tools.createChannels();
  } else {
    tools.setChannels(std::move(channels));
  }
  tools.allocateRing();
  tools.initialiseTools(parts_.program.modeWord);

  input_ = path;
  rowsStart_ = files.inputPosition();
  fileChosen_ = true;
  // Choosing again before starting keeps the menu the first choice put away.
  if (!chosenBefore) parts_.menu.onPlaybackChosen();
  menuChanged();
  return true;
}

bool CPlayback::createOutput() {
  auto& files = parts_.files;
  auto& tools = parts_.tools;
  const auto& folder = parts_.session.sessionFolder();
  const int created = files.createNumberedOutput(folder, CFileManager::logFileName(tools.toolList(), direction_, true));
  if (created != 0) {
    show(parts_.prompter, created == CFileManager::kCounterUnwritable ? kCounterWriteFailed : kCreateOutputFailed);
    return false;
  }
  output_ = files.lastFilePath();
  // The main system parameters as they stand: the start stamp of the played file stays.
  if (writeStaticData(files, tools, direction_, parts_.program.systemParameters, parts_.session.job()) != 0) {
    files.closeOutput();
    show(parts_.prompter, kStaticWriteFailed);
    return false;
  }
  return true;
}

bool CPlayback::startPlayback() {
  if (!fileChosen_) {
    platform::tell(parts_.prompter, msg::kNoPlaybackFile.title, msg::kNoPlaybackFile.text);
    return false;
  }
  if (running_) return false;
  parts_.dialog.stopLogging();
  auto& table = parts_.program.systemParameters;
  writing_ = option(records::kPbOutputFile, kCreate);
  if (writing_) {
    if (!createOutput()) {
      writing_ = false;
      return false;
    }
  } else {
    output_ = msg::kNotCreated;
  }
  running_ = true;
  rowsReplayed_ = 0;
  table[records::kSimDepth].value = 0;
  table[records::kSimDepth].selectedChoice = 0;
  computations_.reset();
  if (option(records::kPbComputations, kComputeYes)) {
    computations_.emplace(parts_.tools.tools(), parts_.tools.toolList(), parts_.tools.channels());
    computations_->start(parts_.tools.toolList());
  }
  parts_.dialog.beginPlayback(direction_, output_);
  parts_.menu.onPlaybackStarted();
  // A running playback can always be stopped, whatever the menu looked like before.
  parts_.menu.setEnabled(MenuCommand::StopPlayback, true);
  menuChanged();
  return true;
}

void CPlayback::stopPlayback() {
  if (!running_ && !fileChosen_) return;
  const bool wasRunning = running_;
  running_ = false;
  fileChosen_ = false;
  computations_.reset();
  parts_.files.closeInput();
  if (!wasRunning) return;
  parts_.dialog.endPlayback();
  if (writing_ && parts_.files.closeOutput(parts_.tools.ring()) != 0) show(parts_.prompter, kFlushFailed);
  writing_ = false;
  parts_.menu.onPlaybackStopped(parts_.session.started());
  menuChanged();
}

bool CPlayback::readBlock(std::size_t& first, std::size_t& kept, std::size_t& draw, bool& lastOfFile) {
  auto& files = parts_.files;
  auto& ring = parts_.tools.ring();
  const std::size_t width = ring.rowWidth();
  const std::uint64_t rowBytes = static_cast<std::uint64_t>(width) * sizeof(float);
  const std::size_t capacity = width ? ring.size() / width : 0;
  const std::uint64_t position = files.inputPosition();
  const std::uint64_t size = files.inputSize();
  const std::uint64_t expected = rowBytes && size > position ? std::min<std::uint64_t>(capacity, (size - position) / rowBytes) : 0;
  const std::size_t got = files.readWholeRows(std::span<float>(ring.data(), capacity * width), width);
  auto readError = [this] {
    platform::tell(parts_.prompter, msg::kPlaybackReadError.title, msg::kPlaybackReadError.text, platform::Icon::Error);
    stopPlayback();
    return false;
  };
  if (got < expected) return readError();
  if (got == 0) {  // the end of the file
    stopPlayback();
    return false;
  }
  const std::uint64_t after = files.inputPosition();
  lastOfFile = size - after < rowBytes;
  const PlaybackWindow window{value(records::kPbMinDepth), value(records::kPbMaxDepth), direction_ == kLogUp};
  const auto plan = planPlaybackBlock(std::span<const float>(ring.data(), got * width), width, window, lastOfFile,
                                      (after - rowsStart_) / rowBytes);
  if (plan.rewindRows > 0 && files.seekInput(after - plan.rewindRows * rowBytes) != 0) return readError();
  first = plan.firstRow;
  kept = plan.keptRows;
  draw = plan.rowsToDraw;
  return true;
}

bool CPlayback::flushRows(std::size_t firstRow, std::size_t rows) {
  auto& ring = parts_.tools.ring();
  const std::size_t width = ring.rowWidth();
  ring.setFlushed(firstRow * width);
  int r = 0;
  // A block that fills the whole ring would put the write position back on the flushed one
  // (an empty ring to the file manager): it goes out in two halves.
  if (rows * width == ring.size() && rows > 1) {
    ring.setWrite((firstRow + rows / 2) * width);
    r = parts_.files.flushRows(ring);
  }
  ring.setWrite((firstRow + rows) * width);
  if (r == 0) r = parts_.files.flushRows(ring);
  if (r == 0) return true;
  // The next block reuses the ring, so rows that did not reach the file cannot be written later.
  show(parts_.prompter, kFlushFailed);
  stopPlayback();
  return false;
}

void CPlayback::nextBlock() {
  if (!running_) return;
  std::size_t first = 0, kept = 0, draw = 0;
  bool lastOfFile = false;
  if (!readBlock(first, kept, draw, lastOfFile)) return;
  auto& ring = parts_.tools.ring();
  const std::size_t width = ring.rowWidth();
  if (kept > 0) {
    float* rows = ring.data() + first * width;
    const float offset = value(records::kPbDepthOffset);
    for (std::size_t i = 0; i < kept; ++i) rows[i * width] += offset;
    if (computations_) computations_->processBlock(rows, kept, width, lastOfFile);
  }
  ring.setDisplayed(first * width);
  if (writing_ && draw > 0 && !flushRows(first, draw)) return;
  rowsReplayed_ += draw;
  // No row kept: the next block is asked for through the row display as well, so a long
  // stretch outside the window never holds up the window.
  parts_.dialog.drawPlaybackRows(static_cast<std::uint32_t>(draw));
}

}  // namespace kvr
