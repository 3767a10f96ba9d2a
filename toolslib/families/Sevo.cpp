#include "toolslib/families/Sevo.h"

#include <cmath>

#include "toolslib/ParameterBuilder.h"
#include "toolslib/wire/SevoWire.h"

namespace tools {
namespace {
constexpr ChannelDef kChannels[] = {
    {"PRES", Quantity::Pressure, ""},     {"TEMP", Quantity::Temperature, ""}, {"PGTEMP", Quantity::Temperature, ""},
    {"SVOLT", Quantity::None, "VOLT"},    {"SSTAT", Quantity::None, ""},       {"SSEQ", Quantity::None, ""},
    {"PFREQ", Quantity::None, "HZ"},      {"GRAD", Quantity::Gradient, ""},    {"DENS", Quantity::Density, ""},
    {"SDEPTH", Quantity::None, ""},
};
constexpr double kWaterPsiPerFoot = 0.433527;  // 1 g/cc
}  // namespace

Sevo::Sevo(Globals& globals) : DepthOffsetFamily(globals, wire::sevo::kLayout, wire::decodeFixed<wire::sevo::kLayout>, kChannels, 10, kMeasurePoint) {}

void Sevo::resetState() {
  DepthOffsetFamily::resetState();
  haveAnchor_ = false;
  gradientPsi_ = 0;
}

void Sevo::decodeSensors(const std::uint8_t*, const double* v, float* out, const FrameContext& context) {
  namespace w = wire::sevo;
  const double psi = v[w::kPressure] * parameterValue(kPressureScale) + parameterValue(kPressureOffset);
  const double depth = context.currentDepth;
  const double interval = std::fabs(parameterValue(kGradientInterval));
  if (!haveAnchor_) {
    haveAnchor_ = true;
    anchorDepth_ = depth;
    anchorPsi_ = psi;
  } else if (interval > 0 && std::fabs(depth - anchorDepth_) >= interval) {
    gradientPsi_ = (psi - anchorPsi_) / (depth - anchorDepth_);
    anchorDepth_ = depth;
    anchorPsi_ = psi;
  }
  const double psiPerFoot = depthInFeet(globals_.SystemUnits) ? gradientPsi_ : gradientPsi_ * 0.3048;
  out[0] = unitOf(0).apply(psi);
  out[1] = unitOf(1).apply(v[w::kTemp] + parameterValue(kTempOffset));
  out[2] = unitOf(2).apply(v[w::kGaugeTemp]);
  out[3] = static_cast<float>(v[w::kVolt]);
  out[4] = static_cast<float>(v[w::kStatus]);
  out[5] = static_cast<float>(v[w::kSeq]);
  out[6] = static_cast<float>(v[w::kFrequency]);
  out[7] = unitOf(7).apply(gradientPsi_);
  out[8] = unitOf(8).apply(psiPerFoot / kWaterPsiPerFoot);
  out[9] = static_cast<float>(depth);
}

std::vector<records::ToolParameterS> Sevo::defaultParameters() const {
  using namespace params;
  return {
      surfaceValue("POFF", "Pressure offset", 0.0f, "PSI"),
      surfaceValue("PSCALE", "Pressure scale factor", 1.0f, ""),
      surfaceValue("TOFF", "Temperature offset", 0.0f, "DegC"),
      surfaceValue("GRADINT", "Depth interval of the pressure gradient", 10.0f, "DEPTH"),
      surfaceValue("MEASPT", "Pressure port above the tool bottom", 300.0f, "mm"),
      downholeValue("SRATE", "Gauge sampling period", 250.0f, "ms", 232, 0x41, records::ValueEncoding::U16At110, 0x01),
  };
}


}  // namespace tools
