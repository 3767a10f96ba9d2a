#include "kvr/app/CUnitSysDlg.h"

namespace kvr {

const std::array<CUnitSysDlg::Choice, 6>& CUnitSysDlg::choices() {
  static const std::array<Choice, 6> list{{{"English Hi Resolution", 9},
                                           {"English Medium Resolution", 5},
                                           {"English Low Resolution", 1},
                                           {"Metric Hi Resolution", 10},
                                           {"Metric Medium Resolution", 6},
                                           {"Metric Low Resolution", 2}}};
  return list;
}

CUnitSysDlg::CUnitSysDlg(std::int32_t modeWord) {
  for (std::size_t i = 0; i < choices().size(); ++i) {
    if (choices()[i].word == modeWord) selected_ = static_cast<int>(i);
  }
}

}  // namespace kvr
