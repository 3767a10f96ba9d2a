#include "toolslib/calibration/SctTable.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tools::cal {

namespace {

constexpr std::string_view kMagic = "KVR SENSOR CORRECTION TABLE 1";

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string current;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(current);
      current.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current += c;
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

// The text after "KEY " on a line.
std::optional<std::string> field(const std::string& line, std::string_view key) {
  if (line.size() < key.size() + 1 || line.compare(0, key.size(), key) != 0 || line[key.size()] != ' ') return std::nullopt;
  return line.substr(key.size() + 1);
}

std::optional<double> number(const std::string& s) {
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (s.empty() || end != s.c_str() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

// Whitespace-separated finite numbers, or nullopt.
std::optional<std::vector<double>> numbers(const std::string& line) {
  std::vector<double> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    std::size_t j = i;
    while (j < line.size() && line[j] != ' ' && line[j] != '\t') ++j;
    if (j > i) {
      const auto v = number(line.substr(i, j - i));
      if (!v) return std::nullopt;
      out.push_back(*v);
    }
    i = j;
  }
  return out;
}

}  // namespace

std::vector<double> SctTable::at(double t) const {
  if (rows.empty()) return {};
  if (t <= temperatures.front()) return rows.front();
  if (t >= temperatures.back()) return rows.back();
  std::size_t k = 1;
  while (temperatures[k] < t) ++k;
  const double f = (t - temperatures[k - 1]) / (temperatures[k] - temperatures[k - 1]);
  std::vector<double> out(rows[k].size());
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = rows[k - 1][i] + f * (rows[k][i] - rows[k - 1][i]);
  return out;
}

SctParse parseSct(std::string_view text, std::size_t columns) {
  SctParse r;
  if (text.size() > kMaxSctBytes) return {std::nullopt, "the file is too big"};
  const auto lines = splitLines(text);
  if (lines.size() < 5 || lines[0] != kMagic) return {std::nullopt, "it does not start with \"" + std::string(kMagic) + "\""};
  const auto serial = field(lines[1], "SN"), date = field(lines[2], "DATE"), type = field(lines[3], "TYPE");
  const auto count = field(lines[4], "ROWS");
  if (!serial || !date || !type || !count) return {std::nullopt, "SN, DATE, TYPE and ROWS must follow the first line"};
  const auto typeValue = number(*type), rows = number(*count);
  if (!typeValue) return {std::nullopt, "TYPE is not a number"};
  if (!rows || *rows < 1 || *rows > static_cast<double>(kMaxSctRows) || std::floor(*rows) != *rows)
    return {std::nullopt, "ROWS is not a row count from 1 to 2000"};
  const auto n = static_cast<std::size_t>(*rows);
  if (lines.size() < 5 + n) return {std::nullopt, "the file ends before its last row"};
  SctTable t;
  t.serial = *serial;
  t.date = *date;
  t.type = *typeValue;
  for (std::size_t i = 0; i < n; ++i) {
    const auto values = numbers(lines[5 + i]);
    if (!values || values->size() != columns + 1) {
      char s[96];
      std::snprintf(s, sizeof s, "row %zu does not hold a temperature and %zu values", i + 1, columns);
      return {std::nullopt, s};
    }
    if (!t.temperatures.empty() && (*values)[0] <= t.temperatures.back())
      return {std::nullopt, "the temperatures do not ascend"};
    t.temperatures.push_back((*values)[0]);
    t.rows.emplace_back(values->begin() + 1, values->end());
  }
  r.table = std::move(t);
  return r;
}

std::string formatSct(const SctTable& t) {
  std::string out = std::string(kMagic) + "\r\nSN " + t.serial + "\r\nDATE " + t.date + "\r\n";
  char s[96];
  std::snprintf(s, sizeof s, "TYPE %.17g\r\nROWS %zu\r\n", t.type, t.rows.size());
  out += s;
  for (std::size_t i = 0; i < t.rows.size(); ++i) {
    // Seventeen digits read back exactly, so a saved table loads as it was.
    std::snprintf(s, sizeof s, "%.17g", t.temperatures[i]);
    out += s;
    for (double v : t.rows[i]) {
      std::snprintf(s, sizeof s, " %.17g", v);
      out += s;
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace tools::cal
