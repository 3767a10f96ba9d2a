// The batch tools kvr-merge, kvr-splice and kvr-wellpath run as programs.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "kvr/utilities/CMergeKvr.h"
#include "kvr/utilities/tests/TestDataFiles.h"
#include "platform/testing/TempPaths.h"
#include "toolslib/Library.h"

namespace {

struct Outcome {
  int status;
  std::string err;
};

std::string readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct CliFixture : ::testing::Test {
  platform::testing::TempPaths paths;
  std::filesystem::path dir = paths.base();

  Outcome run(const std::string& program, const std::string& args) {
    std::filesystem::create_directories(dir);
    auto err = dir / "stderr.txt";
    std::string cmd = "cd '" + dir.string() + "' && '" + program + "' " + args + " > stdout.txt 2> '" + err.string() + "'";
    int raw = std::system(cmd.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readAll(err)};
  }

  void writeLog(const std::string& name, float first, float last) {
    kvr::MemoryFileSystem fs;
    testfiles::FileParts s;
    s.tools = {testfiles::tool("BRIX", 210)};
    s.channels = records::surfaceChannels(false);
    testfiles::addBlock(s.channels, 6, 210, {"GR"});
    tools::Library lib;  // the tools read their blocks through the TOOLS lists
    lib.initToolsData(records::SystemUnitsS{});
    s.parameters = {lib.family(210)->getParameterList()};
    for (float d = first; d <= last; d += 1) s.rows.push_back({d, 0, 0, 0, 0, 0, d});
    testfiles::write(fs, "x/" + name, s);
    std::filesystem::create_directories(dir);
    const auto& bytes = fs.file("x/" + name);
    std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
};

TEST_F(CliFixture, MergeWritesTheOutputAndRefusesWithTheMessages) {
  writeLog("a.kvr", 100, 104);
  writeLog("b.kvr", 102, 106);
  auto ok = run(KVR_MERGE, "a.kvr b.kvr --suffix _2 -o merged");
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_NE(ok.err.find("MESSAGE: File merging is successfully finished.\nmerged.kvr has been created."), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir / "merged.kvr"));

  std::filesystem::resize_file(dir / "b.kvr", 200);
  auto bad = run(KVR_MERGE, "a.kvr b.kvr -o other.kvr");
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("FATAL ERROR: Error while trying to read static data from the file"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "other.kvr"));

  EXPECT_EQ(run(KVR_MERGE, "a.kvr").status, 2);
  EXPECT_EQ(run(KVR_MERGE, "a.kvr b.kvr --suffix 123456789").status, 2);
  EXPECT_EQ(run(KVR_MERGE, "--help").status, 0);
}

TEST_F(CliFixture, SpliceChecksTheRangesAndNumbersItsOutput) {
  writeLog("a.kvr", 100, 110);
  writeLog("b.kvr", 105, 120);
  auto refused = run(KVR_SPLICE, "a.kvr b.kvr --range1 100 106 --range2 107 120");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("ERROR: The Final depth for File 1 has to be equal to the Starting depth for File 2 !"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "SPLICE_FILE.kvr"));
  auto ok = run(KVR_SPLICE, "a.kvr b.kvr --range1 100 106 --range2 106 120");
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_TRUE(std::filesystem::exists(dir / "SPLICE_FILE.kvr"));
  EXPECT_EQ(run(KVR_SPLICE, "a.kvr b.kvr --range1 100 x --range2 106 120").status, 2);
  EXPECT_EQ(run(KVR_SPLICE, "--help").status, 0);
}

TEST_F(CliFixture, WellPathWritesThePathOrNamesTheBadLine) {
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "s.txt") << "# survey\n0 0 0\n100 90 90\n";
  auto ok = run(KVR_WELLPATH, "s.txt -o path.txt");
  EXPECT_EQ(ok.status, 0) << ok.err;
  EXPECT_NE(readAll(dir / "path.txt").find("100.00\t90.00\t90.00\t63.66\t"), std::string::npos);

  std::ofstream(dir / "bad.txt") << "0 0 0\n100 90\n";
  auto bad = run(KVR_WELLPATH, "bad.txt");
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("ERROR: Line 2 of the data file does not hold three numbers"), std::string::npos);
  EXPECT_EQ(run(KVR_WELLPATH, "--help").status, 0);
#ifdef KVR_WELLPATH_PNG
  auto png = run(KVR_WELLPATH, "s.txt -o p.txt --png plot.png --plot closure-tvd");
  EXPECT_EQ(png.status, 0) << png.err;
  EXPECT_EQ(readAll(dir / "plot.png").substr(1, 3), "PNG");
#endif
}

}  // namespace
