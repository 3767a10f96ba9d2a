#include "common/presentation/PaperHeadings.h"

#include <algorithm>

namespace presentation {

int headingBlockHeight(const CFormat& format) {
  int running = 0, largest = 0;
  for (const auto& t : format.tracks) {
    if (!t.overlap) running = 0;
    for (const auto& c : t.curves) {
      if (!c.enabled) continue;
      running += std::max(c.labelHeight, 0);
      largest = std::max(largest, running);
    }
  }
  return largest;
}

void drawHeadingBlock(platform::Canvas& canvas, TrackRenderer& renderer, const CFormat& format, int edgeY,
                      HeadingStack stack) {
  for (const auto& t : format.tracks)
    for (const auto& c : t.curves) {
      if (!c.enabled) continue;
      // The label position already carries the stack of the overlapped tracks before it.
      const int box = stack == HeadingStack::TowardLargerY ? edgeY + c.labelPosition
                                                           : edgeY - c.labelPosition - c.labelHeight;
      renderer.drawHeading(canvas, t, c, box);
    }
}

}  // namespace presentation
