#pragma once
// TARN rate gyro: three gyro rates, three accelerations, gyro temperature and housekeeping,
// all multi-byte fields high byte first.
#include "toolslib/wire/FieldCodec.h"

namespace tools::wire::tarn {
enum : int { kGyroX, kGyroY, kGyroZ, kAccX, kAccY, kAccZ, kTempG, kVolt, kMotor, kStatus, kSeq, kFieldCount };
inline constexpr Field kFields[] = {
    {"GYROX", 0, Kind::I16, Order::Big, 0.05},    // deg/h
    {"GYROY", 2, Kind::I16, Order::Big, 0.05},
    {"GYROZ", 4, Kind::I16, Order::Big, 0.05},
    {"ACCX", 6, Kind::I16, Order::Big, 0.0001},   // g
    {"ACCY", 8, Kind::I16, Order::Big, 0.0001},
    {"ACCZ", 10, Kind::I16, Order::Big, 0.0001},
    {"TEMPG", 12, Kind::I16, Order::Big, 0.01},   // degC
    {"VOLT", 14, Kind::U8, Order::Big, 0.2},      // V
    {"MOTOR", 15, Kind::U16},                     // rpm of the gyro wheel
    {"STATUS", 17, Kind::U8},
    {"SEQ", 18, Kind::U8},
};
inline constexpr std::uint8_t kBlocks[] = {8, 8, 3};
inline constexpr Layout kLayout{"TARN", 220, 19, kFields, kBlocks};
}  // namespace tools::wire::tarn
