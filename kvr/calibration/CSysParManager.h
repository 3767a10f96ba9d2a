#pragma once
// The editor of the system parameter table: "Main System Parameters" (the four records from
// "SVYMODE") or "Playback Options" (the seven from "PBDOFF"). Rows show the mnemonic, the
// description, the value and the unit; a number is committed only when its whole text
// parses, a choice takes its index and its value. Edits stay in a draft until OK.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/records/SysParameter.h"

namespace kvr {

class CSysParManager {
 public:
  enum class Range { Main, Playback };

  CSysParManager(std::vector<records::SysParameterS>& table, Range range);

  const char* title() const;
  std::size_t rowCount() const { return draft_.size(); }
  const records::SysParameterS& record(std::size_t row) const { return draft_.at(row); }
  bool isChoice(std::size_t row) const;
  // "Value" column: the selected choice text of a choice list, else the value with five decimals.
  std::string valueText(std::size_t row) const;

  // A number typed in place; false (the old value stays) unless the whole text is a finite number.
  bool commitNumber(std::size_t row, std::string_view text);
  // A choice picked in place: the selected index, and the value field takes that choice's value.
  bool commitChoice(std::size_t row, int choice);

  // OK: the draft goes back into the table. Cancel is simply not calling it.
  void ok();

 private:
  std::vector<records::SysParameterS>& table_;
  std::size_t first_;
  std::vector<records::SysParameterS> draft_;
};

}  // namespace kvr
