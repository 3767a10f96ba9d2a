#include "toolslib/families/Fyrd.h"

#include "toolslib/ParameterBuilder.h"
#include "toolslib/wire/FyrdWire.h"

namespace tools {
namespace {
constexpr ChannelSpec kChannels[] = {
    {"CAL1", Quantity::Length, ""}, {"CAL2", Quantity::Length, ""}, {"CAL3", Quantity::Length, ""}};
}

Fyrd::Fyrd(Globals& globals) : FamilyBase(globals, wire::fyrd::kLayout, wire::decodeFixed<wire::fyrd::kLayout>, kChannels, 3) {}

void Fyrd::decodeRow(const std::uint8_t*, const double* v, float* out, const FrameContext&) {
  for (int i = 0; i < 3; ++i)
    out[i] = unitOf(static_cast<std::size_t>(i)).apply(v[i] * parameterValue(kArmScale) + parameterValue(kArmOffset));
}

std::vector<records::ToolParameterS> Fyrd::defaultParameters() const {
  using namespace params;
  return {
      surfaceValue("ARMOFF", "Arm radius offset", 0.0f, "Inch"),
      surfaceValue("ARMSCL", "Arm radius scale factor", 1.0f, ""),
      downholeChoice("ARMS", "Caliper arms", {{"CLOSE", 0}, {"OPEN", 1}}, 0, 254, 0x71),
  };
}

std::vector<const char*> Fyrd::calibrationNames() const { return {"Arm Ring Check"}; }

}  // namespace tools
