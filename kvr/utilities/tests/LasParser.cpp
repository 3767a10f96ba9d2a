#include "kvr/utilities/tests/LasParser.h"

#include <sstream>

namespace kvr::utilities::testing {

namespace {
std::string trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}
}  // namespace

ParsedLas parseLas(const std::string& text) {
  ParsedLas las;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto e = text.find('\n', i);
    std::string line = text.substr(i, e == std::string::npos ? std::string::npos : e - i);
    if (line.empty() || line.back() != '\r') las.crlf = false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    las.lines.push_back(line);
    if (e == std::string::npos) break;
    i = e + 1;
  }
  char section = 'A';  // a file without headers is data from its first line
  bool sawSection = false;
  std::vector<double> values;
  for (const auto& raw : las.lines) {
    const std::string line = trim(raw);
    if (line.empty() || (line[0] == '#' && section != 'A')) continue;
    if (line[0] == '#' && !sawSection) continue;
    if (line[0] == '~') {
      section = static_cast<char>(line.size() > 1 ? line[1] : '?');
      sawSection = true;
      continue;
    }
    if (section == 'A') {
      std::istringstream in(line);
      double v;
      while (in >> v) values.push_back(v);
      const std::size_t n = las.curves.empty() ? 0 : las.curves.size();
      if (n == 0) {
        las.rows.push_back(values);
        values.clear();
      }
      while (n > 0 && values.size() >= n) {
        las.rows.emplace_back(values.begin(), values.begin() + static_cast<long>(n));
        values.erase(values.begin(), values.begin() + static_cast<long>(n));
      }
      continue;
    }
    const auto dot = line.find('.');
    if (dot == std::string::npos) continue;
    const std::string mnem = trim(line.substr(0, dot));
    std::string rest = line.substr(dot + 1);
    const auto space = rest.find(' ');
    std::string unit = rest.substr(0, space == std::string::npos ? rest.size() : space);
    if (const auto c = unit.find(':'); c != std::string::npos) unit = unit.substr(0, c);
    rest = rest.substr(unit.size());
    const auto colon = rest.rfind(':');
    LasItem item{unit, trim(rest.substr(0, colon)), colon == std::string::npos ? "" : trim(rest.substr(colon + 1))};
    if (section == 'C') {
      las.curves.push_back(mnem);
      las.units.push_back(unit);
    } else {
      las.sections[section][mnem] = item;
    }
  }
  return las;
}

}  // namespace kvr::utilities::testing
