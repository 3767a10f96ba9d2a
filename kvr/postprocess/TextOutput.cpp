#include "kvr/postprocess/TextOutput.h"

#include <charconv>
#include <cmath>
#include <cstdarg>

#include "kvr/postprocess/Trace.h"

namespace kvr::postprocess {
namespace {
constexpr std::size_t kSpill = 1u << 20;
}

TextOutput::~TextOutput() { close(); }

bool TextOutput::create(const std::string& path) {
  close();
  failed_ = false;
  file_ = std::fopen(path.c_str(), "wbx");
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

void TextOutput::fixed(double v, int width, int precision) {
  char digits[64];
  const auto r = std::isfinite(v) && std::fabs(v) < 1e30
                     ? std::to_chars(digits, digits + sizeof digits, v, std::chars_format::fixed, precision)
                     : std::to_chars_result{digits + std::snprintf(digits, sizeof digits, "%.*f", precision, v),
                                            std::errc{}};
  const auto n = static_cast<int>(r.ptr - digits);
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
  return ok;
}

}  // namespace kvr::postprocess
