#include "toolslib/families/Plov.h"

#include "toolslib/ParameterBuilder.h"
#include "toolslib/wire/PlovWire.h"

namespace tools {
namespace {
constexpr ChannelSpec kChannels[] = {{"DHTENS", Quantity::Tension, ""}};
}

Plov::Plov(Globals& globals) : FamilyBase(globals, wire::plov::kLayout, wire::decodeFixed<wire::plov::kLayout>, kChannels, 1) {}

void Plov::decodeRow(const std::uint8_t*, const double* v, float* out, const FrameContext&) {
  out[0] = unitOf(0).apply(v[wire::plov::kTension] * parameterValue(kScale) + parameterValue(kOffset));
}

std::vector<records::ToolParameterS> Plov::defaultParameters() const {
  using namespace params;
  return {
      surfaceValue("TOFF", "Head tension offset", 0.0f, "POUND"),
      surfaceValue("TSCALE", "Head tension scale factor", 1.0f, ""),
  };
}

}  // namespace tools
