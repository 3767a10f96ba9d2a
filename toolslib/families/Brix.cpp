#include "toolslib/families/Brix.h"

#include "toolslib/ParameterBuilder.h"
#include "toolslib/wire/BrixWire.h"

namespace tools {
namespace {
constexpr ChannelDef kChannels[] = {
    {"CCL1", Quantity::None, "CNTS"}, {"CCL2", Quantity::None, "CNTS"}, {"CCL3", Quantity::None, "CNTS"},
    {"CCL4", Quantity::None, "CNTS"}, {"BTEMP", Quantity::Temperature, ""},
};
}

Brix::Brix(Globals& globals) : DepthOffsetFamily(globals, wire::brix::kLayout, wire::decodeFixed<wire::brix::kLayout>, kChannels, 5, kMeasurePoint) {}

void Brix::decodeSensors(const std::uint8_t*, const double* v, float* out, const FrameContext&) {
  namespace w = wire::brix;
  // A reversed coil flips the pulses about the baseline.
  const bool reversed = parameterChoice(kPolarity) == 1;
  for (int i = w::kCcl1; i <= w::kCcl4; ++i) out[i] = static_cast<float>(reversed ? 254.0 - v[i] : v[i]);
  out[4] = unitOf(4).apply(v[w::kTemp] + parameterValue(kTempOffset));
}

std::vector<records::ToolParameterS> Brix::defaultParameters() const {
  using namespace params;
  return {
      downholeChoice("CCLGAIN", "Collar locator amplifier gain", {{"X1", 0}, {"X2", 1}, {"X4", 2}, {"X8", 3}}, 1, 210, 0x21),
      downholeChoice("CCLFILT", "Collar locator low-pass filter", {{"OFF", 0}, {"20 HZ", 1}, {"10 HZ", 2}}, 1, 210, 0x22),
      surfaceChoice("CCLPOL", "Collar pulse polarity", {{"NORMAL", 0}, {"REVERSED", 1}}, 0),
      surfaceValue("MEASPT", "Coil measure point above the tool bottom", 450.0f, "mm"),
      surfaceValue("TEMPOFF", "Electronics temperature offset", 0.0f, "DegC"),
  };
}


}  // namespace tools
