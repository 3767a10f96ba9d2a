#pragma once
// A small tool string (BRIX, an accessory, DUNE) with everything a data file stores, for the tests.

#include <vector>

#include "common/datafile/CFileManager.h"
#include "common/records/ChannelStruct.h"
#include "common/records/JobRecord.h"
#include "common/records/SysParameter.h"
#include "common/records/SystemMode.h"
#include "common/records/ToolParameter.h"

namespace sample {

struct Log {
  records::ToolList tools;
  records::ChannelList channels;
  std::vector<std::vector<records::ToolParameterS>> parameters;  // one block per tool of kind 1
  std::uint8_t direction = kvr::kLogUp;
  std::vector<records::SysParameterS> system;
  records::JobRecord job;
};

inline records::ToolEntry entry(const char* name, std::uint32_t code, std::uint32_t kind, float lengthCm, std::uint32_t serial) {
  records::ToolEntry t;
  t.name = name;
  t.toolCode = code;
  t.setKind(kind);
  t.setSerial(serial);
  t.lengthCm = lengthCm;
  t.blockCount = code == 0 ? 0 : 1;
  return t;
}

inline Log log() {
  Log l;
  l.tools = {entry("BRIX", 210, 1, 180.5f, 17), entry("**CENTRAL", 0, 4, 40, 0), entry("DUNE", 230, 1, 95, 321)};
  l.channels = records::surfaceChannels(false);
  const char* brix[] = {"CCL", "GR", "TEMP", "PRES", "BSTAT"};
  for (std::uint32_t i = 0; i < 5; ++i) l.channels.push_back({brix[i], "U" + std::to_string(i), 6, i, 210});
  const char* dune[] = {"SPIN", "SPDIR", "RPS", "DSTAT"};
  for (std::uint32_t i = 0; i < 4; ++i) l.channels.push_back({dune[i], "RPS", 11, i, 230});
  records::ToolParameterS p;
  p.mnemonic = "GAIN";
  p.description = "Gamma gain";
  p.value = 2.5f;
  p.messageLength = 4;
  p.message = {210, 7, 2, 0};
  l.parameters = {{p, p, p}, {}};
  l.parameters[0][1].mnemonic = "THRESH";
  l.parameters[0][2].mnemonic = "MODE";
  l.system = records::defaultSystemParameters(records::kDefaultModeWord);
  records::putStartStamp(l.system[records::kSimStartDepth], {8, 30, 15, 4, 3, 2024, 1500});
  l.job.userName = "Ann";
  l.job.client = "Acme Oil";
  l.job.wellName = "W-7";
  l.job.runNumber = 2;
  l.job.remarks[11] = "last remark";
  return l;
}

// Writes the static data in the documented calling order; the results ORed like the caller does.
inline int writeStatic(kvr::CFileManager& fm, const Log& l) {
  int r = fm.writeToolList(l.tools);
  r |= fm.writeChannelList(l.channels);
  std::size_t block = 0;
  for (const auto& t : l.tools) {
    if (t.isTool()) r |= fm.writeParameterBlock(l.parameters.at(block++));
  }
  r |= fm.writeDirection(l.direction);
  r |= fm.writeMainSystemParameters(l.system);
  r |= fm.writeJobRecord(l.job);
  return r;
}

// Bytes of the static data of log(): 3 tools, 15 channels, blocks of 3 and 0 records.
constexpr std::size_t kStaticBytes = (8 + 3 * 56) + (8 + 15 * 56) + (8 + 3 * 388) + 8 + 3 + (8 + 4 * 352) + (8 + 1640);

}  // namespace sample
