#include "kvr/postprocess/TextOutput.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdint>

#include "kvr/postprocess/Trace.h"
#include "kvr/utilities/LasNumber.h"

namespace kvr::postprocess {
namespace {
constexpr std::size_t kSpill = 1u << 20;
}

TextOutput::~TextOutput() { close(); }

bool TextOutput::create(const std::string& path) {
  close();
  failed_ = false;
  file_ = std::fopen(path.c_str(), "wbx");
  path_ = path;
  buffer_.reserve(kSpill + 4096);
  return file_ != nullptr;
}

void TextOutput::put(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t nl = text.find('\n', at);
    const std::size_t end = nl == std::string_view::npos ? text.size() : nl;
    buffer_.append(text.substr(at, end - at));
    if (nl == std::string_view::npos) break;
    buffer_.append("\r\n");
    at = nl + 1;
  }
  if (buffer_.size() >= kSpill) spill();
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
  static constexpr std::uint64_t kDivisor[] = {1, 10, 100, 1000};
  if (precision < 0 || precision > 3 || !std::isfinite(v)) return false;
  const double a = std::fabs(v), s = kScale[precision];
  if (a * s >= 0x1p51) return false;
  double q = std::floor(a * s + 0.5);
  const double below = std::fma(a, s, -(q - 0.5)), above = std::fma(a, s, -(q + 0.5));
  if (below < 0) q -= 1;
  else if (above > 0) q += 1;
  else if (below == 0 && std::fmod(q, 2) != 0) q -= 1;
  else if (above == 0 && std::fmod(q, 2) != 0) q += 1;
  const auto u = static_cast<std::uint64_t>(q);
  char* p = out;
  if (std::signbit(v)) *p++ = '-';
  p = std::to_chars(p, p + 24, u / kDivisor[precision]).ptr;
  if (precision > 0) {
    *p++ = '.';
    std::uint64_t frac = u % kDivisor[precision];
    for (int i = precision - 1; i >= 0; --i, frac /= 10) p[i] = static_cast<char>('0' + frac % 10);
    p += precision;
  }
  *length = static_cast<int>(p - out);
  return true;
}
}  // namespace

void TextOutput::fixed(double v, int width, int precision) {
  char digits[las::kDoubleTextRoom];
  int n = 0;
  if (!fastFixed(v, precision, digits, &n)) n = static_cast<int>(las::formatFixed(digits, v, precision) - digits);
  if (n < width) buffer_.append(static_cast<std::size_t>(width - n), ' ');
  buffer_.append(digits, static_cast<std::size_t>(n));
}

void TextOutput::spill() {
  if (file_ && !buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
    failed_ = true;
  buffer_.clear();
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
