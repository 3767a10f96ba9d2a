#include "common/records/SystemMode.h"

namespace records {

double depthStep(std::int32_t modeWord) {
  switch (modeWord) {
    case 9: return 0.25;
    case 5: return 0.5;
    case 1: return 1.0;
    case 10: return 0.1;
    case 6: return 0.2;
    case 2: return 0.3;
    default: return 0.25;
  }
}

}  // namespace records
