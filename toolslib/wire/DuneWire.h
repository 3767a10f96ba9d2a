#pragma once
// DUNE spinner: impeller speed, turning direction, fluid temperature and status.
#include "toolslib/wire/FieldCodec.h"

namespace tools::wire::dune {
enum : int { kSpin, kDirection, kTemp, kStatus, kFieldCount };
inline constexpr Field kFields[] = {
    {"SPIN", 0, Kind::U16, Order::Big, 0.01},  // rps
    {"DIR", 2, Kind::U8},                      // 0 forward, 1 reverse
    {"TEMP", 3, Kind::I16, Order::Big, 0.01},  // degC
    {"STATUS", 5, Kind::U8},
};
inline constexpr std::uint8_t kBlocks[] = {6};
inline constexpr Layout kLayout{"DUNE", 230, 6, kFields, kBlocks};
}  // namespace tools::wire::dune
