#include "platform/RuntimeDir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace platform {

bool ensureRuntimeDir() {
  if (const char* set = std::getenv("XDG_RUNTIME_DIR"); set && *set) return true;
  const char* tmp = std::getenv("TMPDIR");
  const std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/runtime-" + std::to_string(getuid());
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return false;
  // Only a folder of our own that nobody else may enter is a runtime folder.
  struct stat st {};
  if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid()) return false;
  if ((st.st_mode & 0077) != 0 && ::chmod(dir.c_str(), 0700) != 0) return false;
  return ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1) == 0;
}

}  // namespace platform
