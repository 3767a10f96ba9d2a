#pragma once
// What a format needs when a log starts: its curves bound to the channels of the sample
// row, reversed scales normalised, and each sample row turned into a value record.

#include <span>
#include <vector>

#include "common/presentation/Format.h"
#include "common/records/ChannelStruct.h"

namespace presentation {

// The first channel whose name equals the curve name (exactly) enables the curve and
// gives it that channel's column and "[units]"; a curve without one is disabled.
void bindChannels(CFormat& format, std::span<const records::ChannelStruct> channels);

// A curve whose left value is greater than its right value gets them exchanged and its
// reverse flag set; the others get the flag cleared.
void normaliseReversed(CFormat& format);

// Entry 0 the depth (row column 0), then each enabled curve's column; a column beyond the
// row is a missing reading.
void valueRecord(const CFormat& format, std::span<const float> row, std::vector<float>& out);

}  // namespace presentation
