#include "kvr/logging/StaticData.h"

#include <cmath>
#include <limits>

#include "common/records/FileNameRule.h"
#include "common/records/SystemMode.h"

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

int readStaticData(CFileManager& files, tools::Library& library, std::vector<records::SysParameterS> table,
                   StoredStaticData& out) {
  out = StoredStaticData{};
  int r = files.readToolList(out.tools);
  if (r == 0) r = files.readChannelList(out.channels);
  // The tool names name the data files recorded with this string.
  for (const auto& t : out.tools)
    if (r == 0 && t.isTool() && !records::nameStaysInFolder(t.name)) r = -2;
  for (const auto& t : out.tools) {
    if (!t.isTool() || r != 0) continue;
    if (tools::Family* family = library.family(t.code())) {
      std::vector<records::ToolParameterS> block(family->getParameterList().size());
      r = files.readParameterBlock(block);
      out.parameters.emplace_back(family, std::move(block));
    } else {
      std::vector<records::ToolParameterS> skipped;
      r = files.readStoredParameterBlock(skipped);
    }
  }
  if (r == 0) r = files.readDirection(out.direction);
  if (r == 0) r = files.readMainSystemParameters(table);
  if (r != 0) return r;
  // The mode word travels as a float; one that is no integer cannot be taken.
  const float word = table[records::kSvyMode].value;
  if (!std::isfinite(word) || word < static_cast<float>(std::numeric_limits<std::int32_t>::min()) ||
      word > static_cast<float>(std::numeric_limits<std::int32_t>::max()))
    return -2;
  out.modeWord = static_cast<std::int32_t>(word);
  out.table = std::move(table);
  return 0;
}

void adoptStaticData(StoredStaticData& data, CToolManager& tools, ProgramSettings& program) {
  tools.setToolList(std::move(data.tools));
  tools.loadParameterLists();
  for (auto& [family, block] : data.parameters) family->loadParameterList(block, true);
  program.systemParameters = std::move(data.table);
  program.modeWord = data.modeWord;
  program.depthStep = records::depthStep(data.modeWord);
  tools.setModeWord(data.modeWord);
}

}  // namespace kvr
