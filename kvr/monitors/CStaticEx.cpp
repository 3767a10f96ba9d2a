#include "kvr/monitors/CStaticEx.h"

#include <algorithm>
#include <cstdio>

namespace kvr::monitors {

CStaticEx::CStaticEx() {
  font_.family = platform::FontFamily::Swiss;
  font_.height = 30;
  font_.width = 10;
  font_.weight = 400;
}

void CStaticEx::setTimerMode(bool on) {
  timer_ = on;
  if (on) text_ = "Stopped";
}

void CStaticEx::showElapsed(int seconds) {
  if (!timer_) return;
  seconds = std::max(seconds, 0);
  char text[32];
  std::snprintf(text, sizeof text, "%02dm, %02ds", seconds / 60, seconds % 60);
  text_ = text;
}

void CStaticEx::fitTo(const platform::Size& client) {
  int height = std::max(client.height, 1);
  // A character cell is about the font's width across; the text keeps a little margin.
  const int chars = static_cast<int>(std::max<std::size_t>(text_.size(), 1));
  const int widest = client.width * 100 / (35 * chars + 10);
  height = std::max(1, std::min(height, widest));
  font_.family = platform::FontFamily::Swiss;
  font_.height = height;
  font_.width = std::max(1, height * 35 / 100);
  font_.weight = 400;
}

void CStaticEx::paint(platform::Canvas& canvas, const platform::Rect& client) const {
  canvas.fillRect(client, background_);
  canvas.setFont(font_);
  canvas.setTextColour(textColour_);
  canvas.setBackground(false, background_);
  const int x = (align_ & 6) == platform::AlignCenter ? (client.left + client.right) / 2
                : (align_ & 6) == platform::AlignRight ? client.right
                                                       : client.left;
  // Centred vertically: the text's reference point is its top.
  const int y = (client.top + client.bottom) / 2 - canvas.textExtent(text_).height / 2;
  canvas.text({x, y}, text_, (align_ & 6) | platform::AlignTop);
}

}  // namespace kvr::monitors
