// kvr-gauge as scripts use it: a job downloaded to the named files with a progress line, and
// a gauge that dies part way failing with its message.

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

struct Outcome {
  int status = -1;
  std::string out, err;
};

Outcome run(std::vector<std::string> args, const std::filesystem::path& dir) {
  args.insert(args.begin(), KVR_GAUGE);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const auto out = dir / "stdout", err = dir / "stderr";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  waitpid(pid, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readAll(out), readAll(err)};
}

TEST(KvrGauge, DownloadsAJobWithProgressAndFailsWithTheGaugesMessage) {
  platform::testing::TempPaths paths;
  const auto dir = paths.base();
  const std::string prefix = (dir / "run1").string();
  const Outcome ok = run({"--tools", "VUNT-MG", "--download", "1", "-o", prefix, "--date", "2026-12-11", "--time",
                      "09:30:15"},
                     dir);
  ASSERT_EQ(ok.status, 0) << ok.err;
  EXPECT_NE(ok.out.find("Number of Recorded Jobs: 1\n"), std::string::npos) << ok.out;
  EXPECT_NE(ok.out.find("samples: 590\n"), std::string::npos) << ok.out;
  EXPECT_NE(ok.err.find("\rpage 6: 590 of 630 samples"), std::string::npos) << ok.err;
  const std::string text = readAll(prefix + ".txt"), bin = readAll(prefix + ".BIN");
  EXPECT_EQ(text.find("Client: \r\n"), 0u);
  EXPECT_EQ(bin.size(), 256u + 12 * 590);

  // The same prefix again: a recorded file is never replaced.
  const Outcome again = run({"--tools", "VUNT-MG", "--download", "1", "-o", prefix}, dir);
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("FATAL ERROR: The requested file could not be opened"), std::string::npos) << again.err;
  EXPECT_EQ(readAll(prefix + ".txt"), text);

  const Outcome dead = run({"--tools", "VUNT-MG", "--download", "1", "-o", (dir / "run2").string(), "--fault",
                        "gauge-dead-after-page=2"},
                       dir);
  EXPECT_EQ(dead.status, 1);
  EXPECT_NE(dead.err.find("Error: Error en la recepcion de pagina A"), std::string::npos) << dead.err;
  EXPECT_NE(dead.err.find("Downhole link is not reliable !"), std::string::npos) << dead.err;

  EXPECT_EQ(run({"--tools", "VUNT-MG"}, dir).status, 2);  // no job named
  EXPECT_EQ(run({"--tools", "VUNT-MG", "--download", "1", "--date", "1969-12-31"}, dir).status, 1);
}

}  // namespace
