#pragma once
// VUNT memory gauge: status byte, flags, live pressure and temperature, and a payload slot
// of 15 bytes (bytes 9-23) that carries uploaded data; the payload index says where
// those bytes belong in the block the gauge mode names (3 calibration, 4 program, 5 and 6
// the halves of a data page, 7 the job table). The flags give the number of payload bytes
// (high nibble) and mark the block's last chunk. Control bit 0x40 is always 0, so a
// calibration-transfer frame (first byte 0xCA) never reads as a status byte.
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
inline constexpr std::uint8_t kFlagLastChunk = 0x04;
inline constexpr int kPayloadCountShift = 4;
inline constexpr std::uint8_t kLinkUp = 0x80;
inline constexpr std::uint8_t kModeMask = 0x38;
inline constexpr int kModeShift = 3;
enum Mode : int { kModeWait, kModeLooking, kModeOnline, kModeCalibration, kModeProgram, kModeHalfA, kModeHalfB,
                  kModeJobTable };
inline constexpr std::uint8_t kBlocks[] = {8, 8, 8};
inline constexpr Layout kLayout{"VUNT", 240, 24, kFields, kBlocks};
}  // namespace tools::wire::vunt
