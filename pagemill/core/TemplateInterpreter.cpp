#include "pagemill/core/TemplateInterpreter.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "common/presentation/TextCursor.h"

namespace pagemill {

namespace {

using presentation::TextCursor;

// Coordinates far beyond any page, so that sums of them never overflow.
constexpr long long kCoordinateLimit = 10000000;

int clampCoordinate(long long v) { return static_cast<int>(std::clamp(v, -kCoordinateLimit, kCoordinateLimit)); }

platform::Rect normalised(int x1, int y1, int x2, int y2) {
  return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

class Run {
 public:
  Run(TextCursor& in, int origin, const TemplateOptions& o, platform::Canvas& c) : in_(in), o_(o), c_(c) {
    s_.origin = origin;
  }

  TemplateState execute() {
    c_.setPen(pen_);
    c_.setBrush(brush_);
    c_.setFont(font_);
    c_.setTextColour(0);
    c_.setBackground(true, 0xFFFFFF);
    while (!in_.atEnd()) {
      const std::string_view token = in_.word();
      if (token.empty()) break;
      if (token == "&END") break;
      if (token.front() == '&') command(token);
    }
    c_.clearClip();
    c_.setPen(platform::Pen{});
    c_.setBrush(platform::Brush{});
    c_.setBackground(false, 0xFFFFFF);
    if (s_.mainRegionSet) s_.origin = s_.main.y2;
    return s_;
  }

 private:
  // n integers, or nothing when one of them is not a number (the command is then skipped
  // and what follows is read as ordinary tokens).
  template <std::size_t N>
  std::optional<std::array<long long, N>> numbers() {
    std::array<long long, N> v{};
    for (auto& x : v) {
      const auto n = in_.integer();
      if (!n) return std::nullopt;
      x = std::clamp(*n, -kCoordinateLimit, kCoordinateLimit);
    }
    return v;
  }

  std::string restOfLine() {
    std::string_view line = in_.line();
    if (line.size() > kTemplateLineMax) line = line.substr(0, kTemplateLineMax);
    return std::string(line);
  }

  void command(std::string_view cmd) {
    if (cmd == "&MAIN_REGION") mainRegion();
    else if (cmd == "&SUBREGION") subregion();
    else if (cmd == "&COORDINATES") coordinates();
    else if (cmd == "&GOTOXY") gotoXY();
    else if (cmd == "&SETPEN") setPen();
    else if (cmd == "&SETBRUSH") setBrush();
    else if (cmd == "&TXTCOLOR") textColour();
    else if (cmd == "&SETFONT") setFont();
    else if (cmd == "&TXTALIGN") textAlign();
    else if (cmd == "&DRAWRECTANGLE") drawRectangle();
    else if (cmd == "&DRAWEDGE") drawEdge();
    else if (cmd == "&DRAWLINE") drawLine();
    else if (cmd == "&TITLE") drawText(restOfLine());
    else if (cmd == "&TXTITEM") textItem();
    else if (cmd == "&ITEM") item();
    else if (cmd == "&SEPARATORTEXT") drawText(o_.separatorText);
    else if (cmd == "&BMP") picture();
    // &HEADER_TEMPLATE, &TAIL_TEMPLATE, &SEPARATOR_TEMPLATE and unknown commands: nothing.
  }

  void mainRegion() {
    const auto v = numbers<4>();
    if (!v) return;
    c_.clearClip();
    s_.main = {clampCoordinate((*v)[0]), clampCoordinate((*v)[1] + s_.origin), clampCoordinate((*v)[2]),
               clampCoordinate((*v)[3] + s_.origin)};
    s_.rect = s_.main;
    s_.mainRegionSet = true;
  }

  void subregion() {
    const auto v = numbers<4>();
    if (!v) return;
    c_.clearClip();
    const auto& m = s_.main;
    s_.sub = {clampCoordinate((*v)[0] + m.x1), clampCoordinate((*v)[1] + m.y1), clampCoordinate((*v)[2] + m.x1),
              clampCoordinate((*v)[3] + m.y1)};
    const auto& s = s_.sub;
    c_.setClip(normalised(s.x1, s.y1, s.x2 + 1, s.y2 - 1));
    s_.rect = s_.sub;
  }

  void coordinates() {
    const auto v = numbers<4>();
    if (!v) return;
    const auto& s = s_.sub;
    s_.rect = {clampCoordinate((*v)[0] + s.x1), clampCoordinate((*v)[1] + s.y1), clampCoordinate((*v)[2] + s.x1),
               clampCoordinate((*v)[3] + s.y1)};
  }

  void gotoXY() {
    const auto v = numbers<2>();
    if (!v) return;
    s_.text = {clampCoordinate((*v)[0] + s_.sub.x1), clampCoordinate((*v)[1] + s_.sub.y1)};
  }

  static platform::Rgb colour(const std::array<long long, 3>& v) {
    // As the colour macro took them: the low byte of each component.
    return platform::rgb(static_cast<unsigned>(v[0]) & 0xFF, static_cast<unsigned>(v[1]) & 0xFF,
                         static_cast<unsigned>(v[2]) & 0xFF);
  }

  void setPen() {
    const auto v = numbers<4>();
    if (!v) return;
    pen_ = {platform::PenStyle::Solid, static_cast<int>(std::clamp((*v)[3], 0LL, 100000LL)),
            colour({(*v)[0], (*v)[1], (*v)[2]})};
  }

  void setBrush() {
    const auto v = numbers<3>();
    if (!v) return;
    brush_ = {platform::BrushStyle::Solid, colour(*v)};
    c_.setBackground(true, brush_.colour);
  }

  void textColour() {
    const auto v = numbers<3>();
    if (!v) return;
    c_.setTextColour(colour(*v));
  }

  void setFont() {
    const std::string_view face = in_.word();
    const auto v = numbers<3>();
    if (face.empty() || !v) return;
    platform::Font f;
    f.family = face == "SWISS"        ? platform::FontFamily::Swiss
               : face == "ROMAN"      ? platform::FontFamily::Roman
               : face == "MODERN"     ? platform::FontFamily::Modern
               : face == "DECORATIVE" ? platform::FontFamily::Decorative
                                      : platform::FontFamily::DontCare;
    const int height = static_cast<int>(std::clamp((*v)[0], -100000LL, 100000LL));
    f.height = height;
    f.width = height * 30 / 100;
    switch ((*v)[1]) {
      case 1: f.weight = 100; break;
      case 2: f.weight = 300; break;
      case 4: f.weight = 700; break;
      case 5: f.weight = 900; break;
      default: f.weight = 400; break;
    }
    // Counter-clockwise in every print mode: the drivers that turned text the other way
    // round are not this program's print back end, so no mode negates the angle.
    f.escapement = static_cast<int>(std::clamp((*v)[2], -3600LL, 3600LL)) * 10;
    font_ = f;
    c_.setFont(font_);
  }

  void textAlign() {
    const auto v = numbers<1>();
    if (!v) return;
    align_ = (*v)[0] == 2 ? platform::AlignCenter : (*v)[0] == 3 ? platform::AlignRight : platform::AlignLeft;
  }

  void drawRectangle() {
    c_.setPen(pen_);
    c_.setBrush(brush_);
    const auto& r = s_.rect;
    c_.rectangle(normalised(r.x1, r.y1, r.x2, r.y2));
  }

  void drawEdge() {
    const auto& r = s_.rect;
    c_.line({r.x1, r.y1}, {r.x2, r.y1});
    c_.line({r.x2, r.y1}, {r.x2, r.y2});
    c_.line({r.x2, r.y2}, {r.x1, r.y2});
    c_.line({r.x1, r.y2}, {r.x1, r.y1});
  }

  void drawLine() {
    c_.setPen(pen_);
    const auto& r = s_.rect;
    c_.line({r.x1, r.y1}, {r.x2, r.y2});
  }

  void drawText(const std::string& text) { c_.text(s_.text, text, align_ | platform::AlignTop); }

  std::string itemText(long long n) const {
    if (n < 1 || n > 61 || !o_.item) return {};
    return o_.item(static_cast<int>(n));
  }

  void textItem() {
    const std::string caption = restOfLine();
    const auto v = numbers<1>();
    if (!v) return;
    drawText(caption + itemText((*v)[0]));
  }

  void item() {
    const auto v = numbers<1>();
    if (!v) return;
    const std::string text = itemText((*v)[0]);
    if (!text.empty()) drawText(text);
  }

  void picture() {
    const auto path = templatePicturePath(o_.folder, restOfLine());
    if (!path) return;
    const auto& r = s_.rect;
    const int w = std::abs(r.x2 - r.x1), h = std::abs(r.y1 - r.y2);
    // The first driver wanted the picture given from its lower edge with a positive height.
    const platform::Rect dest = o_.printing && o_.printMode == kHp ? platform::Rect{r.x1, r.y1 - h, r.x1 + w, r.y1}
                                                                   : platform::Rect{r.x1, r.y1, r.x1 + w, r.y1 - h};
    c_.drawImage(dest, path->string());
  }

  static constexpr int kHp = 1;
  TextCursor& in_;
  const TemplateOptions& o_;
  platform::Canvas& c_;
  TemplateState s_;
  platform::Pen pen_{platform::PenStyle::Solid, 0, 0};
  platform::Brush brush_{platform::BrushStyle::Solid, 0xFFFFFF};
  platform::Font font_;
  unsigned align_ = platform::AlignLeft;
};

}  // namespace

std::optional<std::filesystem::path> templatePicturePath(const std::filesystem::path& folder, std::string_view name) {
  // Leading blanks of the name belong to the command line, not to the file name.
  while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
  while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
  if (name.empty() || name.find(':') != std::string_view::npos || name.find('\0') != std::string_view::npos)
    return std::nullopt;
  std::string relative(name);
  std::replace(relative.begin(), relative.end(), '\\', '/');
  const std::filesystem::path p(relative);
  if (p.is_absolute() || p.has_root_name() || p.has_root_directory()) return std::nullopt;
  for (const auto& part : p)
    if (part == "..") return std::nullopt;
  return folder / p;
}

TemplateState interpretTemplate(std::string_view text, int origin, const TemplateOptions& options,
                                platform::Canvas& canvas) {
  TextCursor in(text);
  const std::string_view section = options.english ? "&ENGLISH" : "&METRIC";
  for (;;) {
    const std::string_view token = in.word();
    if (token.empty()) {
      TemplateState none;
      none.origin = origin;
      return none;
    }
    if (token == section) break;
  }
  return Run(in, origin, options, canvas).execute();
}

}  // namespace pagemill
