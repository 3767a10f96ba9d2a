#include "pagemill/core/HeaderInfo.h"

#include <vector>

#include "common/datafile/CFileManager.h"
#include "common/presentation/NumberText.h"
#include "common/records/LittleEndian.h"

namespace pagemill {

namespace le = records::le;

namespace {

enum class ItemKind { Text, Float, Int, Fixed, None };

struct Item {
  ItemKind kind = ItemKind::None;
  std::size_t offset = 0;
  std::size_t width = 0;  // text fields
};

Item itemOf(int n) {
  static constexpr std::size_t kTexts1to9[9] = {0, 50, 100, 150, 175, 200, 225, 250, 275};
  static constexpr std::size_t kWidths1to9[9] = {50, 50, 50, 25, 25, 25, 25, 25, 50};
  static constexpr std::size_t kTexts23to29[7] = {448, 473, 498, 523, 548, 573, 598};
  static constexpr std::size_t kTexts40to42[3] = {664, 689, 714};
  if (n >= 1 && n <= 9) return {ItemKind::Text, kTexts1to9[n - 1], kWidths1to9[n - 1]};
  if (n == 10) return {ItemKind::Float, 328};
  if (n == 11) return {ItemKind::Text, 332, 25};
  if (n == 12) return {ItemKind::Text, 357, 25};
  if (n >= 13 && n <= 15) return {ItemKind::Float, 384 + 4 * static_cast<std::size_t>(n - 13)};
  if (n == 16) return {ItemKind::Text, 396, 25};
  if (n == 17) return {ItemKind::Int, 424};
  if (n >= 18 && n <= 22) return {ItemKind::Float, 428 + 4 * static_cast<std::size_t>(n - 18)};
  if (n >= 23 && n <= 29) return {ItemKind::Text, kTexts23to29[n - 23], 25};
  if (n >= 30 && n <= 39) return {ItemKind::Float, 624 + 4 * static_cast<std::size_t>(n - 30)};
  if (n >= 40 && n <= 42) return {ItemKind::Text, kTexts40to42[n - 40], 25};
  if (n >= 43 && n <= 54) return {ItemKind::Text, 860 + 65 * static_cast<std::size_t>(n - 43), 65};
  if (n == 55) return {ItemKind::Fixed};
  if (n >= 56 && n <= 61) return {ItemKind::Float, 740 + 4 * static_cast<std::size_t>(n - 56)};
  return {};
}

}  // namespace

void CHeaderInfo::setBytes(const std::uint8_t* record) { std::copy(record, record + bytes_.size(), bytes_.begin()); }

void CHeaderInfo::setRecord(const records::JobRecord& job) { records::encode(job, bytes_.data()); }

std::string CHeaderInfo::itemText(int item) const {
  const Item it = itemOf(item);
  const std::uint8_t* p = bytes_.data() + it.offset;
  switch (it.kind) {
    case ItemKind::Text: return le::getText(p, it.width);
    case ItemKind::Float: return presentation::numberText(le::getF32(p));
    case ItemKind::Int: return std::to_string(le::getI32(p));
    case ItemKind::Fixed: return std::to_string(kFixedNumber);
    case ItemKind::None: break;
  }
  return {};
}

int CHeaderInfo::loadStaticData(kvr::FileSystem& fs, const std::filesystem::path& kvrFile) {
  kvr::CFileManager files(fs);
  if (files.openInput(kvrFile) != 0) return -1;
  // The first failure decides the result; the sections after it are not read.
  auto step = [](int r, int& result) {
    if (result == 0) result = r;
    return result == 0;
  };
  int result = 0;
  records::ToolList tools;
  records::ChannelList channels;
  if (!step(files.readToolList(tools), result) || !step(files.readChannelList(channels), result)) return result;
  for (const auto& t : tools) {
    // A tool's parameter block follows as KVR writes it: by the kind bits. Comparing the
    // whole word with 1 would lose the job record of every file whose tools carry a serial.
    if (!t.isTool()) continue;
    std::vector<records::ToolParameterS> block;
    if (!step(files.readStoredParameterBlock(block), result)) return result;
  }
  std::uint8_t direction = 0;
  std::vector<records::SysParameterS> table;
  std::vector<std::uint8_t> job;
  if (!step(files.readDirection(direction), result) || !step(files.readMainSystemParameters(table), result) ||
      !step(files.readJobRecordBytes(job), result))
    return result;
  setBytes(job.data());
  return 0;
}

}  // namespace pagemill
