// kvr-log as scripts use it, and a run killed in the middle of a log.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "common/datafile/CFileManager.h"
#include "common/datafile/PosixFiles.h"
#include "platform/testing/RunCommand.h"
#include "platform/testing/TempPaths.h"

extern char** environ;

namespace {

pid_t spawn(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  EXPECT_EQ(posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int exitCode(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> job(const platform::testing::TempPaths& paths) {
  return {KVR_LOG, "--root", paths.dataRoot().string(), "--user", "Ann", "--client", "Acme", "--well", "W-1",
          "--units", "english"};
}

TEST(KvrLog, RefusalsExitNonZero) {
  platform::testing::TempPaths paths;
  auto args = job(paths);
  args.insert(args.end(), {"--tools", "NO-SUCH-TOOL", "--direction", "up"});
  EXPECT_EQ(exitCode(spawn(args)), 1);
  EXPECT_EQ(exitCode(spawn({KVR_LOG, "--direction", "sideways"})), 2);
  EXPECT_EQ(exitCode(spawn({KVR_LOG, "--help"})), 0);
}

TEST(KvrLog, AKilledRunLeavesEveryFlushedRowReadable) {
  platform::testing::TempPaths paths;
  auto args = job(paths);
  // 2000 ft at 1800 ft/h is 4000 s of logging; at 100 times real time the run lasts 40 s.
  args.insert(args.end(), {"--tools", "BRIX-CCL,DUNE-ROLA", "--direction", "up", "--length", "2000", "--wall-pace",
                           "100"});
  pid_t pid = spawn(args);
  const auto folder = paths.dataRoot() / "KVRFolder" / "Clients" / "Acme" / "W-1";
  const auto file = folder / "BRIX-CCL_DUNE-ROLA_UP.kvr";
  // Wait (bounded) until a few flushes reached the file: static data is a few kB.
  std::error_code ec;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline &&
         (!std::filesystem::exists(file, ec) || std::filesystem::file_size(file, ec) < 20000)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  ASSERT_GE(std::filesystem::file_size(file, ec), 20000u);

  kvr::PosixFileSystem fs;
  kvr::CFileManager reader(fs);
  ASSERT_EQ(reader.openInput(file), 0);
  kvr::DataFileSummary s;
  ASSERT_EQ(reader.summaryCheck(2, s), 0);
  records::ChannelList channels;
  ASSERT_EQ(reader.readChannelList(channels), 0);
  ASSERT_EQ(reader.summaryCheck(7, s), 0);
  std::vector<float> rows(100000 * channels.size());
  const std::size_t n = reader.readWholeRows(rows, channels.size());
  ASSERT_GT(n, 10u);
  for (std::size_t i = 2; i < n; ++i) {
    EXPECT_NEAR(rows[(i - 1) * channels.size()] - rows[i * channels.size()], 0.25, 0.04) << "row " << i;
  }
}

// Runs a program with its output kept: the exit status and what it printed.
int run(const std::vector<std::string>& args, std::string& out) {
  std::string command;
  for (const auto& a : args) command += platform::testing::shellWord(a) + " ";
  const auto r = platform::testing::runCommand(command, platform::testing::StandardError::Dropped);
  out = r.out;
  return r.status;
}

TEST(KvrPlayback, ALoggedFileReplaysIntoAPlaybackFileAndPictures) {
  platform::testing::TempPaths paths;
  auto args = job(paths);
  args.insert(args.end(), {"--tools", "BRIX-CCL,DUNE-ROLA", "--direction", "up", "--length", "30"});
  std::string out;
  ASSERT_EQ(run(args, out), 0);
  const auto file = paths.dataRoot() / "KVRFolder" / "Clients" / "Acme" / "W-1" / "BRIX-CCL_DUNE-ROLA_UP.kvr";
  ASSERT_TRUE(std::filesystem::exists(file)) << out;

  ASSERT_EQ(run({KVR_PLAYBACK, file.string(), "--root", paths.dataRoot().string(), "--computations"}, out), 0);
  EXPECT_NE(out.find("BRIX-CCL_DUNE-ROLA_PLAY-UP"), std::string::npos) << out;
  EXPECT_NE(out.find(".cdf\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Rows: 1"), std::string::npos) << out;  // 30 ft on the 0.25 ft grid: 120-odd rows

  EXPECT_EQ(run({KVR_PLAYBACK, file.string(), "--root", paths.dataRoot().string(), "--channels", "sideways"}, out), 2);
  EXPECT_EQ(run({KVR_PLAYBACK, (paths.base() / "none.kvr").string(), "--root", paths.dataRoot().string()}, out), 1);
}

}  // namespace
