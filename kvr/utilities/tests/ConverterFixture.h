#pragma once
// A converter on real files in a temporary folder, with scripted answers and a fixed clock.

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>

#include "common/datafile/PosixFiles.h"
#include "kvr/utilities/CKvrToAscii.h"
#include "kvr/utilities/tests/RecordedLog.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/ScriptedPrompter.h"
#include "platform/testing/TempPaths.h"

namespace kvr::utilities::testing {

inline std::string readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class ConverterTest : public ::testing::Test {
 protected:
  explicit ConverterTest(std::uint8_t timeUnitCode = 20) : converter(prompter, paths, clock, fs, text, timeUnitCode) {}

  std::filesystem::path write(const RecordedLog& log, const std::string& name = "BRIX_DOWN") {
    return writeLog(fs, paths.base(), name, log);
  }
  // Chooses the file and selects the channels by name, in list order.
  void choose(const std::filesystem::path& p, std::initializer_list<const char*> names = {}) {
    ASSERT_TRUE(converter.chooseInput(p)) << ::testing::PrintToString(prompter.texts());
    for (const char* n : names) {
      bool found = false;
      for (std::size_t i = 0; i < converter.source().channels.size(); ++i)
        if (converter.source().channels[i].mnemonic == n) found = converter.fields().selected[i] = true;
      ASSERT_TRUE(found) << n;
    }
  }
  void selectAll() { converter.fields().selected.assign(converter.source().channels.size(), true); }
  std::string convertToText() {
    EXPECT_TRUE(converter.convert()) << ::testing::PrintToString(prompter.texts());
    return readAll(converter.fields().outputFile);
  }

  platform::testing::TempPaths paths;
  platform::testing::ScriptedPrompter prompter;
  platform::testing::VirtualClock clock;
  PosixFileSystem fs;
  PosixTextFiles text;
  CKvrToAscii converter;
};

}  // namespace kvr::utilities::testing
