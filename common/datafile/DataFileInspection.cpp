#include "common/datafile/DataFileInspection.h"

namespace kvr {

int inspectOpenDataFile(CFileManager& fm, DataFileContents& c) {
  if (int r = fm.readToolList(c.tools)) return r;
  if (int r = fm.readChannelList(c.channels)) return r;
  c.parameterBlocks.clear();
  for (const auto& t : c.tools) {
    if (!t.isTool()) continue;
    c.parameterBlocks.emplace_back();
    if (int r = fm.readStoredParameterBlock(c.parameterBlocks.back())) return r;
  }
  if (int r = fm.readDirection(c.direction)) return r;
  if (int r = fm.readMainSystemParameters(c.mainParameters)) return r;
  if (int r = fm.readJobRecordBytes(c.jobRecord)) return r;
  return fm.summaryCheck(kSectionRows, c.summary);
}

int inspectDataFile(CFileManager& fm, const std::filesystem::path& file, DataFileContents& c) {
  if (fm.openInput(file) != 0) return -1;
  return inspectOpenDataFile(fm, c);
}

}  // namespace kvr
