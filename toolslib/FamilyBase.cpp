#include "toolslib/FamilyBase.h"

#include <algorithm>

namespace tools {

FamilyBase::FamilyBase(Globals& globals, const wire::Layout& layout, std::span<const ChannelSpec> channels,
                       std::uint32_t rowFloats)
    : globals_(globals), layout_(layout), channels_(channels), rowFloats_(rowFloats) {}

void FamilyBase::addDataChannels(records::ChannelList& list) const {
  for (std::size_t i = 0; i < channels_.size(); ++i) {
    const auto& spec = channels_[i];
    records::ChannelStruct c;
    c.mnemonic = spec.mnemonic;
    c.unit = spec.quantity == Quantity::None ? spec.fixedUnit : conversionFor(spec.quantity, globals_.SystemUnits).text;
    c.baseColumn = 0;
    c.index = static_cast<std::uint32_t>(i);
    c.toolCode = layout_.code;
    list.push_back(std::move(c));
  }
}

std::uint32_t FamilyBase::processData(std::span<const std::uint8_t> ring, std::uint32_t readIndex,
                                      std::uint32_t toolOffset, float** rowPointer, float* ringStart, float* ringEnd,
                                      const FrameContext& context) {
  std::array<std::uint8_t, kMaxDataBytes> bytes{};
  const std::uint32_t n = layout_.dataBytes;
  if (!ring.empty()) {
    const std::uint32_t mask = globals_.DataBuffSize;
    // The mask is only trusted when it stays inside the ring handed in.
    const bool maskFits = static_cast<std::size_t>(mask) < ring.size();
    for (std::uint32_t i = 0; i < n; ++i) {
      const std::uint32_t at = readIndex + toolOffset + i;
      bytes[i] = ring[maskFits ? (at & mask) : (at % ring.size())];
    }
  }
  std::array<double, 32> values{};
  wire::decode(layout_, bytes.data(), values.data());

  if (!unitsValid_ || !(unitsFor_ == globals_.SystemUnits)) refreshUnits();
  std::array<float, kMaxRowFloats> row{};
  decodeRow(bytes.data(), values.data(), row.data(), context);

  if (rowPointer && *rowPointer && ringStart && ringEnd) {
    float* p = *rowPointer;
    for (std::uint32_t i = 0; i < rowFloats_; ++i) {
      *p++ = row[i];
      if (p > ringEnd) p = ringStart;
    }
    *rowPointer = p;
  }
  return n;
}

bool FamilyBase::loadParameterList(std::span<const records::ToolParameterS> source, bool useSource) {
  if (useSource) {
    if (source.size() != parameters_.size()) return false;
    std::copy(source.begin(), source.end(), parameters_.begin());
    return true;
  }
  parameters_ = defaultParameters();
  return true;
}

void FamilyBase::init() {
  if (parameters_.empty()) parameters_ = defaultParameters();
  refreshUnits();
  resetState();
}

void FamilyBase::loadCalList() {
  calibrations_.clear();
  for (const char* name : calibrationNames()) {
    records::ToolCalS cal;
    cal.setName(name);
    calibrations_.push_back(cal);
  }
}

void FamilyBase::freeAllDynamicMem() {
  calibrations_.clear();
  calibrations_.shrink_to_fit();
  resetState();
}

const UnitConversion& FamilyBase::unitOf(std::size_t channel) { return units_[channel]; }

float FamilyBase::parameterValue(std::size_t index) const {
  return index < parameters_.size() ? parameters_[index].value : 0.0f;
}

std::uint8_t FamilyBase::parameterChoice(std::size_t index) const {
  return index < parameters_.size() ? parameters_[index].selectedChoice : 0;
}

void FamilyBase::refreshUnits() {
  units_.resize(channels_.size());
  for (std::size_t i = 0; i < channels_.size(); ++i) units_[i] = conversionFor(channels_[i].quantity, globals_.SystemUnits);
  unitsFor_ = globals_.SystemUnits;
  unitsValid_ = true;
}

}  // namespace tools
