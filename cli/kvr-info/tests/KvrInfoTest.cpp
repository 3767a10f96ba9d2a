#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "MiniJson.h"
#include "common/datafile/CFileManager.h"
#include "common/datafile/PosixFiles.h"
#include "platform/testing/TempPaths.h"

namespace {

struct Outcome {
  int status = -1;
  std::string out, err;
};

std::string slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class KvrInfo : public ::testing::Test {
 protected:
  platform::testing::TempPaths paths;
  std::filesystem::path dir = paths.base();

  Outcome run(const std::string& program, const std::string& args) {
    const std::string cmd = "'" + program + "' " + args + " >'" + (dir / "out").string() + "' 2>'" + (dir / "err").string() + "'";
    Outcome r;
    const int s = std::system(cmd.c_str());
    r.status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
    r.out = slurp(dir / "out");
    r.err = slurp(dir / "err");
    return r;
  }
  std::string sampleFile() {
    const auto file = (dir / "sample.kvr").string();
    EXPECT_EQ(run(KVR_SAMPLE_FILE, "'" + file + "'").status, 0);
    return file;
  }
  Outcome info(const std::string& file, const std::string& extra = "--json") { return run(KVR_INFO, "'" + file + "' " + extra); }
};

std::string bytesOf(const std::string& file) { return slurp(file); }
void writeBytes(const std::string& file, const std::string& b) { std::ofstream(file, std::ios::binary) << b; }

}  // namespace

TEST_F(KvrInfo, JsonOfTheSampleFile) {
  const std::string file = sampleFile();
  const Outcome r = info(file, "--json --rows 3");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto j = minijson::parse(r.out);
  EXPECT_EQ(j["result"].num, 0);
  EXPECT_EQ(j["direction"].num, 1);
  ASSERT_EQ(j["tools"].arr.size(), 2u);
  EXPECT_EQ(j["tools"][0]["name"].str, "BRIX-CCL");
  EXPECT_EQ(j["tools"][0]["code"].num, 210);
  EXPECT_EQ(j["tools"][1]["name"].str, "DUNE-ROLA");
  EXPECT_EQ(j["tools"][1]["serial"].num, 105);
  ASSERT_EQ(j["channels"].arr.size(), 15u);
  const char* surface[] = {"DEPTH", "LSPD", "TENS", "TIME", "UHVOLT", "UHCURR"};
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(j["channels"][i]["mnemonic"].str, surface[i]);
    EXPECT_EQ(j["channels"][i]["column"].num, double(i));
  }
  // The channels the TOOLS library makes for the two tools.
  EXPECT_EQ(j["channels"][6]["mnemonic"].str, "CCL1");
  EXPECT_EQ(j["channels"][11]["mnemonic"].str, "SPINNER");
  EXPECT_EQ(j["channels"][14]["column"].num, 14);
  EXPECT_EQ(j["rows"].num, 301);
  EXPECT_EQ(j["first"].num, 1530);
  EXPECT_NEAR(j["last"].num, 1500, 1e-3);
  EXPECT_EQ(j["modeWord"].num, 10);
  EXPECT_EQ(j["start"]["year"].num, 2024);
  EXPECT_EQ(j["start"]["depth"].num, 1530);
  EXPECT_EQ(j["job"]["User Name:"].str, "Demo Engineer");
  EXPECT_EQ(j["job"]["Run Number:"].num, 1);
  EXPECT_EQ(j["job"]["Res. of Mud Cake: Temperature:"].num, 0);
  ASSERT_EQ(j["data"].arr.size(), 3u);
  EXPECT_EQ(j["data"][2].arr.size(), 15u);
  EXPECT_NEAR(j["data"][1][0].num, 1529.9, 1e-3);

  const Outcome text = info(file, "");
  EXPECT_EQ(text.status, 0);
  EXPECT_NE(text.out.find("Rows: 301"), std::string::npos);
  EXPECT_NE(text.out.find("User Name: Demo Engineer"), std::string::npos);
}

// Job texts are bytes: quotes, backslashes, control bytes and bytes that are not UTF-8 all
// come out as valid JSON (a stray byte as its Latin-1 character).
TEST_F(KvrInfo, JsonStringsAreEscaped) {
  kvr::PosixFileSystem fs;
  kvr::CFileManager fm(fs);
  ASSERT_EQ(fm.createOutputFile(dir, "odd"), 0);
  records::ToolEntry t;
  t.name = "Q\"\\";
  t.setKind(1);
  records::JobRecord job;
  job.userName = "a\"b\\c\x01\x1f\x7f\xff\xc3\xa9\n\t\xe2\x82";
  job.client = "\xed\xa0\x80";  // an encoded surrogate is not UTF-8
  int r = fm.writeToolList({t});
  r |= fm.writeChannelList(records::surfaceChannels(true));
  r |= fm.writeParameterBlock({});
  r |= fm.writeDirection(0);
  r |= fm.writeMainSystemParameters(records::defaultSystemParameters(9));
  r |= fm.writeJobRecord(job);
  kvr::SampleRing ring;
  ring.allocate(6);
  ring.data()[0] = 12.5f;
  ring.setWrite(6);
  r |= fm.closeOutput(ring);
  ASSERT_EQ(r, 0);

  const Outcome run = info((dir / "odd.kvr").string());
  ASSERT_EQ(run.status, 0) << run.err;
  const auto j = minijson::parse(run.out);
  EXPECT_EQ(j["tools"][0]["name"].str, "Q\"\\");
  EXPECT_EQ(j["job"]["User Name:"].str, "a\"b\\c\x01\x1f\x7f\xc3\xbf\xc3\xa9\n\t\xc3\xa2\xc2\x82");
  EXPECT_EQ(j["job"]["Client:"].str, "\xc3\xad\xc2\xa0\xc2\x80");
  EXPECT_EQ(j["rows"].num, 1);
  EXPECT_EQ(j["first"].num, 12.5);
  EXPECT_EQ(j["last"].num, 12.5);
  EXPECT_EQ(j["direction"].num, 0);
}

TEST_F(KvrInfo, FailuresGiveTheirExitStatusAndMessage) {
  const std::string good = bytesOf(sampleFile());
  const std::string bad = (dir / "bad.kvr").string();

  std::string mismatch = good;
  mismatch[4 + 2 * 56] = 3;  // the tool list's trailing count
  writeBytes(bad, mismatch);
  Outcome r = info(bad);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "Error while checking static data integrity\nFile could be corrupted, try again\n");
  EXPECT_EQ(minijson::parse(r.out)["result"].num, -2);

  writeBytes(bad, good.substr(0, 1000));
  r = info(bad);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Error while trying to read static data from the file\n");
  EXPECT_EQ(minijson::parse(r.out)["result"].num, -1);

  writeBytes(bad, good.substr(0, good.size() - 301 * 15 * 4));  // static data only
  EXPECT_EQ(info(bad, "").status, 1);

  r = info((dir / "missing.kvr").string(), "");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "The requested file could not be opened\n");
  EXPECT_EQ(r.out, "");

  EXPECT_EQ(run(KVR_INFO, "").status, 64);
  EXPECT_EQ(run(KVR_INFO, "'" + bad + "' --rows -3").status, 64);
}
