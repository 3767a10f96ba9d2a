#pragma once
// The calibration procedures the families share, as step machines for the program's
// calibration engine (codes and steps in docs/CALIBRATION.md):
//  - transfer: calibration 1 of every family with procedures, the tool's stored
//    calibration read through its frames;
//  - reference: the tool in a reference state (still, a bath, no flow) at one or two
//    points, the chosen fields averaged over a number of frames while the frames arrive,
//    and the result accepted into the parameters or discarded.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "common/records/ToolParameter.h"
#include "toolslib/Globals.h"
#include "toolslib/calibration/TransferFrame.h"

namespace tools::cal {

// Step codes of the engine.
enum Code : int {
  kEnd = 0, kAsk = 1, kShow = 2, kOpenFile = 3, kSaveFile = 4, kWait = 5, kSend = 6, kAskBetween = 7,
  kAccept = 8, kMeasure = 255
};
inline constexpr unsigned kStatusEnd = 0xFF02;
inline constexpr std::size_t kTextBytes = 1024;  // the engine's buffer holds at least this much

struct Point {
  const char* prompt;  // "Place the tool ..."
};

struct ReferencePlan {
  std::vector<Point> points;        // one or two
  std::vector<int> fields;          // the decoded fields averaged
  std::vector<const char*> names;   // their names in the texts
  const char* unit = "";
  int frames = 45;                  // three seconds of frames per point
  int settle = 8;                   // frames skipped first: sent before the tool took its state
};

// Per point, the mean and the standard deviation of each field.
struct ReferenceResult {
  std::vector<std::vector<double>> mean, noise;
};

class CalibrationKit {
 public:
  // The family's accept: writes the parameters and says what changed; a check without
  // parameters only describes the result. `accepted` false: discarded.
  using Accept = std::function<std::string(const ReferenceResult&, bool accepted)>;

  // Called with every frame of the tool while telemetry runs: transfer frames and the
  // reference counts. True when the frame was a transfer frame (its readings are not).
  bool onFrame(std::span<const std::uint8_t> bytes, const double* values, Globals& globals);

  int transfer(std::uint8_t address, unsigned step, unsigned* status, char* text, Globals& globals);
  int reference(const ReferencePlan& plan, const Accept& accept, std::uint8_t address, unsigned step,
                unsigned* status, char* text, Globals& globals);

  // The last stored calibration read from the tool (text).
  const std::string& stored() const { return stored_; }
  void reset();

 private:
  TransferCollector transfer_;
  bool listening_ = false, requested_ = false;
  std::string stored_;
  // Reference counting.
  std::vector<int> fields_;
  int target_ = 0, counted_ = 0, settle_ = 0;
  std::vector<double> sum_, sumSq_;
  ReferenceResult result_;
};

// Writes a text into the engine's buffer (cut to its size, always ended).
int put(char* text, const std::string& s, int code);
// "MNEMONIC old -> new UNIT" and a line end, the value with `decimals`; the parameter takes
// the new value when the result is accepted.
std::string changeParameter(records::ToolParameterS& p, double value, bool accepted, int decimals = 4);
// A downhole message into the buffer: [n, bytes...].
int putMessage(char* text, std::initializer_list<std::uint8_t> bytes, int code);

}  // namespace tools::cal
