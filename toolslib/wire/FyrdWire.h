#pragma once
// FYRD three-arm caliper: one byte per arm.
#include "toolslib/wire/FieldCodec.h"

namespace tools::wire::fyrd {
enum : int { kArm1, kArm2, kArm3, kFieldCount };
inline constexpr Field kFields[] = {
    {"ARM1", 0, Kind::U8, Order::Big, 0.04},  // inch
    {"ARM2", 1, Kind::U8, Order::Big, 0.04},
    {"ARM3", 2, Kind::U8, Order::Big, 0.04},
};
inline constexpr std::uint8_t kBlocks[] = {3};
inline constexpr Layout kLayout{"FYRD", 254, 3, kFields, kBlocks};
}  // namespace tools::wire::fyrd
