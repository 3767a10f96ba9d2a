#pragma once
// Looking back through a log: the 0..1000 scroll bar over the value stream and the frames
// a scroll or a jump has to draw. Pure arithmetic on frame numbers; the records are read
// by seeking to data offset + 4 x N x frame.

#include <cstdint>

namespace presentation {

struct FrameSpan {
  std::uint64_t first = 0;
  std::uint64_t count = 0;
  friend bool operator==(const FrameSpan&, const FrameSpan&) = default;
};

class LookBack {
 public:
  static constexpr int kRange = 1000;
  static constexpr int kLineRows = 4, kPageRows = 40, kWheelRows = 20, kThumbEvery = 21;

  // The frame a thumb position names: value index position/1000 of the stream, rounded
  // down to whole frames, counted from the end when logging up.
  static std::uint64_t thumbFrame(int position, std::uint64_t frames, int valuesPerFrame, bool up);
  // The thumb position of the newest frame.
  static int newestPosition(bool up) { return up ? 0 : kRange; }
  // The byte offset of a frame's record.
  static std::uint64_t recordOffset(std::uint64_t dataOffset, int valuesPerFrame, std::uint64_t frame) {
    return dataOffset + 4u * static_cast<std::uint64_t>(valuesPerFrame) * frame;
  }

  LookBack(bool up, int rowsThatFit) : up_(up), rows_(rowsThatFit < 1 ? 1 : rowsThatFit) {}
  bool up() const { return up_; }
  int rows() const { return rows_; }
  void setRows(int rowsThatFit) { rows_ = rowsThatFit < 1 ? 1 : rowsThatFit; }

  // The frames shown: the last one sits on the newest-row line.
  FrameSpan shown(std::uint64_t frames) const;
  std::uint64_t lastShown() const { return last_; }
  bool following() const { return following_; }

  // A new frame arrived; while following, the view moves with it.
  void frameAdded(std::uint64_t frames);
  // Jump: the plot is drawn anew from the cursor frame (kept so that the plot is full).
  FrameSpan jumpTo(std::uint64_t cursor, std::uint64_t frames);
  void jumpToNewest(std::uint64_t frames);

  // Scrolling by rows; positive olderRows moves toward the start of the log. The result
  // says how far the view moved (in rows, positive toward older data) and which frames
  // must be drawn at the uncovered side, oldest first, including one frame that is
  // already on screen (or just off it) so that the segments join.
  struct Scroll {
    int moved = 0;
    FrameSpan draw;
    bool atOldEdge = false;  // the frames go at the far (old) side of the plot
  };
  Scroll scroll(int olderRows, std::uint64_t frames);

  // Scroll-bar and wheel events translated to rows toward older data.
  int lineUpRows() const { return up_ ? -kLineRows : kLineRows; }
  int lineDownRows() const { return -lineUpRows(); }
  int pageUpRows() const { return up_ ? -kPageRows : kPageRows; }
  int pageDownRows() const { return -pageUpRows(); }
  // Positive notches: the wheel turned away from the user (up).
  int wheelRows(int notches) const { return (up_ ? -kWheelRows : kWheelRows) * notches; }
  int headingWheelPixels(int notches) const { return (up_ ? -2 : 2) * notches; }

  // While logging the thumb goes to the newest position every 21 frames once the log is
  // longer than the window.
  bool thumbDue(std::uint64_t frames) const { return frames > static_cast<std::uint64_t>(rows_) && frames % kThumbEvery == 0; }

  // The view's place as a thumb position.
  int position(std::uint64_t frames) const;

 private:
  std::uint64_t clampLast(std::uint64_t last, std::uint64_t frames) const;
  bool up_;
  int rows_;
  std::uint64_t last_ = 0;
  bool following_ = true;
};

}  // namespace presentation
