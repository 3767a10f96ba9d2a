#pragma once
// The presentation file: &FORMAT, &TRACK, &CURVE blocks ending with &END, as text.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/presentation/Format.h"

namespace presentation {

constexpr std::size_t kMaxFormats = 15;

struct PresentationRead {
  enum class Outcome {
    Valid,    // end of file met after at least one curve
    Invalid,  // end of file met in any other state; nothing of it is to be kept
    Stopped,  // "&END" (or a format beyond the free slots) before the end: no validity check
  };
  Outcome outcome = Outcome::Invalid;
  std::vector<CFormat> formats;
};

// Reads at most freeSlots formats. Label positions are stacked across the whole read.
PresentationRead readPresentation(std::string_view text, std::size_t freeSlots = kMaxFormats);

// Every format, track and curve, in order, with CR LF line ends and a final "&END".
std::string writePresentation(const std::vector<CFormat>& formats);

}  // namespace presentation
