#pragma once
// TARN-B two-axis gyro: raw gyro and accelerometer voltages, temperatures and housekeeping,
// high byte first.
#include "toolslib/wire/FieldCodec.h"

namespace tools::wire::tarnb {
enum : int { kRawGX, kRawGY, kRawAX, kRawAY, kRawAZ, kTempG, kTempA, kSupply, kStatus, kSeq, kMotor, kHeater, kFieldCount };
inline constexpr Field kFields[] = {
    {"RAWGX", 0, Kind::I16, Order::Big, 0.001},   // mV
    {"RAWGY", 2, Kind::I16, Order::Big, 0.001},
    {"RAWAX", 4, Kind::I16, Order::Big, 0.1},     // mV
    {"RAWAY", 6, Kind::I16, Order::Big, 0.1},
    {"RAWAZ", 8, Kind::I16, Order::Big, 0.1},
    {"TEMPG", 10, Kind::I16, Order::Big, 0.01},   // degC
    {"TEMPA", 12, Kind::I16, Order::Big, 0.01},
    {"SUPPLY", 14, Kind::U16, Order::Big, 0.01},  // V
    {"STATUS", 16, Kind::U16},
    {"SEQ", 18, Kind::U16},
    {"MOTOR", 20, Kind::U16},                     // rpm
    {"HEATER", 22, Kind::U16, Order::Big, 0.1},   // mA
};
inline constexpr std::uint8_t kBlocks[] = {8, 8, 8};
inline constexpr Layout kLayout{"TARN_B", 224, 24, kFields, kBlocks};
}  // namespace tools::wire::tarnb
