#include "kvr/utilities/LasCheck.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <set>

namespace kvr::utilities {

namespace {

enum Kind {
  kLineEnd, kTab, kSection, kHeaderLine, kVersion, kWell, kCurve, kBlank, kValue, kCount, kWrap, kIndex, kKindCount
};

struct HeaderItem {
  std::string mnemonic;  // upper case
  std::string unit, data;
  std::size_t line;
};

struct IndexValue {
  double value;
  int decimals;
  std::size_t line;
};

std::string upper(std::string_view s) {
  std::string r(s);
  for (auto& c : r) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return r;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::optional<double> number(std::string_view s) {
  s = trim(s);
  if (s.empty()) return std::nullopt;
  if (s.front() == '+') s.remove_prefix(1);
  double v = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  if (r.ec != std::errc{} || r.ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

int decimalsOf(std::string_view s) {
  const auto dot = s.find('.');
  if (dot == std::string_view::npos) return 0;
  std::size_t n = 0;
  for (std::size_t i = dot + 1; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) ++n;
  return static_cast<int>(n);
}

std::string shown(std::string_view s) {
  std::string r(s.substr(0, 40));
  for (auto& c : r) c = static_cast<unsigned char>(c) < 0x20 ? '?' : c;
  return s.size() > 40 ? r + "..." : r;
}

class Checker {
 public:
  LasCheckReport run(std::string_view bytes);

 private:
  void report(Kind k, std::size_t line, std::string text) {
    if (++counts_[k] <= kDeparturesPerKind) out_.departures.push_back({line, std::move(text)});
  }
  void onLine(std::size_t n, std::string_view text);
  void onSection(std::size_t n, std::string_view text, std::string_view trimmed);
  void onHeaderLine(std::size_t n, std::string_view trimmed);
  void onData(std::size_t n, std::string_view text, std::string_view trimmed);
  void finish();
  void checkVersion();
  void checkWell();
  void checkCurves();
  void checkIndex();
  const HeaderItem* find(char section, const std::string& mnemonic) const;

  LasCheckReport out_;
  std::array<std::size_t, kKindCount> counts_{};
  char section_ = 0;
  std::vector<char> order_;
  std::map<char, std::vector<HeaderItem>> items_;
  std::map<char, std::size_t> sectionLine_;
  std::optional<bool> wrapped_;
  std::size_t curveCount_ = 0;
  // Wrapped data: values still owed to the current step.
  std::size_t owed_ = 0;
  std::size_t stepLine_ = 0;
  std::vector<IndexValue> index_;
};

void Checker::onLine(std::size_t n, std::string_view text) {
  if (text.find('\t') != std::string_view::npos) report(kTab, n, "tab character (LAS 2.0 data and headers are delimited by spaces)");
  const auto trimmed = trim(text);
  if (section_ == 'A') {
    onData(n, text, trimmed);
    return;
  }
  if (trimmed.empty() || trimmed.front() == '#') return;
  if (trimmed.front() == '~') {
    onSection(n, text, trimmed);
    return;
  }
  if (section_ == 0) {
    report(kSection, n, "line before the first section (~V)");
    return;
  }
  if (section_ == 'O' || section_ == '?') return;  // free text
  onHeaderLine(n, trimmed);
}

void Checker::onSection(std::size_t n, std::string_view text, std::string_view trimmed) {
  if (text.front() != '~') report(kSection, n, "section line does not start in the first column");
  const char letter = trimmed.size() > 1 ? static_cast<char>(upper(trimmed.substr(1, 1))[0]) : 0;
  if (std::string_view("VWCPOA").find(letter) == std::string_view::npos || letter == 0) {
    report(kSection, n, "unknown section \"" + shown(trimmed) + "\" (LAS 2.0 has ~V, ~W, ~C, ~P, ~O and ~A)");
    section_ = '?';
    return;
  }
  if (order_.empty() && letter != 'V') report(kSection, n, "the first section must be ~V");
  if (std::find(order_.begin(), order_.end(), letter) != order_.end())
    report(kSection, n, std::string("section ~") + letter + " appears a second time");
  order_.push_back(letter);
  sectionLine_.emplace(letter, n);
  section_ = letter;
  if (letter == 'A') {
    const auto* wrap = find('V', "WRAP");
    wrapped_ = wrap && upper(wrap->data) == "YES";
    curveCount_ = items_['C'].size();
  }
}

void Checker::onHeaderLine(std::size_t n, std::string_view trimmed) {
  const auto dot = trimmed.find('.');
  if (dot == std::string_view::npos) {
    report(kHeaderLine, n, "header line without the period after its mnemonic: \"" + shown(trimmed) + "\"");
    return;
  }
  const auto mnem = trim(trimmed.substr(0, dot));
  if (mnem.empty()) report(kHeaderLine, n, "header line without a mnemonic");
  if (mnem.find(' ') != std::string_view::npos)
    report(kHeaderLine, n, "mnemonic \"" + shown(mnem) + "\" contains a space");
  auto rest = trimmed.substr(dot + 1);
  std::size_t unitEnd = rest.find(' ');
  const auto colonInUnit = rest.substr(0, unitEnd).find(':');
  if (colonInUnit != std::string_view::npos) unitEnd = colonInUnit;
  if (unitEnd == std::string_view::npos) unitEnd = rest.size();
  const auto unit = rest.substr(0, unitEnd);
  rest = rest.substr(unitEnd);
  const auto colon = rest.rfind(':');
  if (colon == std::string_view::npos) {
    report(kHeaderLine, n, "header line without the colon before its description: \"" + shown(trimmed) + "\"");
    return;
  }
  items_[section_].push_back(HeaderItem{upper(mnem), std::string(unit), std::string(trim(rest.substr(0, colon))), n});
}

void Checker::onData(std::size_t n, std::string_view text, std::string_view trimmed) {
  if (!trimmed.empty() && trimmed.front() == '~') {
    report(kSection, n, "section after ~A (the data section must be the last)");
    onSection(n, text, trimmed);
    return;
  }
  if (trimmed.empty()) {
    report(kBlank, n, "blank line in the ~A section");
    return;
  }
  if (trimmed.front() == '#') {
    report(kBlank, n, "comment line in the ~A section");
    return;
  }
  std::vector<std::string_view> tokens;
  for (std::size_t i = 0; i < trimmed.size();) {
    while (i < trimmed.size() && (trimmed[i] == ' ' || trimmed[i] == '\t')) ++i;
    const std::size_t b = i;
    while (i < trimmed.size() && trimmed[i] != ' ' && trimmed[i] != '\t') ++i;
    if (i > b) tokens.push_back(trimmed.substr(b, i - b));
  }
  for (auto t : tokens)
    if (!number(t)) report(kValue, n, "value \"" + shown(t) + "\" is not a number");
  const auto addIndex = [&](std::string_view t) {
    if (auto v = number(t)) index_.push_back({*v, decimalsOf(t), n});
    ++out_.dataSteps;
  };
  if (!wrapped_.value_or(false)) {
    if (tokens.size() != curveCount_)
      report(kCount, n, std::to_string(tokens.size()) + " values where the curve section names " + std::to_string(curveCount_));
    addIndex(tokens.front());
    return;
  }
  if (text.size() > 80) report(kWrap, n, "wrapped data line longer than 80 characters");
  if (owed_ == 0) {
    if (tokens.size() != 1) report(kWrap, n, "wrapped data: the index value must stand alone on its line");
    addIndex(tokens.front());
    stepLine_ = n;
    owed_ = curveCount_ > 0 ? curveCount_ - 1 : 0;
    if (tokens.size() > 1) owed_ = tokens.size() - 1 > owed_ ? 0 : owed_ - (tokens.size() - 1);
    return;
  }
  if (tokens.size() > owed_) {
    report(kCount, n, "wrapped data: more values than curves for the step of line " + std::to_string(stepLine_));
    owed_ = 0;
    return;
  }
  owed_ -= tokens.size();
}

const HeaderItem* Checker::find(char section, const std::string& mnemonic) const {
  const auto it = items_.find(section);
  if (it == items_.end()) return nullptr;
  for (const auto& i : it->second)
    if (i.mnemonic == mnemonic) return &i;
  return nullptr;
}

void Checker::checkVersion() {
  const auto* vers = find('V', "VERS");
  const auto at = sectionLine_.count('V') ? sectionLine_['V'] : 0;
  if (!vers)
    report(kVersion, at, "the ~V section lacks the VERS line");
  else if (auto v = number(vers->data); !v || *v != 2.0)
    report(kVersion, vers->line, "VERS is \"" + shown(vers->data) + "\", not 2.0");
  const auto* wrap = find('V', "WRAP");
  if (!wrap)
    report(kVersion, at, "the ~V section lacks the WRAP line");
  else if (upper(wrap->data) != "YES" && upper(wrap->data) != "NO")
    report(kVersion, wrap->line, "WRAP is \"" + shown(wrap->data) + "\", not YES or NO");
}

void Checker::checkWell() {
  const auto at = sectionLine_.count('W') ? sectionLine_['W'] : 0;
  for (const char* m : {"STRT", "STOP", "STEP", "NULL", "COMP", "WELL", "FLD", "LOC", "SRVC", "DATE"}) {
    const auto* item = find('W', m);
    if (!item) {
      report(kWell, at, std::string("the ~W section lacks the required ") + m + " line");
      continue;
    }
    const std::string_view mm(m);
    if ((mm == "STRT" || mm == "STOP" || mm == "STEP" || mm == "NULL") && !number(item->data))
      report(kWell, item->line, std::string(m) + " value \"" + shown(item->data) + "\" is not a number");
  }
  if (!find('W', "PROV") && !(find('W', "CNTY") && find('W', "STAT") && find('W', "CTRY")))
    report(kWell, at, "the ~W section lacks PROV (or CNTY, STAT and CTRY)");
  if (!find('W', "UWI") && !find('W', "API")) report(kWell, at, "the ~W section lacks UWI (or API)");
}

void Checker::checkCurves() {
  const auto& curves = items_['C'];
  if (curves.empty()) {
    if (sectionLine_.count('C')) report(kCurve, sectionLine_['C'], "the ~C section names no curve");
    return;
  }
  const std::string& first = curves.front().mnemonic;
  if (first != "DEPT" && first != "DEPTH" && first != "TIME" && first != "INDEX")
    report(kCurve, curves.front().line, "the first curve \"" + shown(first) + "\" is no index (DEPT, DEPTH, TIME or INDEX)");
  std::set<std::string> seen;
  for (const auto& c : curves)
    if (!seen.insert(c.mnemonic).second) report(kCurve, c.line, "curve \"" + shown(c.mnemonic) + "\" is named twice");
  for (const char* m : {"STRT", "STOP", "STEP"}) {
    const auto* item = find('W', m);
    if (item && upper(item->unit) != upper(curves.front().unit))
      report(kCurve, item->line, std::string(m) + " unit \"" + shown(item->unit) + "\" differs from the index curve's \"" +
                                     shown(curves.front().unit) + "\"");
  }
}

void Checker::checkIndex() {
  if (index_.empty()) return;
  const auto tol = [](int a, int b) { return 0.5 * std::pow(10.0, -std::max(a, b)) + 1e-9; };
  const auto compare = [&](const char* m, const IndexValue& iv, const char* which) {
    const auto* item = find('W', m);
    if (!item) return;
    const auto v = number(item->data);
    if (!v) return;
    if (std::fabs(*v - iv.value) > tol(decimalsOf(item->data), iv.decimals) + 1e-12 * std::fabs(iv.value))
      report(kIndex, item->line, std::string(m) + " " + shown(item->data) + " differs from the " + which +
                                     " index value on line " + std::to_string(iv.line));
  };
  compare("STRT", index_.front(), "first");
  compare("STOP", index_.back(), "last");
  const auto* stepItem = find('W', "STEP");
  const auto step = stepItem ? number(stepItem->data) : std::nullopt;
  if (!step || *step == 0) return;  // 0: irregular sampling, which LAS 2.0 allows
  for (std::size_t i = 1; i < index_.size(); ++i) {
    const double d = index_[i].value - index_[i - 1].value;
    const double allowed = 2 * tol(index_[i].decimals, decimalsOf(stepItem->data)) + 1e-12 * std::fabs(index_[i].value);
    if (std::fabs(d - *step) > allowed) {
      char buf[160];
      std::snprintf(buf, sizeof buf, "index steps by %.6g from line %zu, STEP says %s", d, index_[i - 1].line,
                    stepItem->data.c_str());
      report(kIndex, index_[i].line, buf);
    }
  }
}

void Checker::finish() {
  if (owed_ > 0) report(kCount, stepLine_, "wrapped data: the step of this line lacks values at the end of the file");
  for (char s : {'V', 'W', 'C', 'A'})
    if (!sectionLine_.count(s)) report(kSection, 0, std::string("the file has no ~") + s + " section");
  checkVersion();
  checkWell();
  checkCurves();
  checkIndex();
  const char* names[kKindCount] = {"line end", "tab", "section", "header line", "~V", "~W", "~C",
                                   "blank line", "value", "value count", "wrapping", "index"};
  for (int k = 0; k < kKindCount; ++k)
    if (counts_[k] > kDeparturesPerKind)
      out_.departures.push_back(
          {0, std::to_string(counts_[k] - kDeparturesPerKind) + " more departures of the kind \"" + names[k] + "\""});
}

LasCheckReport Checker::run(std::string_view bytes) {
  std::size_t n = 0;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t b = i;
    while (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n') ++i;
    const auto text = bytes.substr(b, i - b);
    ++n;
    if (i + 1 < bytes.size() + 1 && i < bytes.size() && bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      i += 2;
    } else {
      report(kLineEnd, n, i < bytes.size() ? "line ends without CR LF" : "the last line has no line end");
      if (i < bytes.size()) ++i;
    }
    onLine(n, text);
  }
  out_.lines = n;
  finish();
  return std::move(out_);
}

}  // namespace

LasCheckReport checkLas2(std::string_view bytes) { return Checker().run(bytes); }

}  // namespace kvr::utilities
