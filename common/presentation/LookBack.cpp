#include "common/presentation/LookBack.h"

#include <algorithm>

namespace presentation {

std::uint64_t LookBack::thumbFrame(int position, std::uint64_t frames, int valuesPerFrame, bool up) {
  const std::uint64_t p = static_cast<std::uint64_t>(std::clamp(up ? kRange - position : position, 0, kRange));
  const std::uint64_t n = static_cast<std::uint64_t>(valuesPerFrame < 1 ? 1 : valuesPerFrame);
  const std::uint64_t values = frames * n;
  // values x p fits in 64 bits for any file a 32-bit offset can address.
  return values * p / kRange / n;
}

std::uint64_t LookBack::clampLast(std::uint64_t last, std::uint64_t frames) const {
  if (frames == 0) return 0;
  const std::uint64_t lowest = std::min<std::uint64_t>(static_cast<std::uint64_t>(rows_) - 1, frames - 1);
  return std::clamp(last, lowest, frames - 1);
}

FrameSpan LookBack::shown(std::uint64_t frames) const {
  if (frames == 0) return {};
  const std::uint64_t last = clampLast(last_, frames);
  const std::uint64_t count = std::min<std::uint64_t>(static_cast<std::uint64_t>(rows_), last + 1);
  return {last + 1 - count, count};
}

void LookBack::frameAdded(std::uint64_t frames) {
  if (following_ && frames > 0) last_ = frames - 1;
}

FrameSpan LookBack::jumpTo(std::uint64_t cursor, std::uint64_t frames) {
  if (frames == 0) return {};
  const std::uint64_t rows = static_cast<std::uint64_t>(rows_);
  last_ = clampLast(cursor + rows - 1, frames);
  following_ = last_ == frames - 1;
  return shown(frames);
}

void LookBack::jumpToNewest(std::uint64_t frames) {
  last_ = frames == 0 ? 0 : frames - 1;
  following_ = true;
}

LookBack::Scroll LookBack::scroll(int olderRows, std::uint64_t frames) {
  Scroll s;
  if (frames == 0 || olderRows == 0) return s;
  const std::uint64_t before = clampLast(last_, frames);
  const std::int64_t wanted = static_cast<std::int64_t>(before) - olderRows;
  const std::uint64_t after = clampLast(static_cast<std::uint64_t>(std::max<std::int64_t>(wanted, 0)), frames);
  last_ = after;
  following_ = after == frames - 1;
  const std::uint64_t rows = static_cast<std::uint64_t>(rows_);
  if (after < before) {
    const std::uint64_t moved = before - after;
    s.moved = static_cast<int>(moved);
    s.atOldEdge = true;
    // New at the old edge: frames after + 1 - rows ... before - rows (+1 already shown),
    // starting one earlier, off the plot, so the first shown segment is drawn.
    const std::uint64_t firstShown = after + 1 - std::min(rows, after + 1);
    const std::uint64_t start = firstShown > 0 ? firstShown - 1 : 0;
    const std::uint64_t endJoin = std::min(before + 1 - std::min(rows, before + 1), after);
    s.draw = {start, endJoin - start + 1};
  } else if (after > before) {
    const std::uint64_t moved = after - before;
    s.moved = -static_cast<int>(moved);
    const std::uint64_t start = std::max(before, after - std::min(after, rows));
    s.draw = {start, after - start + 1};
  }
  return s;
}

int LookBack::position(std::uint64_t frames) const {
  if (frames == 0) return newestPosition(up_);
  const std::uint64_t last = clampLast(last_, frames);
  const int p = static_cast<int>((last + 1) * kRange / frames);
  return up_ ? kRange - p : p;
}

}  // namespace presentation
