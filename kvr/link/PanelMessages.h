#pragma once
// The texts of the panel protocol's error codes.

#include <cstdint>

namespace kvr::panel_text {

inline constexpr const char* kOpenFailed = "Error While Opening USB Port\nPlease check the USB cable is properly connected";
inline constexpr const char* kInitFailed = "Error While Initializing Surface Telemetry Panel";
inline constexpr const char* kNoPing = "USB Interface didn't PING answer !\nCheck your USB port";
inline constexpr const char* kNoCommunication =
    "USB Interface failed to comunicate !\nPlease check the USB cable is properly connected";
inline constexpr const char* kUnknown = "Unknown USB port error";

}  // namespace kvr::panel_text
