#pragma once
// Reads back a printed PDF as a reader shows it: its pages, the text runs with their font,
// size, turn and glyph boxes (points, y down from the top of the sheet), and a page drawn
// to grey pixels for measuring lines and margins.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace poppler {
class document;
}

namespace pagemill::testing {

struct Box {
  double x = 0, y = 0, width = 0, height = 0;
};

struct PdfText {
  std::string text;
  std::string font;  // the embedded font's name, without its subset tag
  double size = 0;   // points
  int quarterTurns = 0;  // clockwise: 0 upright, 1 reads downward, 3 reads upward
  Box box;
  std::vector<Box> glyphs;
};

struct GreyPage {
  int width = 0, height = 0;
  std::vector<std::uint8_t> pixels;  // row by row, 0 black
  std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
  // Columns where at least half the rows in [top, bottom) are darker than 128.
  std::vector<int> darkColumns(int top, int bottom) const;
  // The first column from the left with a pixel darker than 128; -1 for a blank page.
  int firstInkColumn() const;
};

class PdfProbe {
 public:
  explicit PdfProbe(const std::filesystem::path& pdf);
  ~PdfProbe();
  bool ok() const { return doc_ != nullptr; }
  int pages() const;
  std::vector<PdfText> texts(int page) const;
  // The first text run that is exactly text, on any page; nullptr when none is.
  const PdfText* find(const std::vector<PdfText>& runs, const std::string& text) const;
  GreyPage render(int page, double dpi) const;

 private:
  std::unique_ptr<poppler::document> doc_;
};

}  // namespace pagemill::testing
