#pragma once
// The twelve unit-code bytes handed to the TOOLS library, and their unit lists.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace records {

constexpr std::size_t kSystemUnitsSize = 12;

enum UnitQuantity : int {
  kPressure = 0, kTemperature, kTime, kWeight, kSpeed, kDistance, kDepth,
  kVolume, kArea, kFlowRate, kDensity, kTension, kQuantityCount
};

struct SystemUnitsS {
  std::array<std::uint8_t, kSystemUnitsSize> code{1, 10, 20, 30, 40, 50, 50, 60, 70, 80, 90, 30};
  friend bool operator==(const SystemUnitsS&, const SystemUnitsS&) = default;
};

struct UnitList {
  const char* settingName;   // value name in the "Units" settings section
  std::uint8_t base;         // code of the first unit, also the default
  std::span<const char* const> units;
};

// The lists in byte order.
const std::array<UnitList, kSystemUnitsSize>& unitLists();
// Index of a code within its list, or -1 when it is outside the list.
int unitIndex(UnitQuantity q, std::uint8_t code);

void encode(const SystemUnitsS& u, std::uint8_t* out12);
SystemUnitsS decodeSystemUnits(const std::uint8_t* in12);

}  // namespace records
