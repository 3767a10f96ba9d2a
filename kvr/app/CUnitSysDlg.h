#pragma once
// "Unit System": the six unit-system and resolution choices of the mode word.

#include <array>
#include <cstdint>

namespace kvr {

class CUnitSysDlg {
 public:
  struct Choice {
    const char* text;
    std::int32_t word;
  };
  static const std::array<Choice, 6>& choices();

  // Pre-selects the choice of the current word; none (-1) for any other word.
  explicit CUnitSysDlg(std::int32_t modeWord);
  int selected() const { return selected_; }
  void select(int index) { selected_ = (index >= 0 && index < 6) ? index : selected_; }
  // OK: the new mode word (the old one when nothing is selected).
  std::int32_t ok(std::int32_t current) const { return selected_ < 0 ? current : choices()[selected_].word; }

 private:
  int selected_ = -1;
};

}  // namespace kvr
