#include "kvr/postprocess/TextOutput.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <cmath>
#include <cstdarg>
#include <cstdint>

#include "kvr/postprocess/Trace.h"
#include "kvr/utilities/LasNumber.h"

namespace kvr::postprocess {
namespace {
constexpr std::size_t kSpill = 1u << 20;
// Beyond kSpill, room for one number of any size and its padding.
constexpr std::size_t kRoom = kSpill + 2 * las::kDoubleTextRoom;
}  // namespace

TextOutput::~TextOutput() { close(); }

bool TextOutput::create(const std::string& path) {
  close();
  failed_ = false;
  file_ = std::fopen(path.c_str(), "wbx");
  path_ = path;
  used_ = 0;
  if (!buffer_) buffer_ = std::make_unique<char[]>(kRoom);
  return file_ != nullptr;
}

void TextOutput::append(const char* text, std::size_t n) {
  if (used_ + n <= kRoom) {
    std::memcpy(buffer_.get() + used_, text, n);
    used_ += n;
    return;
  }
  while (n > 0) {
    if (used_ >= kSpill) spill();
    const std::size_t piece = std::min(n, kRoom - used_);
    std::memcpy(buffer_.get() + used_, text, piece);
    used_ += piece;
    text += piece;
    n -= piece;
  }
}

void TextOutput::put(std::string_view text) {
  if (!buffer_) return;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t nl = text.find('\n', at);
    const std::size_t end = nl == std::string_view::npos ? text.size() : nl;
    append(text.data() + at, end - at);
    if (nl == std::string_view::npos) break;
    append("\r\n", 2);
    at = nl + 1;
  }
  if (used_ >= kSpill) spill();
}

void TextOutput::print(const char* pattern, ...) {
  std::va_list args;
  va_start(args, pattern);
  const std::string s = vformat(pattern, args);
  va_end(args);
  put(s);
}

namespace {
// The sample rows are millions of numbers of two decimals: this short path is faster there than
// the general one of las::formatFixed, which takes every other number.
// printf's "%.<precision>f" for |v| x 10^precision below 2^51 and precision 0 to 3 (so every
// half-integer near the product is exact): the nearest integer to
// v x 10^precision from the exact product (fma gives the sign of the exact remainder), ties
// to even as the binary value is rounded; false for anything else.
bool fastFixed(double v, int precision, char* out, int* length) {
  static constexpr double kScale[] = {1, 10, 100, 1000};
  if (precision < 0 || precision > 3 || !std::isfinite(v)) return false;
  const double a = std::fabs(v), s = kScale[precision];
  if (a * s >= 0x1p51) return false;
  double q = std::floor(a * s + 0.5);
  const double below = std::fma(a, s, -(q - 0.5)), above = std::fma(a, s, -(q + 0.5));
  if (below < 0) q -= 1;
  else if (above > 0) q += 1;
  else if (below == 0 && std::fmod(q, 2) != 0) q -= 1;
  else if (above == 0 && std::fmod(q, 2) != 0) q += 1;
  auto u = static_cast<std::uint64_t>(q);
  // Digits from the right: the decimals, the point, then the whole part (at least a 0).
  char text[32];
  char* p = text + sizeof text;
  for (int i = 0; i < precision; ++i, u /= 10) *--p = static_cast<char>('0' + u % 10);
  if (precision > 0) *--p = '.';
  do {
    *--p = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u != 0);
  if (std::signbit(v)) *--p = '-';
  *length = static_cast<int>(text + sizeof text - p);
  std::memcpy(out, p, static_cast<std::size_t>(*length));
  return true;
}
}  // namespace

void TextOutput::fixed(double v, int width, int precision) {
  char digits[las::kDoubleTextRoom];
  int n = 0;
  if (!fastFixed(v, precision, digits, &n)) n = static_cast<int>(las::formatFixed(digits, v, precision) - digits);
  if (!buffer_) return;
  static constexpr char kSpaces[] = "                                ";
  for (int pad = width - n; pad > 0; pad -= 32) append(kSpaces, static_cast<std::size_t>(std::min(pad, 32)));
  append(digits, static_cast<std::size_t>(n));
}

void TextOutput::spill() {
  if (file_ && used_ > 0 && std::fwrite(buffer_.get(), 1, used_, file_) != used_) failed_ = true;
  used_ = 0;
}

bool TextOutput::close() {
  if (!file_) return false;
  spill();
  const bool ok = std::fclose(file_) == 0 && !failed_;
  file_ = nullptr;
  if (!ok) std::remove(path_.c_str());
  return ok;
}

}  // namespace kvr::postprocess
