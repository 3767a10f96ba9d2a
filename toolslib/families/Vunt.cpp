#include "toolslib/families/Vunt.h"

#include "toolslib/ParameterBuilder.h"
#include "toolslib/wire/VuntWire.h"

namespace tools {
namespace {
constexpr ChannelDef kChannels[] = {
    {"VPRES", Quantity::Pressure, ""}, {"VTEMP", Quantity::Temperature, ""},
    {"VCTRL", Quantity::None, ""}, {"VMODE", Quantity::None, ""},
};
}

Vunt::Vunt(Globals& globals) : FamilyBase(globals, wire::vunt::kLayout, wire::decodeFixed<wire::vunt::kLayout>, kChannels, 4) {}

void Vunt::decodeRow(const std::uint8_t*, const double* v, float* out, const FrameContext&) {
  namespace w = wire::vunt;
  const auto control = static_cast<std::uint8_t>(v[w::kControl]);
  const auto flags = static_cast<std::uint8_t>(v[w::kFlags]);
  globals_.VUNTControl = control;
  globals_.VUNTPressure = unitOf(0).apply(v[w::kPressure]);
  globals_.VUNTTemperature = unitOf(1).apply(v[w::kTemp]);
  if (flags & w::kFlagAck) globals_.VUNTACKReceived = true;
  if (flags & w::kFlagFrameSkip) globals_.VUNTFrameSkip = true;
  out[0] = static_cast<float>(globals_.VUNTPressure);
  out[1] = static_cast<float>(globals_.VUNTTemperature);
  out[2] = static_cast<float>(control);
  out[3] = static_cast<float>((control & 0x38) >> 3);
}

std::vector<records::ToolParameterS> Vunt::defaultParameters() const {
  using namespace params;
  return {
      surfaceValue("GAUGESN", "Memory gauge serial number", 0.0f, ""),
      surfaceChoice("PRANGE", "Pressure sensor range", {{"5000 PSI", 5000}, {"10000 PSI", 10000}, {"15000 PSI", 15000}}, 1),
      surfaceValue("BATTWARN", "Battery warning level", 6.8f, "VOLT"),
  };
}


}  // namespace tools
