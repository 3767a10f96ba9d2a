#pragma once
// QUIL gamma ray: counts in the frame window, detector high voltage, temperature, status.
#include "toolslib/wire/FieldCodec.h"

namespace tools::wire::quil {
enum : int { kCounts, kHighVoltage, kTemp, kStatus, kFieldCount };
inline constexpr Field kFields[] = {
    {"COUNTS", 0, Kind::U16},                 // counts per frame (1/15 s)
    {"HV", 2, Kind::U16, Order::Big, 0.5},    // V
    {"TEMP", 4, Kind::I8},                    // degC
    {"STATUS", 5, Kind::U8},
};
inline constexpr std::uint8_t kBlocks[] = {6};
inline constexpr Layout kLayout{"QUIL", 235, 6, kFields, kBlocks};
}  // namespace tools::wire::quil
