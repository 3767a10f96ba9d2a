#pragma once
// Faults the simulated panel can be asked for by name, as trainees and tests ask for them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace panelsim {

// The TARN-C tool's own faults.
struct TarnCFaults {
  bool noAck = false;           // "tarnc-no-ack": commands are carried out but never acknowledged
  bool shortTable = false;      // "tarnc-short-table": the position table has three words
  bool endlessTable = false;    // "tarnc-endless-table": status 10 never ends
  bool equalCounts = false;     // "tarnc-equal-counts": the table gives 180 degrees the count of 0
  bool jammed = false;          // "tarnc-jammed": the indexer shows status 6 but never turns
  bool shortMove = false;       // "tarnc-short-move": moves stop 40 counts short
  bool slowMoves = false;       // "tarnc-slow-moves": the indexer turns at a fifth of its speed
  bool vibration = false;       // "tarnc-vibration": the tool vibrates (status 4, noisy sensors)
  bool imuSilent = false;       // "tarnc-imu-silent": the inertial pack sends nothing (status 0)
};

// The VUNT memory gauge's own faults.
struct GaugeFaults {
  bool noAck = false;               // "gauge-no-ack": commands are carried out but never acknowledged
  std::uint32_t stallHalfA = 0;     // "gauge-stall-half-a=N": the first N half-A transfers stop after three frames
  std::uint32_t dropHalfB = 0;      // "gauge-drop-half-b=N": the first N half-B requests go unanswered
  std::uint32_t deadAfterPage = 0;  // "gauge-dead-after-page=N": after N pages the gauge answers nothing
  bool linkDown = false;            // "gauge-link-down": the gauge's link is down; nothing is answered
  std::uint32_t frameSkip = 0;      // "gauge-frame-skip=N": every Nth payload frame is skipped (and flagged)
};

struct Faults {
  bool noPing = false;          // "no-ping": ping goes unanswered
  bool initError = false;       // "init-error": initialise is answered with 0xCC
  double dropBytes = 0;         // "drop-bytes=P": each telemetry byte is lost with probability P
  double corruptBytes = 0;      // "corrupt-bytes=P": each telemetry byte has one bit flipped with probability P
  std::uint32_t badDownholeCrc = 0;  // "bad-downhole-crc=N": every Nth frame carries a wrong downhole CRC
  std::uint32_t badPanelCrc = 0;     // "bad-panel-crc=N": every Nth frame carries a wrong panel CRC
  std::uint32_t cutFrames = 0;       // "cut-frames=N": every Nth frame stops short
  double stallAtS = -1, stallForS = 0;             // "stall=AT,FOR": silence for FOR s, AT s into the stream
  double disconnectAtS = -1, disconnectForS = 0;   // "disconnect=AT,FOR": the panel goes away for FOR s
  std::uint32_t badCommandCrc = 0;   // "reject-commands=N": every Nth command frame is treated as damaged
  bool silentCalibration = false;    // "silent-calibration": the tools never send their stored calibration
  TarnCFaults tarnc;
  GaugeFaults gauge;
};

// Applies one "NAME" or "NAME=VALUE" to faults; an error text when the name or value is wrong.
std::optional<std::string> applyFault(Faults& faults, std::string_view text);

// One line per fault for --help.
std::string faultHelp();

}  // namespace panelsim
