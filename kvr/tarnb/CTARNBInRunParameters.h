#pragma once
// "TARN-B In Run Parameters": the well latitude and the high-side toolface range of the TARN-B
// parameter list (records 10 and 11) and the panel's outlier filter switch.

#include "platform/Prompter.h"
#include "toolslib/Library.h"

namespace kvr::tarnb {

class CTARNBInRunParameters {
 public:
  static constexpr double kLatitudeLimit = 80;
  // Reads the values as they stand.
  explicit CTARNBInRunParameters(tools::Library& library);

  double latitude = 0;           // "Well Latitude:", negative south
  bool filterDisabled = false;   // "Disable Filter (it's ENABLED by default)"
  int toolfaceRange = 0;         // 0: 0 to 360 degrees, 1: -180 to +180 degrees

  // "Aceptar": a latitude outside -80..80 is refused with a message and nothing changes.
  bool accept(platform::Prompter& prompter);

 private:
  tools::Library& library_;
};

}  // namespace kvr::tarnb
