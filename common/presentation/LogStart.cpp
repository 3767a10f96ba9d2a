#include "common/presentation/LogStart.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace presentation {

void bindChannels(CFormat& format, std::span<const records::ChannelStruct> channels) {
  for (auto& t : format.tracks)
    for (auto& c : t.curves) {
      c.enabled = false;
      for (const auto& ch : channels) {
        if (ch.mnemonic != c.name) continue;
        c.enabled = true;
        // A column past any row reads as missing.
        c.channelIndex = static_cast<std::uint32_t>(std::min<std::uint64_t>(ch.column(), UINT32_MAX));
        c.units = ch.unit.empty() ? std::string() : "[" + ch.unit + "]";
        break;
      }
    }
}

void normaliseReversed(CFormat& format) {
  for (auto& t : format.tracks)
    for (auto& c : t.curves) {
      c.reverse = c.leftValue > c.rightValue;
      if (c.reverse) std::swap(c.leftValue, c.rightValue);
    }
}

void valueRecord(const CFormat& format, std::span<const float> row, std::vector<float>& out) {
  out.clear();
  out.push_back(row.empty() ? 0.0f : row[0]);
  for (const auto& t : format.tracks)
    for (const auto& c : t.curves)
      if (c.enabled) out.push_back(c.channelIndex < row.size() ? row[c.channelIndex] : kMissingValue);
}

}  // namespace presentation
