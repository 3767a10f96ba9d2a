// The frame dispatch of CToolManager: panel block, tool decoding, row selection on the depth
// or time grid, gap filling, shifts and simulated depth, one frame at a time.
#include <cmath>
#include <numeric>

#include "common/records/SystemMode.h"
#include "common/records/ToolCodes.h"
#include "kvr/core/CToolManager.h"
#include "kvr/core/PanelBlock.h"

namespace kvr {
namespace {
constexpr float kFrameSeconds = 1.0f / 15.0f;
// One frame never adds more copies than the ring holds rows, so it cannot lap itself.
constexpr std::size_t kMaxCopiesPerFrame = SampleRing::kRows - 2;
}  // namespace

void CToolManager::collectActiveTools() {
  active_.clear();
  for (const auto& tool : toolList_) {
    if (!tool.isTool()) continue;
    tools::Family* f = tools_.family(tool.code());
    // A code without a family is skipped, but its bytes still belong to the frame.
    active_.push_back({f, tool.frameOffset, f ? f->dataBytes() : tool.dataBytes, tool.code()});
  }
}

void CToolManager::put(float** p, float* start, float* end, float v) {
  if (!*p) return;
  **p = v;
  ++*p;
  if (*p > end) *p = start;
}

void CToolManager::decodePanel(std::uint32_t read, float** row, float* start, float* end) {
  const PanelBlock block = decodePanelBlock(frames_.bytes(), read + surfaceOffset_, FrameRing::kMask);
  panelDepth_ = block.depth();
  tools_.globals().OnlineDepth = panelDepth_;
  panelStatus_ = block.status();

  const bool up = direction_ == kLogUp;
  double depth;
  if (stationLog_) {
    depth = logTime_;
  } else {
    const double source = simOn_ ? simDepth_ : panelDepth_;
    depth = up ? source : source - referenceOffset_;
  }
  currentDepth_ = depth;

  // A counter that went down has wrapped (the panel counts 65535 to a turn). The very first
  // frame has no previous count: it gives no speed sample and one elapsed frame.
  if (haveCounter_) {
    const int d = block.counter >= lastCounter_ ? block.counter - lastCounter_ : block.counter + 65535 - lastCounter_;
    if (d > 0 && speedRestart_) {
      framesElapsed_ = d;
      speedRestart_ = false;
      lastSpeedDepth_ = currentDepth_;
    } else if (d > 0) {
      framesElapsed_ = d;
      if (speedSamples_ < kSpeedSamples) ++speedSamples_;
      const double sample = (currentDepth_ - lastSpeedDepth_) / d;
      speedSum_ += sample - speed_[speedIndex_];
      speed_[speedIndex_] = sample;
      speedIndex_ = (speedIndex_ + 1) % kSpeedSamples;
      // The running sum is taken afresh once a turn so that rounding cannot build up.
      if (speedIndex_ == 0) speedSum_ = std::accumulate(speed_.begin(), speed_.end(), 0.0);
      lastSpeedDepth_ = currentDepth_;
    }
    // d == 0: the counter has not moved, so no time is known to have passed; the speed ring
    // keeps its samples and the depth change counts towards the next sample.
  } else {
    haveCounter_ = true;
    speedRestart_ = false;
    lastSpeedDepth_ = currentDepth_;
  }
  lastCounter_ = block.counter;

  double speed = 0;
  if (depthLog_ && speedSamples_ > 0) {
    // The mean of the samples taken so far, scaled as a whole ring of them.
    const double sum = speedSum_ * static_cast<double>(kSpeedSamples) / static_cast<double>(speedSamples_);
    speed = records::lineSpeedFromSum(sum, records::isEnglish(modeWord_));
  }
  const float time = (depthLog_ || stationLog_) ? logTime_ : 0.0f;
  tools_.globals().OnlineTime = time;

  put(row, start, end, static_cast<float>(depth));
  put(row, start, end, static_cast<float>(speed));
  put(row, start, end, static_cast<float>(block.tension));
  put(row, start, end, time);
  put(row, start, end, static_cast<float>(block.headVolts()));
  put(row, start, end, static_cast<float>(block.headCurrentMa()));
}

void CToolManager::runTools(std::uint32_t read, float** row, float* start, float* end) {
  const tools::FrameContext context{currentDepth_, static_cast<float>(framesElapsed_), &tools_.navikor()};
  for (const auto& t : active_) {
    if (!t.family) continue;
    if (t.code == records::kTarn && depthLog_) t.family->saveRawData(frames_.bytes(), read, t.frameOffset, currentDepth_);
    t.family->processData(frames_.bytes(), read, t.frameOffset, row, start, end, context);
  }
}

void CToolManager::shiftAll() {
  const bool up = direction_ == kLogUp;
  for (const auto& t : active_) {
    if (!t.family) continue;
    if (up) t.family->shiftSensorDataLogUp();
    else t.family->shiftSensorDataLogDown();
  }
}

void CToolManager::keepRow(std::size_t& row, DispatchResult& result) {
  row = ring_.advance(row, ring_.rowWidth());
  ring_.setWrite(row);
  ++result.rowsAdded;
}

void CToolManager::appendCopy(std::size_t& row, DispatchResult& result) {
  const std::size_t from = row;
  keepRow(row, result);
  float* data = ring_.data();
  for (std::size_t i = 0; i < ring_.rowWidth(); ++i) data[ring_.advance(row, i)] = data[ring_.advance(from, i)];
}

void CToolManager::selectRow(std::size_t row, DispatchResult& result) {
  if (ring_.empty()) return;
  if (!depthLog_ && !stationLog_) {
    keepRow(row, result);  // without a log every frame's row stays, for monitors and panels
    return;
  }
  const double value = currentDepth_;
  if (stationLog_) {
    const double step = records::kStationTimeStep;
    if (firstRow_) {
      nextSample_ = std::floor(value);
      while (nextSample_ < value) nextSample_ += step;
      firstRow_ = false;
      keepRow(row, result);
    } else if (nextSample_ <= value) {
      nextSample_ += step;
      keepRow(row, result);
    }
    return;
  }
  const double step = records::depthStep(modeWord_);
  const bool up = direction_ == kLogUp;
  bool kept = false;
  if (firstRow_) {
    if (up) {
      nextSample_ = std::ceil(value);
      while (nextSample_ > value) nextSample_ -= step;
    } else {
      nextSample_ = std::floor(value);
      while (nextSample_ < value) nextSample_ += step;
    }
    firstRow_ = false;
    kept = true;
  } else {
    std::size_t copies = 0;
    while ((up ? nextSample_ - value : value - nextSample_) > step) {
      if (copies == kMaxCopiesPerFrame) {
        // A jump larger than the ring: go on from the grid point next to the new depth.
        const double steps = std::floor((up ? nextSample_ - value : value - nextSample_) / step);
        nextSample_ += up ? -steps * step : steps * step;
        break;
      }
      appendCopy(row, result);
      ++copies;
      nextSample_ += up ? -step : step;
      shiftAll();
    }
    if (up ? value <= nextSample_ : nextSample_ <= value) {
      nextSample_ += up ? -step : step;
      kept = true;
    }
  }
  if (kept) {
    keepRow(row, result);
    shiftAll();
  } else {
    ring_.setWrite(row);  // the row is dropped: the write position returns to its start
  }
}

DispatchResult CToolManager::dispatchFrames() {
  DispatchResult result;
  tools_.globals().DataBuffSize = FrameRing::kMask;
  collectActiveTools();
  std::uint32_t frameBytes = records::kPanelBlockBytes;
  for (const auto& t : active_) frameBytes += t.bytes;

  float* start = ring_.empty() ? nullptr : ring_.data();
  float* end = ring_.empty() ? nullptr : ring_.data() + ring_.last();
  // Whole frames only: the parser commits whole frames, and a remainder waits for the rest.
  while (frames_.pending() >= frameBytes) {
    const std::uint32_t read = frames_.read();
    framesElapsed_ = 1;
    const std::size_t rowStart = ring_.write();
    float* row = start ? start + rowStart : nullptr;
    decodePanel(read, &row, start, end);
    tools_.globals().FramesReceived = framesDispatched_ + 1;
    runTools(read, &row, start, end);
    frames_.setRead(read + frameBytes);
    ++framesDispatched_;
    ++result.frames;

    selectRow(rowStart, result);
    const float elapsed = static_cast<float>(framesElapsed_) * kFrameSeconds;
    logTime_ += elapsed;
    tools_.globals().OnlineTimeTARN += elapsed;
    if (simOn_) simDepth_ += direction_ == kLogDown ? simStep_ : -simStep_;
  }
  result.rowsToDraw = (depthLog_ || stationLog_) && ring_.displayed() != ring_.write();
  return result;
}

}  // namespace kvr
