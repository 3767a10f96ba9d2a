#pragma once
// A command-line program run as a script runs it: its exit code, with its standard output kept
// and its standard error dropped.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/testing/RunCommand.h"

namespace kvr::testing {

inline std::string readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The lines of a text, without their CR.
inline std::vector<std::string> lines(const std::string& s) {
  std::vector<std::string> out;
  std::stringstream in(s);
  for (std::string l; std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    out.push_back(l);
  }
  return out;
}

inline int runProgram(const char* program, const std::vector<std::string>& args, std::string& out) {
  std::string command = platform::testing::shellWord(std::string(program));
  for (const auto& a : args) command += " " + platform::testing::shellWord(a);
  const auto r = platform::testing::runCommand(command, platform::testing::StandardError::Dropped);
  out = r.out;
  return r.status;
}

}  // namespace kvr::testing
