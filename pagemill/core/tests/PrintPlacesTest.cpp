#include "pagemill/core/PrintPlaces.h"

#include <gtest/gtest.h>

#include <fstream>

#include "pagemill/core/PagemillSettings.h"
#include "platform/testing/MemorySettings.h"
#include "platform/testing/TempPaths.h"

namespace pagemill {
namespace {

TEST(PrintPlaces, APdfGoesBesideTheFirstLogElseToTheDataRootAndNeverOverAFile) {
  platform::testing::TempPaths tmp;
  const auto root = tmp.base() / "root", session = root / "Acme" / "Well 7";
  std::filesystem::create_directories(session);
  std::ofstream(session / "UP-1.pdf") << "an earlier print";
  struct Case {
    std::vector<std::string> entries;
    std::filesystem::path expected;
  };
  const Case cases[] = {
      {{"&HEADER: h", "&FILE: " + (session / "DOWN-2.cdf").string(), "&FILE: /elsewhere/x.cdf"}, session / "DOWN-2.pdf"},
      {{"&FILE: " + (session / "UP-1.cdf").string()}, session / "UP-1 (2).pdf"},
      {{"&FILE: " + (tmp.base() / "gone" / "UP-1.cdf").string()}, root / "KVR Printing Job.pdf"},
      {{"&HEADER: h", "&TAIL: t"}, root / "KVR Printing Job.pdf"},
  };
  for (const auto& c : cases) EXPECT_EQ(defaultPdfPath(c.entries, root), c.expected) << c.entries.front();
}

TEST(PrintPlaces, LogDialogsStartAtTheLastLogElseTheNewestSessionElseTheRoot) {
  platform::testing::TempPaths tmp;
  const auto root = tmp.base() / "root";
  std::filesystem::create_directories(root);
  EXPECT_EQ(logFolder({}, root), root);
  const auto older = root / "U" / "Acme" / "A-7" / "S1", newer = root / "U" / "Acme" / "B-1" / "S1";
  for (const auto& f : {older, newer}) std::filesystem::create_directories(f);
  std::ofstream(older / "UP-1_GR.cdf") << "x";
  std::ofstream(newer / "UP-1_GR.CDF") << "x";
  std::filesystem::last_write_time(older / "UP-1_GR.cdf",
                                   std::filesystem::last_write_time(newer / "UP-1_GR.CDF") - std::chrono::hours(1));
  EXPECT_EQ(logFolder({}, root), newer);
  // The most recent log still present wins over the newest chart file.
  EXPECT_EQ(logFolder({(tmp.base() / "gone" / "x.cdf").string(), (older / "UP-1_GR.cdf").string()}, root), older);
  EXPECT_EQ(logFolder({}, tmp.base() / "no such root"), tmp.base() / "no such root");
}

TEST(PrintPlaces, AFirstStartChoosesTheShippedTemplatesAndKeepsAChoice) {
  platform::testing::TempPaths tmp;
  const auto shipped = tmp.base() / "templates", mine = tmp.base() / "mine";
  std::filesystem::create_directories(shipped);
  std::filesystem::create_directories(mine);
  for (const char* n : {"HEADER.TXT", "TAIL.TXT", "SEPARATOR.TXT"}) std::ofstream(shipped / n) << "&ENGLISH &END";
  platform::testing::MemorySettings settings;
  settings.setString(keys::kTemplates, templateValue(kTailTemplate), (mine / "tail.txt").string());
  chooseShippedTemplates(settings, shipped);
  auto chosen = [&](int kind) { return settings.getString(keys::kTemplates, templateValue(kind), ""); };
  EXPECT_EQ(chosen(kHeaderTemplate), (shipped / "HEADER.TXT").string());
  EXPECT_EQ(chosen(kTailTemplate), (mine / "tail.txt").string());
  EXPECT_EQ(chosen(kSeparatorTemplate), (shipped / "SEPARATOR.TXT").string());
  EXPECT_EQ(chosen(kRemarksTemplate), "");  // none shipped
  // Template dialogs start where the kind's template is.
  EXPECT_EQ(templateFolder(settings, kTailTemplate, shipped), mine);
  EXPECT_EQ(templateFolder(settings, kRemarksTemplate, shipped), shipped);
}

}  // namespace
}  // namespace pagemill
