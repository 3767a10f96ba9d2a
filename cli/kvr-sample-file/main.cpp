// kvr-sample-file OUT.kvr: writes a small, realistic up log of a BRIX and a DUNE through
// CFileManager, for demos and tests until a real logging run provides files.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "common/datafile/CFileManager.h"
#include "common/datafile/FileMessages.h"
#include "common/datafile/PosixFiles.h"
#include "common/records/ChannelStruct.h"
#include "common/records/SystemMode.h"
#include "common/records/ToolCodes.h"

namespace {

records::ToolEntry tool(const char* name, std::uint8_t code, float lengthCm, std::uint32_t serial) {
  records::ToolEntry t;
  t.name = name;
  t.toolCode = code;
  t.dataBytes = records::toolCodeInfo(code)->dataBytes;
  t.blockCount = code == records::kBrix ? 2 : 1;
  t.lengthCm = lengthCm;
  t.sketchWidth = 43;
  t.setKind(1);
  t.setSerial(serial);
  return t;
}

// Columns of the tools as a TOOLS library could name them; the surface six come first.
records::ChannelList channels() {
  records::ChannelList list = records::surfaceChannels(false);
  const std::pair<const char*, const char*> brix[] = {{"CCL", "MV"}, {"GR", "API"}, {"WTEMP", "DegC"},
                                                      {"WPRES", "PSI"}, {"BRXSTAT", ""}};
  const std::pair<const char*, const char*> dune[] = {{"SPIN", "RPS"}, {"SPINDIR", ""}, {"SPINCNT", "CNT"},
                                                      {"DUNESTAT", ""}};
  std::uint32_t i = 0;
  for (auto [m, u] : brix) list.push_back({m, u, 6, i++, records::kBrix});
  i = 0;
  for (auto [m, u] : dune) list.push_back({m, u, 11, i++, records::kDune});
  return list;
}

records::JobRecord job() {
  records::JobRecord j;
  j.userName = "Demo Engineer";
  j.client = "Northfield Energy";
  j.wellName = "NF-12";
  j.field = "Northfield";
  j.country = "Argentina";
  j.loggingDate = "04/03/2024";
  j.runNumber = 1;
  j.depthDriller = 1550;
  j.loggerDepth = 1548.5f;
  j.bottomLogInterval = 1530;
  j.topLogInterval = 1500;
  j.remarks[0] = "Production log, spinner up pass at 10 m/min.";
  return j;
}

// One row of an up pass at depth d, t seconds into the log.
void fillRow(float* row, double d, double t) {
  const double collar = std::fmod(d, 9.1);
  row[0] = static_cast<float>(d);
  row[1] = -10.0f;                                          // line speed, m/min
  row[2] = static_cast<float>(1850 - 0.2 * (1530 - d));     // tension
  row[3] = static_cast<float>(t);
  row[4] = 180.5f;                                          // head voltage
  row[5] = 48.9f;                                           // head current
  row[6] = collar < 0.2 ? 85.0f : 2.0f;                     // collar locator kicks
  row[7] = static_cast<float>(60 + 25 * std::sin(d / 3.0) + (d < 1512 ? 40 : 0));
  row[8] = static_cast<float>(68 + 0.03 * (d - 1500));
  row[9] = static_cast<float>(2100 + 1.42 * (d - 1500));
  row[10] = 0;
  row[11] = static_cast<float>(d > 1518 ? 6.5 : 3.2);
  row[12] = 1;
  row[13] = static_cast<float>(std::floor(t * 5));
  row[14] = 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kvr-sample-file OUT.kvr\n");
    return 64;
  }
  std::filesystem::path out = argv[1];
  if (out.extension() == ".kvr") out.replace_extension();
  const std::filesystem::path folder = out.has_parent_path() ? out.parent_path() : std::filesystem::path(".");

  kvr::PosixFileSystem fs;
  kvr::CFileManager fm(fs);
  if (fm.createOutputFile(folder, out.filename().string()) != 0) {
    std::fprintf(stderr, "%s\n", kvr::kCreateOutputFailed.text);
    return 1;
  }
  const records::ToolList tools{tool("BRIX", records::kBrix, 182, 104), tool("DUNE", records::kDune, 96, 57)};
  const records::ChannelList cols = channels();
  auto system = records::defaultSystemParameters(records::kDefaultModeWord);
  records::putStartStamp(system[records::kSimStartDepth], {9, 41, 5, 4, 3, 2024, 1530});

  int r = fm.writeToolList(tools);
  r |= fm.writeChannelList(cols);
  for (std::size_t i = 0; i < tools.size(); ++i) r |= fm.writeParameterBlock({});
  r |= fm.writeDirection(kvr::kLogUp);
  r |= fm.writeMainSystemParameters(system);
  r |= fm.writeJobRecord(job());
  if (r != 0) {
    std::fprintf(stderr, "%s\n", kvr::kStaticWriteFailed.text);
    return 1;
  }

  // 301 rows from 1530.0 m up to 1500.0 m on the 0.1 m grid, flushed as a log would.
  kvr::SampleRing ring;
  ring.allocate(cols.size());
  const double step = records::depthStep(records::kDefaultModeWord);
  for (int i = 0; i <= 300; ++i) {
    const double depth = 1530.0 - i * step;
    fillRow(ring.data() + ring.write(), depth, i * step * 6.0);  // 10 m/min: 6 s per metre
    ring.setWrite(ring.advance(ring.write(), ring.rowWidth()));
    if (i % 75 == 74 && fm.flushRows(ring) != 0) std::fprintf(stderr, "%s\n", kvr::kFlushFailed.text);
  }
  if (fm.closeOutput(ring) != 0) {
    std::fprintf(stderr, "%s\n", kvr::kFlushFailed.text);
    return 1;
  }
  std::printf("%s\n", fm.lastFilePath().c_str());
  return 0;
}
