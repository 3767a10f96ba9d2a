// kvr-sample-file OUT.kvr: writes a small up log of a BRIX-CCL and a DUNE-ROLA as a real log
// records it: the tool entries of the shipped tool list, the channels and parameter blocks the
// TOOLS library makes for them, and rows on the log's depth grid flushed through CFileManager.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "common/datafile/CFileManager.h"
#include "common/datafile/FileMessages.h"
#include "common/datafile/PosixFiles.h"
#include "common/records/ChannelStruct.h"
#include "common/records/SystemMode.h"
#include "common/records/SystemUnits.h"
#include "kvr/core/CToolManager.h"
#include "kvr/core/FrameRing.h"
#include "kvr/core/TaskPanelFactory.h"
#include "kvr/core/ToolListFile.h"
#include "kvr/logging/StaticData.h"
#include "kvr/utilities/BatchPrompter.h"
#include "toolslib/Library.h"

namespace {

constexpr const char* kUsage =
    "usage: kvr-sample-file OUT.kvr\n"
    "Writes a 30 m up log (1530 m to 1500 m, metric high resolution) of a BRIX-CCL collar locator\n"
    "and a DUNE-ROLA spinner, with the channels and parameters the TOOLS library gives them.\n"
    "Prints the path of the file written.\n";

// The two descriptions as the shipped ToolList.txt holds them.
constexpr std::string_view kToolList =
    "&STARTLIST\nBRIX-CCL\nDUNE-ROLA\n&ENDLIST\n&STARTACSESORY\n&ENDACSESORY\n&STARTSTRUCT\n"
    "&BRIX-CCL\nBRIX-CCL 5 35 210 2 95.0 43.0 150.0 0.0 1\n"
    "&DUNE-ROLA\nDUNE-ROLA 6 30 230 1 120.0 43.0 150.0 0.0 1\n&ENDSTRUCT\n&END\n";

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

// A channel's reading at depth d (metres), t seconds into the log: casing collars every
// 9.1 m, a geothermal gradient, and a producing zone below 1518 m that doubles the flow.
float reading(std::string_view m, double d, double t) {
  const bool collar = std::fmod(d, 9.1) < 0.2;
  const double temp = 68 + 0.03 * (d - 1500);
  const double spinner = d > 1518 ? 6.5 : 3.2;
  if (m == "DEPTH") return static_cast<float>(d);
  if (m == "LSPD") return -10.0f;  // m/min, pulling up
  if (m == "TENS") return static_cast<float>(1850 - 0.2 * (1530 - d));
  if (m == "TIME") return static_cast<float>(t);
  if (m == "UHVOLT") return 180.5f;
  if (m == "UHCURR") return 48.9f;
  if (m.starts_with("CCL")) return collar ? 217.0f : static_cast<float>(127 + 2 * std::sin(d * 7));
  if (m == "BTEMP") return static_cast<float>(temp);
  if (m == "STEMP") return static_cast<float>(temp + 0.1);
  if (m == "SPINNER") return static_cast<float>(spinner);
  if (m == "PRATE") return static_cast<float>(spinner * 1.35);
  if (m == "SDIR") return 1.0f;
  return 0.0f;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]) == "--help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc != 2 || argv[1][0] == '-' || argv[1][0] == '\0') {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::filesystem::path out = argv[1];
  if (out.extension() == ".kvr") out.replace_extension();
  const std::filesystem::path folder = out.has_parent_path() ? out.parent_path() : std::filesystem::path(".");

  tools::Library library;
  library.initToolsData(records::SystemUnitsS{});
  kvr::utilities::BatchPrompter prompter(std::cerr);
  kvr::NoTaskPanels panels;
  kvr::FrameRing frames;
  kvr::CToolManager manager(library, prompter, panels, frames);
  const kvr::ToolListFile list = kvr::parseToolList(kToolList);
  records::ToolList string;
  std::uint32_t serial = 104;
  for (const auto& name : list.tools) string.push_back(*list.makeEntry(name, serial++));
  manager.setToolList(std::move(string));
  manager.confirmString(records::kDefaultModeWord);

  kvr::PosixFileSystem fs;
  kvr::CFileManager fm(fs);
  if (fm.createOutputFile(folder, out.filename().string()) != 0) {
    std::fprintf(stderr, "%s\n", kvr::kCreateOutputFailed.text);
    return 1;
  }
  auto system = records::defaultSystemParameters(records::kDefaultModeWord);
  records::putStartStamp(system[records::kSimStartDepth], {9, 41, 5, 4, 3, 2024, 1530});
  if (kvr::writeStaticData(fm, manager, kvr::kLogUp, system, job()) != 0) {
    std::fprintf(stderr, "%s\n", kvr::kStaticWriteFailed.text);
    return 1;
  }

  // 301 rows from 1530.0 m up to 1500.0 m on the 0.1 m grid, flushed as a log would.
  kvr::SampleRing& ring = manager.ring();
  const records::ChannelList& channels = manager.channels();
  const double step = records::depthStep(records::kDefaultModeWord);
  for (int i = 0; i <= 300; ++i) {
    const double depth = 1530.0 - i * step;
    float* row = ring.data() + ring.write();
    for (const auto& c : channels) row[c.baseColumn + c.index] = reading(c.mnemonic, depth, i * step * 6.0);
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
