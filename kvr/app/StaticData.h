#pragma once
// Sections 1 to 6 of a data file, as a log and a saved session both write them.

#include <cstdint>
#include <functional>
#include <span>

#include "common/records/JobRecord.h"
#include "common/records/SysParameter.h"
#include "kvr/core/CFileManager.h"
#include "kvr/core/CToolManager.h"

namespace kvr {

// Tool list, channel list, one parameter block per tool (an empty one for a code without a
// family), direction, main system parameters, job record. afterBlock runs after each tool's
// block. Returns 0, or -1 when any write failed (the writes go on, as the callers OR them).
int writeStaticData(CFileManager& files, CToolManager& tools, std::uint8_t direction,
                    std::span<const records::SysParameterS> table, const records::JobRecord& job,
                    const std::function<void(const records::ToolEntry&)>& afterBlock = {});

}  // namespace kvr
