#include "platform/SystemPaths.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>
#include <vector>

extern char** environ;

namespace platform {

namespace {
std::filesystem::path homeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home ? std::filesystem::path(home) : std::filesystem::temp_directory_path();
}

std::filesystem::path runningProgramFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::current_path() : exe.parent_path();
}
}  // namespace

SystemPaths::SystemPaths(std::string dataRootOverride) : programFolder_(runningProgramFolder()) {
  const char* env = std::getenv("VAREXA_DATA_ROOT");
  if (env && *env) {
    dataRoot_ = env;
  } else if (!dataRootOverride.empty()) {
    dataRoot_ = dataRootOverride;
  } else {
    dataRoot_ = homeFolder() / "Varexa";
  }
}

std::filesystem::path SystemPaths::shippedDataFolder() const {
  auto installed = programFolder_.parent_path() / "share" / "varexa";
  std::error_code ec;
  if (std::filesystem::is_directory(installed, ec)) return installed;
  const char* src = std::getenv("VAREXA_SOURCE_DIR");
  if (src && *src) return std::filesystem::path(src) / "data";
  return installed;
}

std::filesystem::path SystemPaths::documentsFolder() const {
  const char* xdg = std::getenv("XDG_DOCUMENTS_DIR");
  if (xdg && *xdg) return xdg;
  auto docs = homeFolder() / "Documents";
  std::error_code ec;
  return std::filesystem::is_directory(docs, ec) ? docs : homeFolder();
}

bool SystemPaths::openInEditor(const std::filesystem::path& file) {
  return spawnDetached("xdg-open", {file.string()});
}

bool spawnDetached(const std::string& program, const std::vector<std::string>& args) {
  std::vector<std::string> all;
  all.push_back(program);
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return false;
  // Reap it in the background so no zombie is left; the editor runs on its own.
  std::thread([pid] {
    int status = 0;
    waitpid(pid, &status, 0);
  }).detach();
  return true;
}

}  // namespace platform
