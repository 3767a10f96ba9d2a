#pragma once
// The curve heading block of a printed log (above and below the rows) and of Pagemill's
// heading pane: every track's heading boxes stacked from the edge nearest the log, the
// first curve of a track nearest the log, overlapping tracks continuing the stack.

#include "common/presentation/Format.h"
#include "common/presentation/TrackRenderer.h"
#include "platform/Canvas.h"

namespace presentation {

// Running sums of the curves' label heights over the tracks, restarted at every track
// without overlap; the largest sum.
int headingBlockHeight(const CFormat& format);

enum class HeadingStack {
  TowardLargerY,   // paper above the log (y up): boxes rise from edgeY
  TowardSmallerY,  // paper below the log (y up) and the viewer's pane (y down): boxes go from edgeY to smaller y
};

// edgeY: the block's edge nearest the log.
void drawHeadingBlock(platform::Canvas& canvas, TrackRenderer& renderer, const CFormat& format, int edgeY,
                      HeadingStack stack);

}  // namespace presentation
