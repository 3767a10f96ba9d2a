#include "toolslib/families/Dune.h"

#include <cmath>

#include "toolslib/ParameterBuilder.h"
#include "toolslib/wire/DuneWire.h"

namespace tools {
namespace {
constexpr ChannelDef kChannels[] = {
    {"SPINNER", Quantity::None, "RPS"},
    {"PRATE", Quantity::FlowRate, ""},
    {"STEMP", Quantity::Temperature, ""},
    {"SDIR", Quantity::None, ""},
};
}

Dune::Dune(Globals& globals) : DepthOffsetFamily(globals, wire::dune::kLayout, wire::decodeFixed<wire::dune::kLayout>, kChannels, 4, kMeasurePoint) {}

void Dune::decodeSensors(const std::uint8_t*, const double* v, float* out, const FrameContext&) {
  namespace w = wire::dune;
  double sign = v[w::kDirection] != 0 ? -1.0 : 1.0;
  if (parameterChoice(kDirection) == 1) sign = -sign;
  const double rps = sign * v[w::kSpin];
  const double threshold = parameterValue(kThreshold);
  // Below the stall threshold the impeller says nothing about the flow.
  const double moving = std::fabs(rps) > threshold ? (std::fabs(rps) - threshold) * (rps < 0 ? -1.0 : 1.0) : 0.0;
  out[0] = static_cast<float>(rps);
  out[1] = unitOf(1).apply(moving * parameterValue(kFlowConstant));
  out[2] = unitOf(2).apply(v[w::kTemp]);
  out[3] = static_cast<float>(sign);
}

std::vector<records::ToolParameterS> Dune::defaultParameters() const {
  using namespace params;
  return {
      surfaceValue("SPNTHR", "Spinner stall threshold", 0.5f, "RPS"),
      surfaceValue("KFLOW", "Flow rate per spinner revolution per second", 1.35f, "M3/H/RPS"),
      surfaceChoice("SPNDIR", "Spinner direction convention", {{"NORMAL", 0}, {"REVERSED", 1}}, 0),
      surfaceValue("MEASPT", "Impeller measure point above the tool bottom", 0.0f, "mm"),
      downholeChoice("SPNFILT", "Spinner pulse averaging", {{"1 FRAME", 0}, {"4 FRAMES", 1}, {"16 FRAMES", 2}}, 0, 230, 0x31),
  };
}


}  // namespace tools
