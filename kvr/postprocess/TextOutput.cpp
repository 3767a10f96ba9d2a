#include "kvr/postprocess/TextOutput.h"

#include <algorithm>
#include <bit>
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
  // The separators between numbers: a few characters, copied one by one.
  if (text.size() <= 8 && used_ < kSpill) {
    char* out = buffer_.get() + used_;
    for (const char c : text) {
      if (c == '\n') *out++ = '\r';
      *out++ = c;
    }
    used_ = static_cast<std::size_t>(out - buffer_.get());
    return;
  }
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
// v x 10^precision is m x 10^precision x 2^e exactly (m the 53-bit significand), below 2^63
// for precision 0 to 3; it is rounded to an integer half to even, as printf rounds the exact
// binary value. Writes the text right-aligned in 'width' at out, which has 32 bytes of room,
// and returns its length; 0 where the short path does not apply.
int fastFixed(double v, int width, int precision, char* out) {
  static constexpr std::uint64_t kPow10[] = {1,         10,         100,         1000,         10000,
                                             100000,    1000000,    10000000,    100000000,    1000000000,
                                             10000000000, 100000000000, 1000000000000, 10000000000000,
                                             100000000000000, 1000000000000000, 10000000000000000};
  if (precision < 0 || precision > 3 || width > 32) return 0;
  const auto bits = std::bit_cast<std::uint64_t>(v);
  const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
  // Below 2^40 whatever the precision: at most 13 whole digits, room for all in 32.
  if (biased >= 1023 + 40) return 0;
  std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
  int e = -1074;
  if (biased != 0) {
    m |= std::uint64_t{1} << 52;
    e = biased - 1075;
  }
  const std::uint64_t q = m * kPow10[precision];
  // e is at most -13 here; from -64 on the product is below half a unit and rounds to 0.
  std::uint64_t u = 0;
  if (e > -64) {
    const int shift = -e;
    u = q >> shift;
    const std::uint64_t rest = q & ((std::uint64_t{1} << shift) - 1), half = std::uint64_t{1} << (shift - 1);
    if (rest > half || (rest == half && (u & 1) != 0)) ++u;
  }
  // Digits of u (u < 10^16), at least one before the point.
  int digits = static_cast<int>((std::bit_width(u) * 1233) >> 12);
  if (u >= kPow10[digits]) ++digits;
  digits = std::max(digits, precision + 1);
  const bool negative = (bits >> 63) != 0;
  const int length = digits + (precision > 0) + negative;
  const int field = std::max(length, width);
  // Written straight into place, from the right; the spaces first.
  std::memset(out, ' ', 32);
  char* p = out + field;
  for (int i = 0; i < precision; ++i, u /= 10) *--p = static_cast<char>('0' + u % 10);
  if (precision > 0) *--p = '.';
  for (int i = precision; i < digits; ++i, u /= 10) *--p = static_cast<char>('0' + u % 10);
  if (negative) *--p = '-';
  return field;
}
}  // namespace

void TextOutput::fixed(double v, int width, int precision) {
  if (!buffer_) return;
  if (used_ >= kSpill) spill();
  if (const int n = fastFixed(v, width, precision, buffer_.get() + used_); n > 0) {
    used_ += static_cast<std::size_t>(n);
    return;
  }
  char digits[las::kDoubleTextRoom];
  const int n = static_cast<int>(las::formatFixed(digits, v, precision) - digits);
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
