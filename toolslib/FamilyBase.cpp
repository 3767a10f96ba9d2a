#include "toolslib/FamilyBase.h"

#include <algorithm>

namespace tools {

FamilyBase::FamilyBase(Globals& globals, const wire::Layout& layout, wire::Decoder decoder,
                       std::span<const ChannelDef> channels, std::uint32_t rowFloats)
    : globals_(globals), layout_(layout), decoder_(decoder), channels_(channels), rowFloats_(rowFloats) {}

void FamilyBase::addDataChannels(records::ChannelList& list) const {
  for (std::size_t i = 0; i < channels_.size(); ++i) {
    const auto& def = channels_[i];
    records::ChannelStruct c;
    c.mnemonic = def.mnemonic;
    c.unit = def.quantity == Quantity::None ? def.fixedUnit : conversionFor(def.quantity, globals_.SystemUnits).text;
    c.baseColumn = 0;
    c.index = static_cast<std::uint32_t>(i);
    c.toolCode = layout_.code;
    list.push_back(std::move(c));
  }
}

std::uint32_t FamilyBase::processData(std::span<const std::uint8_t> ring, std::uint32_t readIndex,
                                      std::uint32_t toolOffset, float** rowPointer, float* ringStart, float* ringEnd,
                                      const FrameContext& context) {
  std::array<std::uint8_t, kMaxDataBytes> gathered;
  const std::uint8_t* bytes = gathered.data();
  const std::uint32_t n = layout_.dataBytes;
  if (ring.empty()) {
    gathered.fill(0);
  } else {
    const std::uint32_t mask = globals_.DataBuffSize;
    // The mask is only trusted when it stays inside the ring handed in.
    const bool maskFits = static_cast<std::size_t>(mask) < ring.size();
    const std::uint32_t first = readIndex + toolOffset;
    const std::size_t at = maskFits ? (first & mask) : (first % ring.size());
    if (maskFits && at + n <= static_cast<std::size_t>(mask) + 1) {
      bytes = ring.data() + at;  // the usual case: the tool's bytes do not straddle the ring's end
    } else {
      for (std::uint32_t i = 0; i < n; ++i)
        gathered[i] = ring[maskFits ? ((first + i) & mask) : ((first + i) % ring.size())];
    }
  }
  std::array<double, wire::kMaxFields> values;
  decoder_(bytes, values.data());

  if (!unitsValid_ || unitsChanged()) refreshUnits();
  std::array<float, kMaxRowFloats>& row = lastRow_;
  const bool calibrationFrame =
      hasCalibrationProcedures() && kit_.onFrame(std::span(bytes, n), values.data(), globals_);
  if (!calibrationFrame) decodeRow(bytes, values.data(), row.data(), context);

  if (rowPointer && *rowPointer && ringStart && ringEnd) {
    float* p = *rowPointer;
    if (p >= ringStart && p + rowFloats_ <= ringEnd) {
      std::copy(row.begin(), row.begin() + rowFloats_, p);  // the row does not reach the ring's end
      p += rowFloats_;
    } else {
      for (std::uint32_t i = 0; i < rowFloats_; ++i) {
        *p++ = row[i];
        if (p > ringEnd) p = ringStart;
      }
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

int FamilyBase::executeCal(unsigned calNumber, unsigned step, unsigned* status, char* text) {
  if (!hasCalibrationProcedures() || status == nullptr || text == nullptr) return cal::kEnd;
  if (calNumber == 1) return kit_.transfer(code(), step, status, text, globals_);
  if (calNumber == 2 && referencePlan() != nullptr)
    return kit_.reference(*referencePlan(), [this](const cal::ReferenceResult& r, bool accepted) {
      return acceptReference(r, accepted);
    }, code(), step, status, text, globals_);
  return executeOtherCal(calNumber, step, status, text);
}

void FamilyBase::freeAllDynamicMem() {
  calibrations_.clear();
  calibrations_.shrink_to_fit();
  kit_.reset();
  resetState();
}

bool FamilyBase::unitsChanged() const {
  bool changed = false;
  for (std::size_t i = 0; i < records::kSystemUnitsSize; ++i) changed |= unitsFor_.code[i] != globals_.SystemUnits.code[i];
  return changed;
}

void FamilyBase::refreshUnits() {
  units_.resize(channels_.size());
  for (std::size_t i = 0; i < channels_.size(); ++i) units_[i] = conversionFor(channels_[i].quantity, globals_.SystemUnits);
  unitsFor_ = globals_.SystemUnits;
  unitsValid_ = true;
}

}  // namespace tools
