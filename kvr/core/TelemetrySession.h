#pragma once
// What a verified string at telemetry start sets for the TARN-C stations to come.

namespace kvr {

struct TelemetrySession {
  bool newSession = false;             // the first station opens the session files
  bool initializationPending = false;  // the tool is initialised before its first station
  int sessionNumber = 0;               // numbers the session files of the next stations
};

}  // namespace kvr
