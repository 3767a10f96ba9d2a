#pragma once
// BRIX collar locator: four coil samples per frame (unsigned, quiet baseline 127) and the
// electronics temperature.
#include "toolslib/wire/FieldCodec.h"

namespace tools::wire::brix {
enum : int { kCcl1, kCcl2, kCcl3, kCcl4, kTemp, kFieldCount };
inline constexpr Field kFields[] = {
    {"CCL1", 0, Kind::U8}, {"CCL2", 1, Kind::U8}, {"CCL3", 2, Kind::U8}, {"CCL4", 3, Kind::U8},
    {"TEMP", 4, Kind::U8, Order::Big, 0.5, -20.0},  // degC
};
inline constexpr std::uint8_t kBlocks[] = {3, 2};
inline constexpr Layout kLayout{"BRIX", 210, 5, kFields, kBlocks};
}  // namespace tools::wire::brix
