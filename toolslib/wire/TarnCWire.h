#pragma once
// TARN-C north-seeking gyro: three raw gyro and three raw accelerometer voltages, the tool's
// control word and indexer count, five sensor temperatures, the last acknowledge and one
// special-data word (indexer table or IMU bytes while the tool sends them). This generation
// sends its words low byte first.
#include "toolslib/wire/FieldCodec.h"

namespace tools::wire::tarnc {
enum : int {
  kRawGX, kRawGY, kRawGZ, kRawAX, kRawAY, kRawAZ, kCtrl, kAngle,
  kTempAX, kTempAY, kTempAZ, kTempGXY, kTempGZ, kAck, kSpecial, kFieldCount
};
inline constexpr Field kFields[] = {
    {"RAWGX", 0, Kind::I16, Order::Little, 0.001},  // mV
    {"RAWGY", 2, Kind::I16, Order::Little, 0.001},
    {"RAWGZ", 4, Kind::I16, Order::Little, 0.001},
    {"RAWAX", 6, Kind::I16, Order::Little, 0.1},    // mV
    {"RAWAY", 8, Kind::I16, Order::Little, 0.1},
    {"RAWAZ", 10, Kind::I16, Order::Little, 0.1},
    {"CTRL", 12, Kind::U16, Order::Little},         // bit 0: special word valid; bits 1-3: status
    {"ANGLE", 14, Kind::U16, Order::Little},        // indexer count
    {"TEMPAX", 16, Kind::U8, Order::Big, 0.625, -10.0},  // degC
    {"TEMPAY", 17, Kind::U8, Order::Big, 0.625, -10.0},
    {"TEMPAZ", 18, Kind::U8, Order::Big, 0.625, -10.0},
    {"TEMPGXY", 19, Kind::U8, Order::Big, 0.625, -10.0},
    {"TEMPGZ", 20, Kind::U8, Order::Big, 0.625, -10.0},
    {"ACK", 21, Kind::U8},
    {"SPECIAL", 22, Kind::U16, Order::Little},
};
inline constexpr std::uint8_t kBlocks[] = {8, 8, 8};
inline constexpr Layout kLayout{"TARN_C", 227, 24, kFields, kBlocks};
}  // namespace tools::wire::tarnc
