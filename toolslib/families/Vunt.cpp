#include "toolslib/families/Vunt.h"

#include <algorithm>

#include "toolslib/ParameterBuilder.h"
#include "toolslib/calibration/TransferFrame.h"
#include "toolslib/wire/VuntWire.h"

namespace tools {
namespace {
constexpr ChannelDef kChannels[] = {
    {"VPRES", Quantity::Pressure, ""}, {"VTEMP", Quantity::Temperature, ""},
    {"VCTRL", Quantity::None, ""}, {"VMODE", Quantity::None, ""},
};
}

Vunt::Vunt(Globals& globals) : FamilyBase(globals, wire::vunt::kLayout, wire::decodeFixed<wire::vunt::kLayout>, kChannels, 4) {}

void Vunt::decodeRow(const std::uint8_t* bytes, const double* v, float* out, const FrameContext&) {
  namespace w = wire::vunt;
  // The stored-calibration text the gauge sends after 0x66 outside a calibration run: no
  // status in it (the VUNT status byte never has bit 0x40).
  if (!cal::decodeTransfer(std::span(bytes, dataBytes()))) {
    const auto control = static_cast<std::uint8_t>(v[w::kControl]);
    const auto flags = static_cast<std::uint8_t>(v[w::kFlags]);
    globals_.VUNTControl = control;
    globals_.VUNTPressure = unitOf(0).apply(v[w::kPressure]);
    globals_.VUNTTemperature = unitOf(1).apply(v[w::kTemp]);
    if (flags & w::kFlagAck) globals_.VUNTACKReceived = true;
    if (flags & w::kFlagFrameSkip) globals_.VUNTFrameSkip = true;
    const std::size_t n = std::min<std::size_t>(flags >> w::kPayloadCountShift, w::kPayloadBytes);
    if (n > 0)
      takePayload((control & w::kModeMask) >> w::kModeShift, static_cast<std::size_t>(v[w::kPayloadIndex]),
                  bytes + w::kPayloadOffset, n, (flags & w::kFlagLastChunk) != 0);
  }
  const std::uint8_t control = globals_.VUNTControl;
  out[0] = static_cast<float>(globals_.VUNTPressure);
  out[1] = static_cast<float>(globals_.VUNTTemperature);
  out[2] = static_cast<float>(control);
  out[3] = static_cast<float>((control & 0x38) >> 3);
}

void Vunt::takePayload(int mode, std::size_t index, const std::uint8_t* payload, std::size_t n, bool last) {
  namespace w = wire::vunt;
  // Copies into a block of `size` bytes; false when the chunk does not fit it.
  auto put = [&](std::uint8_t* block, std::size_t size) {
    if (index > size || n > size - index) return false;
    std::copy(payload, payload + n, block + index);
    return true;
  };
  if (mode == w::kModeHalfA || mode == w::kModeHalfB) {
    const bool b = mode == w::kModeHalfB;
    const std::size_t size = b ? vunt::kHalfBBytes : vunt::kHalfABytes;
    if (index == 0) globals_.VUNTHalfReceived = 0;
    if (!put(globals_.VUNTDataPage.data() + (b ? vunt::kHalfABytes : 0), size)) return;
    globals_.VUNTHalfReceived += n;
    const bool whole = last && index + n == size && globals_.VUNTHalfReceived == size;
    globals_.VUNTDataTransferStatus = whole ? 2 : 1;
    return;
  }
  if (index == 0) blockReceived_ = 0;
  bool fits = false;
  switch (mode) {
    case w::kModeCalibration: fits = put(globals_.VUNTCalibration.bytes.data(), vunt::kCalibrationBytes); break;
    case w::kModeProgram: fits = put(globals_.VUNTProgramBuffer.data(), vunt::kProgramCapacity); break;
    case w::kModeJobTable:
      if (index == 0) jobTableBytes_.fill(0);
      fits = put(jobTableBytes_.data(), jobTableBytes_.size());
      break;
    default: return;
  }
  if (!fits) return;
  blockReceived_ += n;
  if (mode == w::kModeJobTable) {
    // Words high byte first, from the bytes gathered so far: the words this chunk touched.
    for (std::size_t word = index / 2; word < (index + n + 1) / 2; ++word)
      globals_.VUNTJobFat[word] =
          static_cast<std::uint16_t>(jobTableBytes_[2 * word] << 8 | jobTableBytes_[2 * word + 1]);
  }
  if (!last || blockReceived_ != index + n) return;
  switch (mode) {
    case w::kModeCalibration: globals_.VUNTCalibrationLoaded = blockReceived_ == vunt::kCalibrationBytes; break;
    case w::kModeProgram:
      globals_.VUNTProgramLength = blockReceived_;
      globals_.VUNTProgramLoaded = true;
      break;
    case w::kModeJobTable: globals_.VUNTJobFatLoaded = true; break;
    default: break;
  }
}

void Vunt::resetState() { blockReceived_ = 0; }

void ResetDataIndex(Globals& globals) { globals.VUNTHalfReceived = 0; }

std::vector<records::ToolParameterS> Vunt::defaultParameters() const {
  using namespace params;
  return {
      surfaceValue("GAUGESN", "Memory gauge serial number", 0.0f, ""),
      surfaceChoice("PRANGE", "Pressure sensor range", {{"5000 PSI", 5000}, {"10000 PSI", 10000}, {"15000 PSI", 15000}}, 1),
      surfaceValue("BATTWARN", "Battery warning level", 6.8f, "VOLT"),
  };
}


}  // namespace tools
