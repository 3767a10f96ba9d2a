#pragma once
// The messages of playback.

#include "kvr/logging/LoggingMessages.h"

namespace kvr::msg {

inline constexpr Text kReplaceSession{
    "WARNING", "The actual session will be replaced by the one read from the playback file\nDo you want to continue ?"};
inline constexpr Text kNoPlaybackFile{"MESSAGE", "You must open a playback file first !"};
inline constexpr Text kPlaybackReadError{"FATAL ERROR",
                                         "Error while reading the playback file. Playback proccess will stop"};
inline constexpr const char* kPlaybackFileFilter = "KVR Data files (*.kvr)|*.kvr||";
// The output name of a playback that writes no file.
inline constexpr const char* kNotCreated = "Not Created";

}  // namespace kvr::msg
