#pragma once
// "KVR Options": the three start-up options.

#include <cstdint>

#include "kvr/core/ProgramSettings.h"
#include "platform/Settings.h"

namespace kvr {

class CKVROptionsDlg {
 public:
  explicit CKVROptionsDlg(std::uint16_t flags)
      : loadMonitor(flags & kLoadLatestMonitorFile), loadFormats(flags & kLoadPresentationFormats),
        rearrange(flags & kRearrangeAllWindows), flags_(flags) {}

  bool loadMonitor;  // "Load Latest Monitor File"
  bool loadFormats;  // "Load Presentation Formats"
  bool rearrange;    // "Re-Arrange All Windows"

  // OK: the new flags, also written to "Options"/"StartUp". Bits above the three boxes are kept.
  std::uint16_t ok(platform::Settings& settings) const;

 private:
  std::uint16_t flags_;
};

}  // namespace kvr
