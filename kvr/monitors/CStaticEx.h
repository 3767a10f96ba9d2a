#pragma once
// The text control of the monitors (and later of the gauge and TARN panels): a filled
// background, one text centred in the text colour, a font, and a timer mode that shows
// minutes and seconds. Drawn on any Canvas.

#include <string>

#include "platform/Canvas.h"

namespace kvr::monitors {

class CStaticEx {
 public:
  static constexpr platform::Rgb kBlack = platform::rgb(0, 0, 0);
  static constexpr platform::Rgb kRed = platform::rgb(255, 0, 0);
  static constexpr platform::Rgb kGreen = platform::rgb(0, 255, 0);

  CStaticEx();

  void setText(std::string text) { text_ = std::move(text); }
  const std::string& text() const { return text_; }
  void setColours(platform::Rgb background, platform::Rgb text) {
    background_ = background;
    textColour_ = text;
  }
  platform::Rgb background() const { return background_; }
  platform::Rgb textColour() const { return textColour_; }
  void setFont(const platform::Font& font) { font_ = font; }
  const platform::Font& font() const { return font_; }
  void setAlignment(unsigned align) { align_ = align; }

  // Timer mode: "Stopped" until the first elapsed time, then "%02dm, %02ds".
  void setTimerMode(bool on);
  bool timerMode() const { return timer_; }
  void showElapsed(int seconds);

  // A magnified monitor's font for its client area: the client height, a width of 35 % of
  // it, weight 400, swiss; smaller when the text would not fit across, so the number fills
  // the window at any size.
  void fitTo(const platform::Size& client);

  void paint(platform::Canvas& canvas, const platform::Rect& client) const;

 private:
  platform::Rgb background_ = kBlack;
  platform::Rgb textColour_ = kRed;
  platform::Font font_;
  std::string text_;
  unsigned align_ = platform::AlignCenter;
  bool timer_ = false;
};

}  // namespace kvr::monitors
