// kvr-calibrate as scripts use it: one calibration end to end and the report it names.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/testing/TempPaths.h"

extern char** environ;

namespace {

std::string readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Exit code, with stdout in `out`.
int run(std::vector<std::string> args, const std::filesystem::path& outFile, std::string& out) {
  args.insert(args.begin(), KVR_CALIBRATE);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  waitpid(pid, &status, 0);
  out = readAll(outFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(KvrCalibrate, RunsOneCalibrationAndPrintsItsReport) {
  platform::testing::TempPaths paths;
  const auto out = paths.dataRoot().parent_path() / "out.txt";
  const std::string root = paths.dataRoot().string();
  std::string text;
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* shows;
  } cases[] = {
      {{"--root", root, "--tools", "BRIX-CCL,SEVO-PT", "--tool", "SEVO-PT", "--calibration", "2", "--yes"}, 0, "PSCALE"},
      {{"--root", root, "--tools", "DUNE-ROLA", "--calibration", "1"}, 0, "Stored calibration: DUNE SN"},
      {{"--root", root, "--tools", "SEVO-PT", "--calibration", "2"}, 1, "SEVO Calibration"},  // Cancel
      {{"--root", root, "--tools", "SEVO-PT", "--calibration", "1", "--fault", "silent-calibration"}, 1,
       "Timeout Error"},
      {{"--root", root, "--tools", "SEVO-PT", "--calibration", "3"}, 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[3] + " " + c.args[c.args.size() - 1]);
    EXPECT_EQ(run(c.args, out, text), c.code) << text;
    EXPECT_NE(text.find(c.shows), std::string::npos) << text;
    if (c.code == 0) {
      const auto at = text.find("file: ");
      ASSERT_NE(at, std::string::npos);
      const std::string path = text.substr(at + 6, text.find('\n', at) - at - 6);
      EXPECT_EQ(readAll(path).find("KVR Calibration Report"), 0u);
    }
  }
  EXPECT_EQ(run({"--help"}, out, text), 0);
  EXPECT_NE(text.find("usage: kvr-calibrate"), std::string::npos);
  EXPECT_EQ(run({"--root", root, "--tools", "SEVO-PT", "--calibration", "x"}, out, text), 2);
  EXPECT_EQ(run({"--no-such-option"}, out, text), 2);
}

}  // namespace
