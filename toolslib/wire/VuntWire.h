#pragma once
// VUNT memory gauge: status byte, flags, live pressure and temperature, and a payload slot
// of 15 bytes (bytes 9-23) that carries downloaded data; the payload index says where
// those bytes belong.
#include "toolslib/wire/FieldCodec.h"

namespace tools::wire::vunt {
enum : int { kControl, kFlags, kPressure, kTemp, kPayloadIndex, kFieldCount };
inline constexpr Field kFields[] = {
    {"CTRL", 0, Kind::U8},
    {"FLAGS", 1, Kind::U8},                           // bit 0 ack, bit 1 frame skipped
    {"PRES", 2, Kind::U24, Order::Big, 0.001},        // psi
    {"TEMP", 5, Kind::U16, Order::Big, 0.01, -50.0},  // degC
    {"INDEX", 7, Kind::U16},
};
inline constexpr std::size_t kPayloadOffset = 9;
inline constexpr std::size_t kPayloadBytes = 15;
inline constexpr std::uint8_t kFlagAck = 0x01;
inline constexpr std::uint8_t kFlagFrameSkip = 0x02;
inline constexpr std::uint8_t kBlocks[] = {8, 8, 8};
inline constexpr Layout kLayout{"VUNT", 240, 24, kFields, kBlocks};
}  // namespace tools::wire::vunt
