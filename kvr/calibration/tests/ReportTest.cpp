// The parameter report: its lines, the first free name, checked writes.

#include <gtest/gtest.h>

#include "common/datafile/MemoryFiles.h"
#include "kvr/calibration/CalibrationMessages.h"
#include "kvr/calibration/ParameterReport.h"
#include "kvr/calibration/ReportFile.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/ScriptedPrompter.h"

namespace kvr {
namespace {

namespace t = cal_text;

records::ToolEntry tool(const char* name, std::uint8_t code) {
  records::ToolEntry e;
  e.name = name;
  e.toolCode = code;
  e.setKind(1);
  return e;
}

TEST(ParameterReport, ListsTheSystemAndToolParametersUnderTheFirstFreeName) {
  MemoryFileSystem fs;
  fs.createFolder("s");
  platform::testing::ManualLoop loop;
  loop.clock().setCalendarBase({2026, 12, 10, 21, 5, 9, 0});
  platform::testing::ScriptedPrompter prompter;
  tools::Library library;
  library.initToolsData({});
  const auto system = records::defaultSystemParameters(9);
  records::ToolList string{tool("BRIX-CCL", 210), tool("SEVO-P", 232)};
  library.family(232)->getParameterList()[0].value = 12.345f;

  const ParameterReportInput input{system, library, string};
  const auto first = writeParameterReport(fs, "s", input, loop.clock(), prompter);
  EXPECT_EQ(first, std::filesystem::path("s/ParamterReport.txt"));
  EXPECT_TRUE(prompter.saw(t::kTitleMessage, "A report file called:\ns/ParamterReport.txt\nHas been successfully created."));
  const std::string text = fs.text(first);
  const std::string header = "Main System Parameters: ";
  EXPECT_EQ(text.substr(0, header.size()), header);
  EXPECT_NE(text.find("21:05:09 - Thu, Dec 10, 2026\r\n\r\n"), std::string::npos);
  char expected[256];
  std::snprintf(expected, sizeof expected, "%-10s %50s %10s %10s\r\n", "SIMDEPTH", "Simulated Depth", "NO", "");
  EXPECT_NE(text.find(expected), std::string::npos) << text;
  EXPECT_NE(text.find("\r\n\r\nParameters For BRIX:\r\n\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n\r\nParameters For SEVO:\r\n\r\n"), std::string::npos);
  std::snprintf(expected, sizeof expected, "%-10s %50s %10.2f %10s\r\n", "POFF", "Pressure offset", 12.345, "PSI");
  EXPECT_NE(text.find(expected), std::string::npos);

  EXPECT_EQ(writeParameterReport(fs, "s", input, loop.clock(), prompter), std::filesystem::path("s/ParamterReport_1.txt"));
  EXPECT_EQ(fs.text(first), text) << "the first report stays as it was";

  fs.setSpaceLeft(10);
  prompter.clear();
  EXPECT_TRUE(writeParameterReport(fs, "s", input, loop.clock(), prompter).empty());
  EXPECT_TRUE(prompter.saw(t::kTitleError, t::kReportFailed)) << "a short write is never reported as success";
  EXPECT_FALSE(prompter.saw(t::kTitleMessage, "A report file called:\ns/ParamterReport_2.txt\nHas been successfully created."));
}

}  // namespace
}  // namespace kvr
