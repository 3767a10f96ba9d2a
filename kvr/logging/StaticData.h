#pragma once
// Sections 1 to 6 of a data file, as a log and a saved session both write them.

#include <cstdint>
#include <functional>
#include <span>
#include <utility>
#include <vector>

#include "common/datafile/CFileManager.h"
#include "common/records/JobRecord.h"
#include "common/records/SysParameter.h"
#include "kvr/core/CToolManager.h"
#include "kvr/core/ProgramSettings.h"

namespace kvr {

// Tool list, channel list, one parameter block per tool (an empty one for a code without a
// family), direction, main system parameters, job record. afterBlock runs after each tool's
// block. Returns 0, or -1 when any write failed (the writes go on, as the callers OR them).
int writeStaticData(CFileManager& files, CToolManager& tools, std::uint8_t direction,
                    std::span<const records::SysParameterS> table, const records::JobRecord& job,
                    const std::function<void(const records::ToolEntry&)>& afterBlock = {});

// Sections 1 to 5 of a data file as read, before anything takes them over.
struct StoredStaticData {
  records::ToolList tools;
  records::ChannelList channels;
  // The block of every tool the TOOLS library knows, at the length the library expects.
  std::vector<std::pair<tools::Family*, std::vector<records::ToolParameterS>>> parameters;
  std::uint8_t direction = 0;
  std::vector<records::SysParameterS> table;  // the program's table with the file's main parameters
  std::int32_t modeWord = 0;                   // from "SVYMODE"
};

// Reads sections 1 to 5 from the input's position on; blocks of codes without a family are
// skipped. 0, -1, or -2 for counts that disagree and for a mode word that is no integer.
int readStaticData(CFileManager& files, tools::Library& library, std::vector<records::SysParameterS> table,
                   StoredStaticData& out);
// The file's string with its parameters (the rest back to their defaults), main system
// parameters and mode word become the program's.
void adoptStaticData(StoredStaticData& data, CToolManager& tools, ProgramSettings& program);

}  // namespace kvr
