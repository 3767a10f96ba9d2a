#include "common/records/SystemUnits.h"

#include <cstring>

namespace records {

namespace {
constexpr const char* kPressureUnits[] = {"KG/CM2", "BAR", "PSI", "PASCAL", "KPAS", "MPAS"};
constexpr const char* kTemperatureUnits[] = {"DegC", "DegF", "Kelvin", "Rankine"};
constexpr const char* kTimeUnits[] = {"Second", "Minute", "Hour", "Day"};
constexpr const char* kWeightUnits[] = {"GRAM", "KG", "TON", "POUND"};
constexpr const char* kSpeedUnits[] = {"M/S", "M/M", "KM/H", "Ft/S", "Ft/M", "Ft/H"};
constexpr const char* kDistanceUnits[] = {"MM", "CM", "Inch", "Feet", "Meter", "KM", "Mile"};
constexpr const char* kDepthUnits[] = {"Meter", "Feet"};
constexpr const char* kVolumeUnits[] = {"CM3", "LITRE", "GAL", "M3", "BPD"};
constexpr const char* kAreaUnits[] = {"MM2", "CM2", "M2", "IN2"};
constexpr const char* kFlowRateUnits[] = {"M3/H", "M3/DAY", "BPD"};
constexpr const char* kDensityUnits[] = {"GCC", "PPG"};
}  // namespace

const std::array<UnitList, kSystemUnitsSize>& unitLists() {
  static const std::array<UnitList, kSystemUnitsSize> lists{{
      {"Pressure", 1, kPressureUnits},
      {"Temperature", 10, kTemperatureUnits},
      {"Time", 20, kTimeUnits},
      {"Weight", 30, kWeightUnits},
      {"Speed", 40, kSpeedUnits},
      {"Distance", 50, kDistanceUnits},
      {"Depth", 50, kDepthUnits},
      {"Volume", 60, kVolumeUnits},
      {"Area", 70, kAreaUnits},
      {"FlowRate", 80, kFlowRateUnits},
      {"Density", 90, kDensityUnits},
      {"Tension", 30, kWeightUnits},
  }};
  return lists;
}

int unitIndex(UnitQuantity q, std::uint8_t code) {
  if (q < 0 || q >= kQuantityCount) return -1;
  const UnitList& l = unitLists()[static_cast<std::size_t>(q)];
  if (code < l.base) return -1;
  const std::size_t i = code - l.base;
  return i < l.units.size() ? static_cast<int>(i) : -1;
}

void encode(const SystemUnitsS& u, std::uint8_t* out) { std::memcpy(out, u.code.data(), kSystemUnitsSize); }

SystemUnitsS decodeSystemUnits(const std::uint8_t* in) {
  SystemUnitsS u;
  std::memcpy(u.code.data(), in, kSystemUnitsSize);
  return u;
}

}  // namespace records
