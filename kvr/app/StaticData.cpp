#include "kvr/app/StaticData.h"

namespace kvr {

int writeStaticData(CFileManager& files, CToolManager& tools, std::uint8_t direction,
                    std::span<const records::SysParameterS> table, const records::JobRecord& job,
                    const std::function<void(const records::ToolEntry&)>& afterBlock) {
  int r = files.writeToolList(tools.toolList());
  r |= files.writeChannelList(tools.channels());
  for (const auto& t : tools.toolList()) {
    if (!t.isTool()) continue;
    tools::Family* family = tools.tools().family(t.code());
    r |= family ? files.writeParameterBlock(family->getParameterList()) : files.writeParameterBlock({});
    if (afterBlock) afterBlock(t);
  }
  r |= files.writeDirection(direction);
  r |= files.writeMainSystemParameters(table);
  r |= files.writeJobRecord(job);
  return r;
}

}  // namespace kvr
