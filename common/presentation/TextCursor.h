#pragma once
// Reads a text file the way the presentation file is read: whole lines, or blank-separated
// tokens across lines. Lines end in LF, CR LF or CR.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace presentation {

class TextCursor {
 public:
  explicit TextCursor(std::string_view text) : text_(text) {}
  bool atEnd() const { return pos_ >= text_.size(); }
  // The rest of the current line without its line end; consumes the line end.
  std::string_view line();
  // Skips blanks and line ends, then the rest of that line.
  std::string_view lineAfterBlanks();
  // The next blank-separated token; empty at the end of the text.
  std::string_view word();
  // A number at the next token; nothing is consumed when the token does not start with
  // one (as a formatted read would leave it), only the number when more follows.
  std::optional<long long> integer();
  std::optional<double> real();

 private:
  void skipBlanks();
  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace presentation
