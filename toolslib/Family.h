#pragma once
// One tool family of the TOOLS library. KVR calls these in the documented order: channels
// for a new string, parameter defaults, init, depth offsets, then per frame processData and
// after each kept depth-log row the shift; calibration calls come from the calibration
// dialog only; freeAllDynamicMem before a string is replaced and at exit.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "common/records/ChannelStruct.h"
#include "common/records/ToolParameter.h"

class CNavikor;

namespace tools {

// What the dispatch knows about the frame beyond its bytes. SEVO uses the current depth,
// TARN-C the frames elapsed since the previous frame and the program's Navikor object
// (null: the library's own).
struct FrameContext {
  double currentDepth = 0;
  float framesElapsed = 1;
  CNavikor* navikor = nullptr;
};

class Family {
 public:
  virtual ~Family() = default;

  virtual std::uint8_t code() const = 0;
  // The family name of the function names: "BRIX", "TARN_B", ...
  virtual std::string_view name() const = 0;
  virtual std::uint32_t dataBytes() const = 0;
  virtual std::uint32_t rowFloats() const = 0;

  // The family's channel entries (tool code set, base column 0, index 0..n-1), with unit
  // texts for the current system units; appended to `list`.
  virtual void addDataChannels(records::ChannelList& list) const = 0;

  // Decodes the tool's bytes at ring[(readIndex + toolOffset + i) & DataBuffSize] and writes
  // exactly rowFloats() values at *rowPointer, advancing it one float per value and wrapping
  // to ringStart past ringEnd (the ring's last float). Returns the frame bytes consumed.
  virtual std::uint32_t processData(std::span<const std::uint8_t> ring, std::uint32_t readIndex,
                                    std::uint32_t toolOffset, float** rowPointer, float* ringStart,
                                    float* ringEnd, const FrameContext& context) = 0;

  // The family's parameter array, owned here; callers read and edit it in place.
  virtual std::vector<records::ToolParameterS>& getParameterList() = 0;
  // Without a source (the usual call): back to the defaults. With one and useSource set:
  // copies it when its length matches, and answers whether it did.
  virtual bool loadParameterList(std::span<const records::ToolParameterS> source = {}, bool useSource = false) = 0;

  virtual void init() = 0;

  // BRIX, DUNE, SEVO, QUIL, HAVO: the sensor's place in the string, all in millimetres.
  // referenceMm is the string's reference offset so far (0 or less: none yet), distanceMm the
  // distance from the bottom of the string to the bottom of this tool, stepMm the depth step.
  // Returns the measure point above the tool's bottom.
  virtual bool hasDepthOffset() const { return false; }
  virtual float setDepthOffset(float referenceMm, float distanceMm, float stepMm) {
    (void)referenceMm; (void)distanceMm; (void)stepMm;
    return 0;
  }
  // After each kept row of a depth log (and each gap-filling copy).
  virtual void shiftSensorData() {}
  virtual void shiftSensorDataLogUp() { shiftSensorData(); }
  virtual void shiftSensorDataLogDown() { shiftSensorData(); }

  // Correction tables of the gyro tools (TARN reserves one, TARN-B and TARN-C report theirs).
  virtual void reserveCorrectionTable() {}
  virtual bool correctionTableActive() const { return false; }
  virtual void destroyCorrectionTable() {}

  // TARN keeps its raw frames while a depth log runs.
  virtual void saveRawData(std::span<const std::uint8_t> ring, std::uint32_t readIndex, std::uint32_t toolOffset,
                           double depth) {
    (void)ring; (void)readIndex; (void)toolOffset; (void)depth;
  }

  // Playback: recomputes the tool's values in place from the raw readings the same row
  // recorded, with the parameters as they stand now. `block` starts at the tool's first
  // column and holds rowFloats() values; false when the family keeps no raw readings.
  virtual bool recomputeRaw(std::span<float> block) {
    (void)block;
    return false;
  }

  // Calibrations: empty for families without any.
  virtual std::vector<records::ToolCalS>& getCalList() = 0;
  virtual void loadCalList() = 0;
  // One step of a calibration; 0 ends it. The procedures come with the calibration work.
  virtual int executeCal(unsigned calNumber, unsigned step, unsigned* status, char* text) {
    (void)calNumber; (void)step; (void)status; (void)text;
    return 0;
  }

  virtual void freeAllDynamicMem() = 0;
};

}  // namespace tools
