#include "platform/Paths.h"

namespace platform {

std::filesystem::path Paths::fromWindows(std::string_view windowsPath) const {
  std::string_view rest = windowsPath;
  std::filesystem::path out;
  // A drive letter stands for the data root; any other path is taken as relative to it.
  if (rest.size() >= 2 && rest[1] == ':') rest.remove_prefix(2);
  out = dataRoot();
  std::string part;
  for (char c : rest) {
    if (c == '\\' || c == '/') {
      if (!part.empty()) out /= part;
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) out /= part;
  return out;
}

}  // namespace platform
