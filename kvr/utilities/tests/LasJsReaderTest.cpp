// Converted files read by las-js, a LAS reader nobody on this team wrote. Skips when node or
// the package is missing (./varexa setup installs the package under build/las-check).

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fcntl.h>

#include "kvr/utilities/tests/ConverterFixture.h"

extern char** environ;

namespace kvr::utilities::testing {
namespace {

std::string findOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "");
  for (std::string d; std::getline(dirs, d, ':');) {
    const auto candidate = std::filesystem::path(d) / program;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  return {};
}

// Runs the program with its output into `log`; returns the exit status or -1.
int run(const std::vector<std::string>& args, const std::filesystem::path& log) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  std::vector<std::string> copy = args;
  std::vector<char*> argv;
  for (auto& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int r = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (r != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

std::string json(const std::vector<std::string>& v) {
  std::string s = "[";
  for (std::size_t i = 0; i < v.size(); ++i) s += (i ? ",\"" : "\"") + v[i] + "\"";
  return s + "]";
}

class LasJs : public ConverterTest {
 protected:
  void SetUp() override {
    node_ = findOnPath("node");
    if (node_.empty()) GTEST_SKIP() << "node is not installed: the las-js check is skipped";
    if (!std::filesystem::exists(std::filesystem::path(VAREXA_LAS_JS_PREFIX) / "node_modules/las-js/package.json"))
      GTEST_SKIP() << "las-js is not installed under " << VAREXA_LAS_JS_PREFIX << ": run ./varexa setup";
  }

  // The file as las-js reads it must hold `rows` under `curves` with `units`.
  void expectRead(const std::string& name, bool readable, bool well, const std::vector<std::string>& curves,
                  const std::vector<std::string>& units, const std::vector<std::vector<double>>& rows) {
    const auto expected = paths.base() / (name + ".json");
    std::ofstream out(expected);
    out << "{\"readable\":" << (readable ? "true" : "false") << ",\"well\":" << (well ? "true" : "false") << ",\"tolerance\":0.0051,\"curves\":" << json(curves)
        << ",\"units\":" << json(units) << ",\"rows\":[";
    for (std::size_t r = 0; r < rows.size(); ++r) {
      out << (r ? ",[" : "[");
      for (std::size_t c = 0; c < rows[r].size(); ++c) out << (c ? "," : "") << rows[r][c];
      out << "]";
    }
    out << "]}";
    out.close();
    const auto log = paths.base() / (name + ".log");
    const std::string script = std::string(VAREXA_UTILITIES_TESTS) + "/las_js_check.js";
    const int status = run({node_, script, VAREXA_LAS_JS_PREFIX, converter.fields().outputFile, expected.string()}, log);
    if (status == 77) GTEST_SKIP() << readAll(log);
    EXPECT_EQ(status, 0) << name << ":\n" << readAll(log);
  }

  std::string node_;
};

TEST_F(LasJs, ReadsTheValuesNamesUnitsAndLimitsOfEveryLayout) {
  auto log = RecordedLog::brix(0, false);
  for (int i = 0; i < 400; ++i) {
    log.addRow(800.0f + 0.1f * static_cast<float>(i), 0);
    auto& r = log.rows.back();
    r[1] = 10.0f + 0.01f * static_cast<float>(i);   // LSPD
    r[2] = 1500.0f - 0.37f * static_cast<float>(i);  // TENS
    r[10] = 40.0f + 30.0f * std::sin(0.05f * static_cast<float>(i));  // GR
  }
  choose(write(log), {"LSPD", "TENS", "GR"});
  converter.fields().stepIndex = 4;  // "0.3 m": every third row
  converter.fields().final = 839.0f;
  std::vector<std::vector<double>> rows;
  for (std::size_t i = 0; i < log.rows.size() && 800.0 + 0.1 * i <= 839.001; i += 3)
    rows.push_back({800.0 + 0.1 * static_cast<double>(i), log.rows[i][1], log.rows[i][2], log.rows[i][10]});
  const std::vector<std::string> curves{"DEPTH", "LSPD", "TENS", "GR"};
  const std::vector<std::string> units{"M", "Mts/Min", "LBS", "API"};

  struct Variant {
    const char* name;
    bool tab, wrapped, header, curveNames, strict;
  };
  const Variant variants[] = {{"defaults", false, false, true, true, false},
                              {"tabs", true, false, true, true, false},
                              {"wrapped", false, true, true, true, false},
                              {"strict", false, false, true, true, true},
                              {"strict-wrapped", false, true, true, true, true},
                              // Without a curve section the file is column text, which las-js must refuse
                              // rather than misread; without the header it reads curves and values.
                              {"no-header", false, false, false, true, false},
                              {"no-curves", false, false, true, false, false}};
  for (const auto& v : variants) {
    SCOPED_TRACE(v.name);
    auto& f = converter.fields();
    f.outputFile = (paths.base() / (std::string(v.name) + ".las")).string();
    f.tab = v.tab;
    f.wrapped = v.wrapped;
    f.header = v.header;
    f.curveNames = v.curveNames;
    f.strictLas2 = v.strict;
    ASSERT_TRUE(converter.convert()) << ::testing::PrintToString(prompter.texts());
    auto c = curves;
    if (v.strict) c[0] = "DEPT";
    expectRead(v.name, v.curveNames, v.header, c, units, rows);
  }
}

}  // namespace
}  // namespace kvr::utilities::testing
