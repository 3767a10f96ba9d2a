#pragma once
// TARN-C north-seeking gyro: 24 data bytes per frame, every word low byte first.
//
//   0-1   control word: bit 0 the slot word is a new special-data item, bits 1-3 the tool
//         status, bits 4-6 the slot id (what bytes 22-23 carry), bits 7-15 zero
//   2-3   indexer count (unsigned)
//   4-21  six signed 24-bit raw readings in microvolts: gyro X, Y, Z, accelerometer X, Y, Z
//         (1 uV steps over +-8.388 V; the symmetry checks of the roll test need 15 uV)
//   22-23 the slot word, sub-commutated by the slot id:
//         0-4 a temperature (signed, 0.01 degC): accelerometer X, Y, Z, gyro XY, gyro Z
//         5   the acknowledge byte of the last command (low byte; 0: none)
//         6   the DTG motor step (signed) in the low byte, bit 8 the TURN-ON flag
//         7   one special-data item: a position-table word (status 10) or two IMU
//             bytes, the first in the low byte (status 12)
// The tool cycles the slots 0..6 and puts slot 5 or 7 in out of turn when it answers.

#include <cstdint>

#include "toolslib/wire/FieldCodec.h"

namespace tools::wire::tarnc {

inline constexpr std::uint16_t kSpecialItem = 0x0001;
inline constexpr std::uint16_t kStatusMask = 0x000E;
inline constexpr int kSlotShift = 4;
inline constexpr std::uint16_t kSlotMask = 0x0070;

enum Slot : std::uint8_t { kSlotTempAX, kSlotTempAY, kSlotTempAZ, kSlotTempGXY, kSlotTempGZ, kSlotAck, kSlotDtg, kSlotSpecial };
inline constexpr int kCycleSlots = 7;  // slots the tool sends in turn

enum Status : std::uint8_t {
  kNotReady = 0, kReady = 2, kMoving = 4, kRotating = 6, kTableTransfer = 10, kImuTransfer = 12
};

inline constexpr double kMicrovoltsPerMv = 1000.0;
inline constexpr double kTempStep = 0.01;  // degC per count
inline constexpr std::int32_t kRawMax = (1 << 23) - 1;
inline constexpr std::int32_t kRawMin = -(1 << 23);

struct Frame {
  std::uint16_t ctrl = 0;
  std::uint16_t angle = 0;
  std::int32_t raw[6] = {};  // uV: GX, GY, GZ, AX, AY, AZ
  std::uint16_t slotWord = 0;

  std::uint8_t status() const { return static_cast<std::uint8_t>(ctrl & kStatusMask); }
  std::uint8_t slot() const { return static_cast<std::uint8_t>((ctrl & kSlotMask) >> kSlotShift); }
  bool specialItem() const { return (ctrl & kSpecialItem) != 0; }
};

inline std::uint16_t controlWord(std::uint8_t status, std::uint8_t slot, bool specialItem) {
  return static_cast<std::uint16_t>((status & kStatusMask) | ((slot & 7u) << kSlotShift) | (specialItem ? kSpecialItem : 0));
}

[[gnu::always_inline]] inline Frame decodeFrame(const std::uint8_t* b) {
  Frame f;
  f.ctrl = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
  f.angle = static_cast<std::uint16_t>(b[2] | (b[3] << 8));
  for (int i = 0; i < 6; ++i) {
    const std::uint8_t* p = b + 4 + 3 * i;
    const std::uint32_t u = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16);
    f.raw[i] = static_cast<std::int32_t>(u ^ 0x800000u) - 0x800000;  // sign of bit 23
  }
  f.slotWord = static_cast<std::uint16_t>(b[22] | (b[23] << 8));
  return f;
}

// Raw readings beyond the 24-bit range are clamped, as the converter saturates.
inline void encodeFrame(const Frame& f, std::uint8_t* b) {
  b[0] = static_cast<std::uint8_t>(f.ctrl & 0xFF);
  b[1] = static_cast<std::uint8_t>(f.ctrl >> 8);
  b[2] = static_cast<std::uint8_t>(f.angle & 0xFF);
  b[3] = static_cast<std::uint8_t>(f.angle >> 8);
  for (int i = 0; i < 6; ++i) {
    const std::int32_t v = f.raw[i] > kRawMax ? kRawMax : f.raw[i] < kRawMin ? kRawMin : f.raw[i];
    const auto u = static_cast<std::uint32_t>(v) & 0xFFFFFFu;
    b[4 + 3 * i] = static_cast<std::uint8_t>(u & 0xFF);
    b[5 + 3 * i] = static_cast<std::uint8_t>((u >> 8) & 0xFF);
    b[6 + 3 * i] = static_cast<std::uint8_t>(u >> 16);
  }
  b[22] = static_cast<std::uint8_t>(f.slotWord & 0xFF);
  b[23] = static_cast<std::uint8_t>(f.slotWord >> 8);
}

// The family's field table for the generic decoder: the words it reads before the 24-bit
// readings are taken apart in the family itself.
enum : int { kCtrl, kAngle, kSlotWord, kFieldCount };
inline constexpr Field kFields[] = {
    {"CTRL", 0, Kind::U16, Order::Little},
    {"ANGLE", 2, Kind::U16, Order::Little},
    {"SLOT", 22, Kind::U16, Order::Little},
};
inline constexpr std::uint8_t kBlocks[] = {8, 8, 8};
inline constexpr Layout kLayout{"TARN_C", 227, 24, kFields, kBlocks};

}  // namespace tools::wire::tarnc
