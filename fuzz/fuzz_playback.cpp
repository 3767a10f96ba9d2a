// Playback of a data file from arbitrary bytes. With the first byte's top bit set the bytes
// are the whole file (the static data as found); otherwise a sound static data of a string
// the second byte picks is followed by the bytes as rows, and the first bytes pick the
// options and the depth window, so the block planning and the tool computations meet
// NaNs, huge depths and files that end inside a row.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>

#include "common/records/SystemMode.h"
#include "kvr/app/CKVRApp.h"
#include "kvr/app/LoggingStation.h"
#include "kvr/logging/StaticData.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/ScriptedPrompter.h"
#include "platform/testing/TempPaths.h"

namespace {

platform::testing::TempPaths& paths() {
  static platform::testing::TempPaths p;
  return p;
}

float floatAt(const std::uint8_t* p) {
  float f;
  std::memcpy(&f, p, sizeof f);
  return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 12) return 0;
  const bool wholeFile = (data[0] & 0x80) != 0;
  platform::testing::ManualLoop loop;
  platform::testing::ScriptedPrompter prompter;
  kvr::ProgramSettings program = kvr::CKVRApp::batchSettings(paths(), (data[0] & 1) ? 9 : 10);
  auto& t = program.systemParameters;
  t[records::kPbChannelSource].selectedChoice = (data[0] >> 1) & 1;
  t[records::kPbOutputFile].selectedChoice = (data[0] >> 2) & 1;
  t[records::kPbComputations].selectedChoice = (data[0] >> 3) & 1;
  if (data[0] & 0x10) {
    t[records::kPbMinDepth].value = floatAt(data + 2);
    t[records::kPbMaxDepth].value = floatAt(data + 6);
  }
  if (data[0] & 0x20) t[records::kPbDepthOffset].value = floatAt(data + 8);

  kvr::LoggingStation station({loop, loop.clock(), prompter, paths(), program},
                              kvr::simulatedPanelLink(panelsim::SimConfig{}, loop.clock()), true);
  records::JobRecord job;
  job.userName = "F";
  job.client = "F";
  job.wellName = "F";
  if (!station.session().confirmJobData(job)) return 0;
  const auto file = paths().base() / "fuzz.kvr";
  if (wholeFile) {
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data + 1),
                                                                  static_cast<std::streamsize>(size - 1));
  } else {
    std::vector<std::string> names;
    if (data[1] & 1) names.push_back("BRIX-CCL");
    if (data[1] & 2) names.push_back("DUNE-ROLA");
    if (data[1] & 4) names.push_back("TARNB-FSK");
    if (data[1] & 8) names.push_back("SEVO-PT");
    if (station.declareString(names)) return 0;
    kvr::CFileManager writer(station.fileSystem());
    if (writer.createOutputFile(paths().base(), "fuzz") != 0) return 0;
    kvr::writeStaticData(writer, station.tools(), data[1] >> 6, program.systemParameters, job);
    writer.closeOutput();
    std::ofstream(file, std::ios::binary | std::ios::app).write(reinterpret_cast<const char*>(data + 12),
                                                                static_cast<std::streamsize>(size - 12));
    station.tools().setToolList({});  // no session question
  }
  auto& playback = station.playback();
  if (playback.loadFile(file) && playback.startPlayback()) loop.runPending();
  return 0;
}
