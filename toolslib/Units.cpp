#include "toolslib/Units.h"

namespace tools {
namespace {

struct Row {
  double factor, offset;
};

// Indexed like the unit lists of the system units.
constexpr Row kPressure[] = {{0.0703069578, 0}, {0.0689475729, 0}, {1, 0}, {6894.75729, 0}, {6.89475729, 0}, {0.00689475729, 0}};
constexpr Row kTemperature[] = {{1, 0}, {1.8, 32}, {1, 273.15}, {1.8, 491.67}};
constexpr Row kWeight[] = {{453.59237, 0}, {0.45359237, 0}, {0.00045359237, 0}, {1, 0}};
constexpr Row kDistanceFromInch[] = {{25.4, 0}, {2.54, 0}, {1, 0}, {1.0 / 12, 0}, {0.0254, 0}, {0.0000254, 0}, {1.0 / 63360, 0}};
constexpr Row kFlow[] = {{1, 0}, {24, 0}, {24 * 6.28981077, 0}};
constexpr Row kDensity[] = {{1, 0}, {8.34540445, 0}};
constexpr Row kTime[] = {{1, 0}, {1.0 / 60, 0}, {1.0 / 3600, 0}, {1.0 / 86400, 0}};

template <std::size_t N>
UnitConversion pick(const Row (&rows)[N], records::UnitQuantity q, const records::SystemUnitsS& units) {
  int i = records::unitIndex(q, units.code[q]);
  if (i < 0 || static_cast<std::size_t>(i) >= N) i = 0;
  const auto& list = records::unitLists()[q];
  return UnitConversion{rows[i].factor, rows[i].offset, list.units[static_cast<std::size_t>(i)]};
}

}  // namespace

bool depthInFeet(const records::SystemUnitsS& units) { return records::unitIndex(records::kDepth, units.code[records::kDepth]) == 1; }

UnitConversion conversionFor(Quantity q, const records::SystemUnitsS& units) {
  switch (q) {
    case Quantity::None: return {};
    case Quantity::Pressure: return pick(kPressure, records::kPressure, units);
    case Quantity::Temperature: return pick(kTemperature, records::kTemperature, units);
    case Quantity::Tension: return pick(kWeight, records::kTension, units);
    case Quantity::Length: return pick(kDistanceFromInch, records::kDistance, units);
    case Quantity::FlowRate: return pick(kFlow, records::kFlowRate, units);
    case Quantity::Density: return pick(kDensity, records::kDensity, units);
    case Quantity::Time: return pick(kTime, records::kTime, units);
    case Quantity::Gradient: {
      auto c = pick(kPressure, records::kPressure, units);
      c.text += depthInFeet(units) ? "/FT" : "/M";
      return c;
    }
  }
  return {};
}

}  // namespace tools
