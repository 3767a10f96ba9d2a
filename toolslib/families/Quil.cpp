#include "toolslib/families/Quil.h"

#include "toolslib/ParameterBuilder.h"
#include "toolslib/wire/QuilWire.h"

namespace tools {
namespace {
constexpr ChannelDef kChannels[] = {
    {"GR", Quantity::None, "API"}, {"QCPS", Quantity::None, "CPS"},
    {"QHV", Quantity::None, "VOLT"}, {"QTEMP", Quantity::Temperature, ""},
};
constexpr double kFramesPerSecond = 15.0;
}  // namespace

Quil::Quil(Globals& globals) : DepthOffsetFamily(globals, wire::quil::kLayout, wire::decodeFixed<wire::quil::kLayout>, kChannels, 4, kMeasurePoint) {}

void Quil::decodeSensors(const std::uint8_t*, const double* v, float* out, const FrameContext&) {
  namespace w = wire::quil;
  const double cps = v[w::kCounts] * kFramesPerSecond;
  const double net = cps - parameterValue(kBackground);
  out[0] = static_cast<float>((net > 0 ? net : 0.0) * parameterValue(kApiPerCps));
  out[1] = static_cast<float>(cps);
  out[2] = static_cast<float>(v[w::kHighVoltage]);
  out[3] = unitOf(3).apply(v[w::kTemp]);
}

std::vector<records::ToolParameterS> Quil::defaultParameters() const {
  using namespace params;
  return {
      surfaceValue("GRCAL", "Gamma ray calibration factor", 0.85f, "API/CPS"),
      surfaceValue("GRBKG", "Detector background count rate", 4.0f, "CPS"),
      downholeValue("HVSET", "Photomultiplier high voltage", 1150.0f, "VOLT", 235, 0x51, records::ValueEncoding::U16At110, 0x02),
      surfaceValue("MEASPT", "Detector measure point above the tool bottom", 250.0f, "mm"),
  };
}


}  // namespace tools
