#include "kvr/core/SessionIni.h"

#include <charconv>
#include <string_view>

namespace kvr {

namespace {
constexpr const char* kEol = "\r\n";  // written in text mode

// Lines of a text, whatever its line ends.
std::vector<std::string_view> lines(std::string_view text) {
  std::vector<std::string_view> out;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out.push_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) out.push_back(text.substr(start));
  return out;
}

bool readInt(std::string_view& s, int& v) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc()) return false;
  s.remove_prefix(static_cast<std::size_t>(end - s.data()));
  return true;
}
}  // namespace

std::string formatSessionIni(const SessionIni& ini) {
  std::string out;
  if (ini.monitorFile) out += std::string("[MONITOR_FILE]") + kEol + *ini.monitorFile + kEol;
  out += std::string("[WIN_COORDINATES]") + kEol;
  for (const auto& w : ini.windows) {
    out += w.key + "=" + std::to_string(w.left) + "," + std::to_string(w.top) + kEol;
  }
  out += std::string("[END]") + kEol;
  return out;
}

bool writeSessionIni(FileSystem& fs, const std::filesystem::path& sessionFolder, const SessionIni& ini) {
  return fs.writeText(sessionFolder / kSessionIniName, formatSessionIni(ini));
}

std::optional<std::string> sessionMonitorFile(const std::string& text) {
  auto ls = lines(text);
  for (std::size_t i = 0; i + 1 < ls.size(); ++i) {
    if (ls[i] == "[MONITOR_FILE]") return std::string(ls[i + 1]);
  }
  return std::nullopt;
}

std::optional<std::pair<int, int>> sessionWindowPosition(const std::string& text, const std::string& key) {
  auto ls = lines(text);
  bool inSection = false;
  for (auto l : ls) {
    if (l == "[WIN_COORDINATES]") {
      inSection = true;
      continue;
    }
    if (!inSection) continue;
    if (l.substr(0, 5) == "[END]") break;
    // A key is found by the beginning of the line, as it always was.
    if (l.substr(0, key.size()) != key) continue;
    std::string_view rest = l.substr(key.size());
    if (rest.empty() || rest.front() != '=') continue;
    rest.remove_prefix(1);
    int left = 0, top = 0;
    if (!readInt(rest, left) || rest.empty() || rest.front() != ',') return std::nullopt;
    rest.remove_prefix(1);
    if (!readInt(rest, top)) return std::nullopt;
    return std::make_pair(left, top);
  }
  return std::nullopt;
}

}  // namespace kvr
