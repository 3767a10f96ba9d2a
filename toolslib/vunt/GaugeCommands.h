#pragma once
// The VUNT memory gauge's command codes, the last byte of the downhole message
// [3, 240, 0, code]; a page request carries the page after it, high byte first.

#include <cstdint>

namespace tools::vunt::command {

inline constexpr std::uint8_t kPing = 0x65, kOnline = 0x66, kCalibration = 0x67, kPage = 0x68, kJobTable = 0x69,
                              kConnectA = 0x6A, kConnectB = 0x6B, kProgram = 0x6C, kNextPage = 0x6E, kHalfB = 0x6F,
                              kHalfAAgain = 0x70, kErase = 0x71, kGo = 0x72, kCheck = 0x73, kNewJob = 0x74,
                              kConnectC = 0x75;

}  // namespace tools::vunt::command
