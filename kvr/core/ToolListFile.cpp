#include "kvr/core/ToolListFile.h"

#include <charconv>
#include <cmath>

#include "common/records/FileNameRule.h"

namespace kvr {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

class Tokens {
 public:
  explicit Tokens(std::string_view text) : text_(text) {}
  // The next token without taking it; empty at the end.
  std::string_view peek() {
    skip();
    std::size_t end = pos_;
    while (end < text_.size() && !isSpace(text_[end])) ++end;
    return text_.substr(pos_, end - pos_);
  }
  std::string_view next() {
    auto t = peek();
    pos_ += t.size();
    return t;
  }
  bool done() { return peek().empty(); }

 private:
  void skip() {
    while (pos_ < text_.size() && isSpace(text_[pos_])) ++pos_;
  }
  std::string_view text_;
  std::size_t pos_ = 0;
};

bool isKey(std::string_view t) { return !t.empty() && t[0] == '&'; }

bool parseU32(std::string_view t, std::uint32_t& out) {
  auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), out);
  return ec == std::errc() && p == t.data() + t.size();
}

bool parseFloat(std::string_view t, float& out) {
  if (!t.empty() && t[0] == '+') t.remove_prefix(1);
  auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), out);
  // "nan" and "inf" parse too, and would give a log whose every depth is not a number.
  return ec == std::errc() && p == t.data() + t.size() && std::isfinite(out);
}

std::string inQuotes(std::string_view s) { return "\"" + std::string(s) + "\""; }

// A name block: tokens up to its end keyword. Another block keyword ends it too (the end
// keyword is missing then) and is left for the caller.
void readNames(Tokens& in, std::string_view start, std::string_view end, std::vector<std::string>& out,
               std::vector<std::string>& problems) {
  while (!in.done()) {
    auto t = in.peek();
    if (t == end) {
      in.next();
      return;
    }
    if (t == "&END" || t.rfind("&START", 0) == 0 || t.rfind("&END", 0) == 0) break;
    out.emplace_back(in.next());
  }
  problems.push_back(std::string(start) + " has no " + std::string(end));
}

// One description after its key; false (with a problem) when it cannot be used.
bool readDescription(Tokens& in, const std::string& key, records::ToolEntry& e, std::vector<std::string>& problems) {
  std::string_view fields[10];
  for (auto& f : fields) {
    if (in.done() || isKey(in.peek())) {
      problems.push_back("The description of " + inQuotes(key) + " is incomplete");
      return false;
    }
    f = in.next();
  }
  std::uint32_t u[5] = {};
  float v[4] = {};
  const int uIndex[5] = {1, 2, 3, 4, 9};
  for (int i = 0; i < 5; ++i) {
    if (!parseU32(fields[uIndex[i]], u[i])) {
      problems.push_back("The description of " + inQuotes(key) + " has " + inQuotes(fields[uIndex[i]]) +
                         " where a whole number belongs");
      return false;
    }
  }
  for (int i = 0; i < 4; ++i) {
    if (!parseFloat(fields[5 + i], v[i])) {
      problems.push_back("The description of " + inQuotes(key) + " has " + inQuotes(fields[5 + i]) +
                         " where a number belongs");
      return false;
    }
  }
  if (fields[0].size() > kToolNameMax) {
    problems.push_back("The tool name " + inQuotes(fields[0]) + " is longer than 11 characters");
    return false;
  }
  // The tool name is part of the data file's name.
  if (!records::nameStaysInFolder(fields[0])) {
    problems.push_back("The tool name " + inQuotes(fields[0]) + " holds a path separator or is \".\" or \"..\"");
    return false;
  }
  e = records::ToolEntry{};
  e.name = std::string(fields[0]);
  e.dataBytes = u[0];
  e.listValue16 = u[1];
  e.toolCode = u[2];
  e.blockCount = u[3];
  e.lengthCm = v[0];
  e.sketchWidth = v[1];
  e.listValue40 = v[2];
  e.bottomDistanceCm = v[3];
  e.kindSerial = u[4];
  return true;
}

void readDescriptions(Tokens& in, ToolListFile& out) {
  while (!in.done()) {
    auto t = in.peek();
    if (t == "&ENDSTRUCT") {
      in.next();
      return;
    }
    if (t == "&END" || t.rfind("&START", 0) == 0) break;
    in.next();
    if (!isKey(t)) continue;  // stray text between descriptions
    const std::string key(t.substr(1));
    records::ToolEntry e;
    if (readDescription(in, key, e, out.problems)) out.descriptions.emplace_back(key, std::move(e));
  }
  out.problems.push_back("&STARTSTRUCT has no &ENDSTRUCT");
}

}  // namespace

const records::ToolEntry* ToolListFile::find(std::string_view listedName) const {
  for (const auto& [key, entry] : descriptions)
    if (key == listedName) return &entry;
  return nullptr;
}

std::optional<records::ToolEntry> ToolListFile::makeEntry(std::string_view listedName, std::uint32_t serial) const {
  const records::ToolEntry* d = find(listedName);
  if (!d) return std::nullopt;
  records::ToolEntry e = *d;
  e.kindSerial |= serial << 6;
  return e;
}

ToolListFile parseToolList(std::string_view text) {
  ToolListFile out;
  Tokens in(text);
  bool sawList = false, sawAccessories = false, sawStruct = false;
  while (!in.done()) {
    const auto t = in.next();
    if (t == "&END") break;
    if (t == "&STARTLIST") {
      sawList = true;
      readNames(in, "&STARTLIST", "&ENDLIST", out.tools, out.problems);
    } else if (t == "&STARTACSESORY") {
      sawAccessories = true;
      readNames(in, "&STARTACSESORY", "&ENDACSESORY", out.accessories, out.problems);
    } else if (t == "&STARTSTRUCT") {
      sawStruct = true;
      readDescriptions(in, out);
    } else if (isKey(t)) {
      out.problems.push_back("Unknown key " + inQuotes(t));
    }
  }
  if (!sawList) out.problems.push_back("There is no &STARTLIST block");
  if (!sawAccessories) out.problems.push_back("There is no &STARTACSESORY block");
  if (!sawStruct) out.problems.push_back("There is no &STARTSTRUCT block");
  return out;
}

std::optional<ToolListFile> loadToolList(FileSystem& fs, const std::filesystem::path& path) {
  auto text = fs.readText(path, kToolListMaxBytes);
  if (!text) return std::nullopt;
  return parseToolList(*text);
}

}  // namespace kvr
