#include "toolslib/families/Havo.h"

#include <algorithm>

#include "toolslib/ParameterBuilder.h"
#include "toolslib/wire/HavoWire.h"

namespace tools {
namespace {
constexpr ChannelDef kChannels[] = {
    {"HOLDUP", Quantity::None, "%"}, {"HFREQ", Quantity::None, "KHZ"},
    {"HTEMP", Quantity::Temperature, ""}, {"HCAL", Quantity::Length, ""},
};
}

Havo::Havo(Globals& globals) : DepthOffsetFamily(globals, wire::havo::kLayout, wire::decodeFixed<wire::havo::kLayout>, kChannels, 4, kMeasurePoint) {}

void Havo::decodeSensors(const std::uint8_t*, const double* v, float* out, const FrameContext&) {
  namespace w = wire::havo;
  const double water = parameterValue(kWaterFrequency);
  const double oil = parameterValue(kOilFrequency);
  // Water lowers the probe frequency; the fraction runs from the oil point to the water point.
  const double span = oil - water;
  const double holdup = span != 0 ? std::clamp((oil - v[w::kFrequency]) / span, 0.0, 1.0) * 100.0 : 0.0;
  out[0] = static_cast<float>(holdup);
  out[1] = static_cast<float>(v[w::kFrequency]);
  out[2] = unitOf(2).apply(v[w::kTemp]);
  out[3] = unitOf(3).apply(v[w::kCaliper] + parameterValue(kCaliperOffset));
}

std::vector<records::ToolParameterS> Havo::defaultParameters() const {
  using namespace params;
  return {
      surfaceValue("HWATER", "Probe frequency in water", 28.0f, "KHZ"),
      surfaceValue("HOIL", "Probe frequency in oil", 46.0f, "KHZ"),
      surfaceValue("CALOFF", "Spring caliper offset", 0.0f, "Inch"),
      surfaceValue("MEASPT", "Probe measure point above the tool bottom", 150.0f, "mm"),
      downholeChoice("HSRATE", "Probe sampling", {{"FAST", 0}, {"NORMAL", 1}, {"SLOW", 2}}, 1, 243, 0x61),
  };
}


}  // namespace tools
