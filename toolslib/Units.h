#pragma once
// Conversions of tool readings into the system units chosen by the user. Each family
// decodes into one base unit per quantity and converts with a linear factor and offset.

#include <cstdint>
#include <string>

#include "common/records/SystemUnits.h"

namespace tools {

// Base units the decoders produce.
enum class Quantity : std::uint8_t {
  None,         // fixed unit text, no conversion
  Pressure,     // psi
  Temperature,  // degC
  Tension,      // lb
  Length,       // inch (calipers)
  FlowRate,     // m3/h
  Density,      // g/cc
  Time,         // s
  Gradient,     // psi per unit of the system depth unit
};

struct UnitConversion {
  double factor = 1.0;
  double offset = 0.0;
  std::string text;
  float apply(double base) const { return static_cast<float>(base * factor + offset); }
};

// The conversion from the base unit of q into the unit the system units select; a code
// outside its list falls back to the list's first unit.
UnitConversion conversionFor(Quantity q, const records::SystemUnitsS& units);

// True when the system depth unit is feet (tool depths and gradients follow it).
bool depthInFeet(const records::SystemUnitsS& units);

}  // namespace tools
