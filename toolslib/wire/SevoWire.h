#pragma once
// SEVO pressure and temperature: quartz pressure and its frequency, fluid and gauge
// temperatures, supply and status.
#include "toolslib/wire/FieldCodec.h"

namespace tools::wire::sevo {
enum : int { kPressure, kTemp, kGaugeTemp, kVolt, kStatus, kSeq, kFrequency, kFieldCount };
inline constexpr Field kFields[] = {
    {"PRES", 0, Kind::U32, Order::Big, 0.0001},  // psi
    {"TEMP", 4, Kind::I16, Order::Big, 0.01},    // degC
    {"PGTEMP", 6, Kind::I16, Order::Big, 0.01},  // degC
    {"VOLT", 8, Kind::U8, Order::Big, 0.1},      // V
    {"STATUS", 9, Kind::U8},
    {"SEQ", 10, Kind::U16},
    {"PFREQ", 12, Kind::U32, Order::Big, 0.001}, // Hz
};
inline constexpr std::uint8_t kBlocks[] = {8, 8};
inline constexpr Layout kLayout{"SEVO", 232, 16, kFields, kBlocks};
}  // namespace tools::wire::sevo
