#pragma once
// A tool parameter as a downhole message: its current value encoded into the message body
// as the record's encoding says, then the length byte and the body.

#include <cstdint>
#include <optional>
#include <vector>

#include "common/records/ToolParameter.h"

namespace kvr {

// Writes the value into the body (offsets 109.. of the record) by the record's encoding.
void encodeParameterValue(records::ToolParameterS& p);
// Whether the number to be encoded (the value, or a choice list's selected choice value) is
// finite and fits the record's encoding; a value that does not is refused, never cut.
bool parameterValueFits(const records::ToolParameterS& p);
// [n, body...]: the n + 1 bytes from offset 106 after encoding; nullopt for a surface-only
// parameter (n = 0), a length the record has no room for, or a value that does not fit.
std::optional<std::vector<std::uint8_t>> parameterMessage(records::ToolParameterS& p);

}  // namespace kvr
