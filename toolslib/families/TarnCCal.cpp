// The TARN-C calibrations of the calibration engine, numbered as the list shows them:
//  1 "Read Tool Calibration": the indexer's position table, the IMU frequency table and the
//    moving-detection thresholds read back from the tool, and the table in use;
//  2 "Load Calibration File" / 3 "Save Calibration File": a sensor correction table (".sct");
//  4 "Gyro Turn-On Test": the DTG motor's TURN-ON boost switched on and off again, each seen
//    in the tool's frames.
#include <cstdio>
#include <cstring>
#include <string>

#include "common/records/ToolCodes.h"
#include "toolslib/calibration/CalibrationKit.h"
#include "toolslib/families/TarnC.h"
#include "toolslib/wire/TarnCWire.h"

namespace tools {

namespace {

constexpr std::uint8_t kAddress = records::kTarnC;
constexpr std::uint8_t kReadPositions = 0x99, kReadFrequencyTable = 0xA6, kReadMovingDetection = 0xA7,
                       kMotorSpeed = 0x83;
constexpr std::uint8_t kTurnOnFlag = 0x40, kNegativeStep = 0x80;

int say(char* text, const std::string& s, int code = cal::kShow) { return text ? cal::put(text, s, code) : code; }

std::string format(const char* f, auto... values) {
  char s[160];
  std::snprintf(s, sizeof s, f, values...);
  return s;
}

std::uint8_t status(const Globals& g) { return static_cast<std::uint8_t>(g.TARNC_CtrlWord & wire::tarnc::kStatusMask); }

// The motor-speed command for a DTG step with or without the TURN-ON boost.
std::uint8_t motorSpeed(int step, bool turnOn) {
  const int magnitude = step < 0 ? -step : step;
  return static_cast<std::uint8_t>((magnitude & 0x3F) | (turnOn ? kTurnOnFlag : 0) | (step < 0 ? kNegativeStep : 0));
}

}  // namespace

std::vector<const char*> TarnC::calibrationNames() const {
  return {"Read Tool Calibration", "Load Calibration File", "Save Calibration File", "Gyro Turn-On Test"};
}

int TarnC::executeCal(unsigned calNumber, unsigned step, unsigned* status, char* text) {
  if (!status || !text) return cal::kEnd;
  switch (calNumber) {
    case 1: return readToolSetup(step, status, text);
    case 2: return loadOrSaveTable(true, step, status, text);
    case 3: return loadOrSaveTable(false, step, status, text);
    case 4: return turnOnTest(step, status, text);
    default: return cal::kEnd;
  }
}

int TarnC::awaitTool(std::initializer_list<std::uint8_t> message, bool answered, unsigned* status, char* text) {
  if (!calRequested_) {
    calRequested_ = true;
    globals_.TARNC_SpecialFrameDataCount = 0;
    *status = 1;
    return cal::putMessage(text, message, cal::kWait);
  }
  if (!answered) {
    *status = 2;
    return cal::kWait;
  }
  calRequested_ = false;
  *status = 0;
  return cal::kWait;
}

int TarnC::readToolSetup(unsigned step, unsigned* status, char* text) {
  namespace w = wire::tarnc;
  const Globals& g = globals_;
  // A request is answered once its items have come and the tool has left the sending status.
  auto received = [&](std::uint8_t sending, unsigned items) {
    return g.TARNC_SpecialFrameDataCount >= items && tools::status(g) != sending;
  };
  switch (step) {
    case 0:
      calRequested_ = false;
      return say(text, "Reading the tool's indexer table and IMU settings...\n");
    case 1: return awaitTool({kAddress, 0, kReadPositions}, received(w::kTableTransfer, 4), status, text);
    case 2: {
      const auto& t = g.TARNC_TDDataBuf;
      return say(text, format("Indexer positions: 0 deg %u, 90 deg %u, 180 deg %u, 270 deg %u\n", t[0], t[1], t[2], t[3]));
    }
    case 3: return awaitTool({kAddress, 0, kReadFrequencyTable}, received(w::kImuTransfer, 16), status, text);
    case 4: {
      std::string s = "IMU frequency table (degC,code):";
      for (int i = 0; i < 8; ++i) s += format(" %u,%u", g.TARNC_IMUDataBuf[2 * i], g.TARNC_IMUDataBuf[2 * i + 1]);
      return say(text, s + "\n");
    }
    case 5: return awaitTool({kAddress, 0, kReadMovingDetection}, received(w::kImuTransfer, 5), status, text);
    case 6: {
      const auto& b = g.TARNC_IMUDataBuf;
      std::string s = format("Moving detection: GyroX %u, GyroY %u, time window %u\n", b[0] + 256u * b[1],
                             b[2] + 256u * b[3], b[4]);
      s += kvrCal_ ? "Sensor correction table in use: SN " + kvrCal_->serial + ", " + kvrCal_->date + "\n"
                   : std::string("No sensor correction table is loaded.\n");
      return say(text, s);
    }
    default: return cal::kEnd;
  }
}

// A file dialog (code 3 or 4), then the result in the output window (code 2).
int TarnC::loadOrSaveTable(bool load, unsigned step, unsigned* status, char* text) {
  if (step == 0) {
    if (!load && !kvrCal_) return say(text, "No sensor correction table is loaded.\n");
    return load ? cal::kOpenFile : cal::kSaveFile;
  }
  if (step > 1) return cal::kEnd;
  const std::string path(text, strnlen(text, cal::kTextBytes));
  std::string error;
  bool ok = false;
  if (load) {
    ok = loadCorrectionTable(path, &error);
    if (ok) say(text, "Sensor correction table loaded: SN " + kvrCal_->serial + ", " + kvrCal_->date + "\n");
  } else {
    std::FILE* out = std::fopen(path.c_str(), "wbx");
    if (out) {
      const std::string sct = tarnc::formatSct(*kvrCal_);
      ok = std::fwrite(sct.data(), 1, sct.size(), out) == sct.size();
      ok = (std::fclose(out) == 0) && ok;
    }
    if (!out) error = path + " exists already or cannot be created";
    else if (!ok) error = "could not write " + path;
    if (ok) say(text, "Sensor correction table saved to " + path + "\n");
  }
  if (!ok) say(text, "Error: " + error + "\n");
  *status = 0;
  return cal::kShow;
}

int TarnC::turnOnTest(unsigned step, unsigned* status, char* text) {
  const Globals& g = globals_;
  const int dtg = g.TARNC_DTGFrequency;
  switch (step) {
    case 0:
      calRequested_ = false;
      return say(text, "Gyro turn-on test: the DTG motor's TURN-ON boost is switched on and off again.\n");
    case 1: return awaitTool({kAddress, 0, kMotorSpeed, motorSpeed(dtg, true)}, g.TARNC_TurnOnActive == 1, status, text);
    case 2:
      return say(text, format("TURN-ON active at DTG step %d (%.3f Hz)\n", dtg, 400 + dtg * 0.15625));
    case 3: return awaitTool({kAddress, 0, kMotorSpeed, motorSpeed(dtg, false)}, g.TARNC_TurnOnActive == 0, status, text);
    case 4: return say(text, "TURN-ON released. Gyro turn-on test: PASS\n");
    default: return cal::kEnd;
  }
}

}  // namespace tools
