#pragma once
// PLOV cable-head tension sub: signed tension and a status word.
#include "toolslib/wire/FieldCodec.h"

namespace tools::wire::plov {
enum : int { kTension, kStatus, kFieldCount };
inline constexpr Field kFields[] = {
    {"TENS", 0, Kind::I16},  // lb
    {"STATUS", 2, Kind::U16},
};
inline constexpr std::uint8_t kBlocks[] = {4};
inline constexpr Layout kLayout{"PLOV", 252, 4, kFields, kBlocks};
}  // namespace tools::wire::plov
