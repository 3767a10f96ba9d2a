#pragma once
// What every family shares: the channel table, the byte gathering with wrapped ring
// positions, the row writing with its wrap, parameter and calibration arrays, and the
// cached unit conversions.

#include <array>
#include <span>
#include <vector>

#include "toolslib/Family.h"
#include "toolslib/Globals.h"
#include "toolslib/Units.h"
#include "toolslib/calibration/CalibrationKit.h"
#include "toolslib/wire/FieldCodec.h"

namespace tools {

struct ChannelDef {
  const char* mnemonic;  // at most 11 characters
  Quantity quantity;
  const char* fixedUnit;  // used when quantity is None
};

class FamilyBase : public Family {
 public:
  static constexpr std::size_t kMaxRowFloats = 32;
  static constexpr std::size_t kMaxDataBytes = 32;

  FamilyBase(Globals& globals, const wire::Layout& layout, wire::Decoder decoder,
             std::span<const ChannelDef> channels, std::uint32_t rowFloats);

  std::uint8_t code() const override { return layout_.code; }
  std::string_view name() const override { return layout_.family; }
  std::uint32_t dataBytes() const override { return layout_.dataBytes; }
  std::uint32_t rowFloats() const override { return rowFloats_; }

  void addDataChannels(records::ChannelList& list) const override;
  std::uint32_t processData(std::span<const std::uint8_t> ring, std::uint32_t readIndex, std::uint32_t toolOffset,
                            float** rowPointer, float* ringStart, float* ringEnd,
                            const FrameContext& context) final;

  std::vector<records::ToolParameterS>& getParameterList() override { return parameters_; }
  bool loadParameterList(std::span<const records::ToolParameterS> source, bool useSource) override;
  void init() override;

  std::vector<records::ToolCalS>& getCalList() override { return calibrations_; }
  void loadCalList() override;
  // Calibration 1 reads the tool's stored calibration, 2 is the family's reference
  // measurement, later ones are the family's own (docs/CALIBRATION.md).
  int executeCal(unsigned calNumber, unsigned step, unsigned* status, char* text) override;
  void freeAllDynamicMem() override;

  std::span<const ChannelDef> channelDefs() const { return channels_; }
  const wire::Layout& layout() const { return layout_; }

 protected:
  // The family's decoding: `bytes` holds dataBytes() contiguous bytes, `values` their decoded
  // fields; writes rowFloats() floats into out.
  virtual void decodeRow(const std::uint8_t* bytes, const double* values, float* out, const FrameContext& context) = 0;
  virtual std::vector<records::ToolParameterS> defaultParameters() const = 0;
  virtual std::vector<const char*> calibrationNames() const { return {}; }
  virtual void resetState() {}
  virtual bool hasCalibrationProcedures() const { return false; }
  virtual const cal::ReferencePlan* referencePlan() const { return nullptr; }
  virtual std::string acceptReference(const cal::ReferenceResult&, bool) { return {}; }
  virtual int executeOtherCal(unsigned, unsigned, unsigned*, char*) { return cal::kEnd; }
  cal::CalibrationKit& kit() { return kit_; }

  // The conversion of channel i for the current system units.
  const UnitConversion& unitOf(std::size_t channel) const { return units_[channel]; }
  float parameterValue(std::size_t index) const {
    return index < parameters_.size() ? parameters_[index].value : 0.0f;
  }
  std::uint8_t parameterChoice(std::size_t index) const {
    return index < parameters_.size() ? parameters_[index].selectedChoice : 0;
  }

  Globals& globals_;

 private:
  void refreshUnits();
  bool unitsChanged() const;

  const wire::Layout& layout_;
  wire::Decoder decoder_;
  std::span<const ChannelDef> channels_;
  std::uint32_t rowFloats_;
  std::vector<records::ToolParameterS> parameters_;
  std::vector<records::ToolCalS> calibrations_;
  std::vector<UnitConversion> units_;
  records::SystemUnitsS unitsFor_;
  bool unitsValid_ = false;
  cal::CalibrationKit kit_;
  std::array<float, kMaxRowFloats> lastRow_{};  // repeated while the tool sends calibration frames
};

}  // namespace tools
