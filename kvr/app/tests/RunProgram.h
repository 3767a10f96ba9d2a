#pragma once
// A command-line program run as a script runs it: its exit code, with its standard output kept
// and its standard error dropped.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/testing/RunCommand.h"

namespace kvr::testing {

inline std::string readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline int runProgram(const char* program, const std::vector<std::string>& args, std::string& out) {
  std::string command = platform::testing::shellWord(std::string(program));
  for (const auto& a : args) command += " " + platform::testing::shellWord(a);
  const auto r = platform::testing::runCommand(command, platform::testing::StandardError::Dropped);
  out = r.out;
  return r.status;
}

}  // namespace kvr::testing
