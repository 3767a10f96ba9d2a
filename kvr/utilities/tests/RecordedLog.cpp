#include "kvr/utilities/tests/RecordedLog.h"

#include <algorithm>
#include <stdexcept>

#include "common/datafile/CFileManager.h"
#include "common/datafile/SampleRing.h"
#include "common/records/SysParameter.h"

namespace kvr::utilities::testing {

RecordedLog RecordedLog::brix(std::uint8_t direction, bool english) {
  RecordedLog log;
  log.direction = direction;
  log.modeWord = english ? 9 : 10;
  log.channels = records::surfaceChannels(english);
  const char* names[] = {"CCL1", "CCL2", "CCL3", "CCL4", "GR"};
  const char* units[] = {"mV", "mV", "mV", "mV", "API"};
  for (std::uint32_t i = 0; i < 5; ++i) log.channels.push_back(records::ChannelStruct{names[i], units[i], 6, i, 210});
  log.job.client = "ACME OIL";
  log.job.wellName = "WELL-7";
  log.job.field = "NORTH";
  log.job.county = "KERN";
  log.job.province = "CA";
  log.job.country = "USA";
  log.job.loggingDate = "2024-01-01";
  log.job.latitude = "35 22 10 N";
  log.job.longitude = "119 01 05 W";
  return log;
}

void RecordedLog::addRow(float index, float base) {
  std::vector<float> r(width());
  for (std::size_t c = 0; c < r.size(); ++c) r[c] = base + static_cast<float>(c);
  r[0] = index;
  rows.push_back(std::move(r));
}

std::filesystem::path writeLog(FileSystem& fs, const std::filesystem::path& folder, const std::string& name,
                               const RecordedLog& log) {
  CFileManager files(fs);
  int r = files.createOutputFile(folder, name);
  records::ToolList tools(1);
  tools[0].name = "BRIX";
  tools[0].toolCode = 210;
  tools[0].setKind(1);
  r |= files.writeToolList(tools);
  r |= files.writeChannelList(log.channels);
  r |= files.writeParameterBlock({});
  r |= files.writeDirection(log.direction);
  auto table = records::defaultSystemParameters(log.modeWord);
  table[records::kSvyMode].value = static_cast<float>(log.modeWord);
  records::LogStartStamp stamp;
  stamp.depth = log.startDepth;
  records::putStartStamp(table[records::kSimStartDepth], stamp);
  r |= files.writeMainSystemParameters(table);
  r |= files.writeJobRecord(log.job);
  SampleRing ring;
  const std::size_t w = log.width();
  for (std::size_t at = 0; at < log.rows.size();) {
    const std::size_t n = std::min<std::size_t>(log.rows.size() - at, SampleRing::kRows - 1);
    ring.allocate(w);
    for (std::size_t i = 0; i < n; ++i) std::copy(log.rows[at + i].begin(), log.rows[at + i].end(), ring.data() + i * w);
    ring.setWrite(n * w);
    r |= files.flushRows(ring);
    at += n;
  }
  r |= files.closeOutput();
  if (r != 0) throw std::runtime_error("could not write the test log");
  return files.lastFilePath();
}

}  // namespace kvr::utilities::testing
