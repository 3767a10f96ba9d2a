#pragma once
// Just enough JSON output for kvr-info: strings escaped for any bytes, numbers in the C locale.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace json {

// Length of a valid UTF-8 sequence at s[i], or 0 when the bytes there are not one.
inline std::size_t utf8Length(std::string_view s, std::size_t i) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = b(i);
  std::size_t n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c <= 0xDF ? 2 : 0;
  if (c >= 0xF5 || n == 0 || i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if ((b(i + k) & 0xC0) != 0x80) return 0;
  if (n == 3 && ((c == 0xE0 && b(i + 1) < 0xA0) || (c == 0xED && b(i + 1) >= 0xA0))) return 0;  // overlong, surrogate
  if (n == 4 && ((c == 0xF0 && b(i + 1) < 0x90) || (c == 0xF4 && b(i + 1) >= 0x90))) return 0;  // overlong, > U+10FFFF
  return n;
}

// Valid UTF-8 passes through; control bytes and DEL are escaped, and a byte that is not part
// of valid UTF-8 is read as Latin-1 (the files come from a single-byte code page) and escaped.
inline std::string quote(std::string_view s) {
  std::string out = "\"";
  char buf[8];
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else if (c >= 0x80) {
      const std::size_t n = utf8Length(s, i);
      if (n == 0) {
        std::snprintf(buf, sizeof buf, "\\u%04x", c);
        out += buf;
      } else {
        out.append(s.substr(i, n));
        i += n;
        continue;
      }
    } else {
      out += static_cast<char>(c);
    }
    ++i;
  }
  return out + "\"";
}

// Shortest form that reads back to the same float; null for NaN and infinities.
inline std::string number(double v) {
  if (!std::isfinite(v)) return "null";
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}
inline std::string number(float v) {
  if (!std::isfinite(v)) return "null";
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}
inline std::string number(std::uint64_t v) { return std::to_string(v); }
inline std::string number(std::int64_t v) { return std::to_string(v); }

}  // namespace json
