#include "kvr/app/CKVROptionsDlg.h"

#include "kvr/core/SettingKeys.h"

namespace kvr {

std::uint16_t CKVROptionsDlg::ok(platform::Settings& settings) const {
  std::uint16_t f = flags_ & ~(kLoadLatestMonitorFile | kLoadPresentationFormats | kRearrangeAllWindows);
  if (loadMonitor) f |= kLoadLatestMonitorFile;
  if (loadFormats) f |= kLoadPresentationFormats;
  if (rearrange) f |= kRearrangeAllWindows;
  settings.setInt(keys::kOptions, keys::kStartUp, f);
  return f;
}

}  // namespace kvr
