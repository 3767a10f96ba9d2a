#pragma once
// The utilities as the program opens them on a logging station.

#include "kvr/app/LoggingStation.h"
#include "kvr/utilities/CKvrToAscii.h"
#include "platform/Paths.h"

namespace kvr {

// The converter starts in the session folder (the data folder without a session) and refuses
// the data file a running log or playback is writing.
void prepareConverter(utilities::CKvrToAscii& converter, LoggingStation& station, const platform::Paths& paths);

}  // namespace kvr
