#pragma once
// "System Units": one list per quantity of the unit-code record.

#include <array>

#include "common/records/SystemUnits.h"
#include "platform/Settings.h"

namespace kvr {

class CSystemUnitDlg {
 public:
  explicit CSystemUnitDlg(const records::SystemUnitsS& units);
  // Selected index in each list, -1 when the code lies outside its list.
  int selected(int quantity) const { return selected_[quantity]; }
  void select(int quantity, int index);
  // OK: the new record, also written to the twelve "Units" values. A list the user did
  // not touch keeps its code, even one outside the list.
  records::SystemUnitsS ok(platform::Settings& settings) const;

 private:
  records::SystemUnitsS units_;
  std::array<int, records::kSystemUnitsSize> selected_{};
};

}  // namespace kvr
