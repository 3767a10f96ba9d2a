#include "platform/testing/RunCommand.h"

#include <sys/wait.h>

#include <cstdio>
#include <sstream>

namespace platform::testing {

CommandResult runCommand(const std::string& commandLine, StandardError errors) {
  CommandResult r;
  const std::string line = commandLine + (errors == StandardError::Kept ? " 2>&1" : " 2>/dev/null");
  std::FILE* p = ::popen(line.c_str(), "r");
  if (!p) return r;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;) r.out.append(buffer, n);
  const int w = ::pclose(p);
  r.status = WIFEXITED(w) ? WEXITSTATUS(w) : -1;
  return r;
}

std::string shellWord(const std::string& text) {
  std::string word = "'";
  for (char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return word + "'";
}

std::vector<std::string> printedFiles(const std::string& out, const std::string& suffix) {
  std::vector<std::string> files;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("file: ", 0) != 0) continue;
    const std::string path = line.substr(6);
    if (path.size() >= suffix.size() && path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0)
      files.push_back(path);
  }
  return files;
}

}  // namespace platform::testing
