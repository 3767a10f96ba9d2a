#include "kvr/app/CSystemUnitDlg.h"

#include "kvr/core/SettingKeys.h"

namespace kvr {

CSystemUnitDlg::CSystemUnitDlg(const records::SystemUnitsS& units) : units_(units) {
  for (int q = 0; q < records::kQuantityCount; ++q) {
    selected_[q] = records::unitIndex(static_cast<records::UnitQuantity>(q), units.code[q]);
  }
}

void CSystemUnitDlg::select(int quantity, int index) {
  if (quantity < 0 || quantity >= records::kQuantityCount) return;
  const auto& list = records::unitLists()[quantity];
  if (index < 0 || index >= static_cast<int>(list.units.size())) return;
  selected_[quantity] = index;
}

records::SystemUnitsS CSystemUnitDlg::ok(platform::Settings& settings) const {
  records::SystemUnitsS out = units_;
  const auto& lists = records::unitLists();
  for (int q = 0; q < records::kQuantityCount; ++q) {
    if (selected_[q] >= 0) out.code[q] = static_cast<std::uint8_t>(lists[q].base + selected_[q]);
    settings.setInt(keys::kUnits, lists[q].settingName, out.code[q]);
  }
  return out;
}

}  // namespace kvr
