#pragma once
// HAVO capacitance holdup tool on bow springs: probe frequency, temperature, the spring
// caliper and status.
#include "toolslib/wire/FieldCodec.h"

namespace tools::wire::havo {
enum : int { kFrequency, kTemp, kCaliper, kStatus, kFieldCount };
inline constexpr Field kFields[] = {
    {"FREQ", 0, Kind::U16, Order::Big, 0.01},  // kHz
    {"TEMP", 2, Kind::I16, Order::Big, 0.01},  // degC
    {"CAL", 4, Kind::U8, Order::Big, 0.05},    // inch
    {"STATUS", 5, Kind::U8},
};
inline constexpr std::uint8_t kBlocks[] = {6};
inline constexpr Layout kLayout{"HAVO", 243, 6, kFields, kBlocks};
}  // namespace tools::wire::havo
