#pragma once
// Programs run from tests as a script runs them: a shell command line, its output and its exit
// status, and the "file: PATH" lines the batch programs print.

#include <filesystem>
#include <string>
#include <vector>

namespace platform::testing {

struct CommandResult {
  int status = -1;  // the exit status; -1 when the program did not start or did not exit
  std::string out;  // standard output, with standard error when asked for
};

enum class StandardError { Kept, Dropped };

CommandResult runCommand(const std::string& commandLine, StandardError errors = StandardError::Kept);

// A word the shell takes as it stands (single-quoted).
std::string shellWord(const std::string& text);
inline std::string shellWord(const char* text) { return shellWord(std::string(text)); }
inline std::string shellWord(const std::filesystem::path& p) { return shellWord(p.string()); }

// The paths of the "file: PATH" lines of a program's output, in order; with a suffix, only those
// ending in it.
std::vector<std::string> printedFiles(const std::string& out, const std::string& suffix = "");

}  // namespace platform::testing
