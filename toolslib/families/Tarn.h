#pragma once
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "toolslib/FamilyBase.h"

namespace tools {

// TARN rate gyro, the oldest of the gyro tools. Its rates lose the offsets of parameters
// 12-14; it integrates them into the gyro angles of its drift station (Globals GYROANG*)
// and into the hole azimuth HAZI, which ResetHAZI sets back to the initial azimuth.
class Tarn final : public FamilyBase {
 public:
  explicit Tarn(Globals& globals);
  ~Tarn() override;
  enum Param : std::size_t {
    kLatitude, kGyroScaleX, kGyroScaleY, kGyroScaleZ, kAccScaleX, kAccScaleY, kAccScaleZ,
    kAccOffsetX, kAccOffsetY, kAccOffsetZ, kGyroMotor, kGyroOffsetX, kGyroOffsetY, kGyroOffsetZ,
    kInitialAzimuth, kParamCount
  };

  void resetHoleAzimuth();
  // DoGyroOffsetCalibration: from now on the rates before their offsets are averaged.
  void doGyroOffsetCalibration();
  // SetGyroOffsetParam: the averages since doGyroOffsetCalibration become the offsets of
  // parameters 12 to 14, so a still tool reads about 0 from then on. False (nothing
  // changes) when no frame arrived in between.
  bool setGyroOffsetParam();
  double holeAzimuth() const { return holeAzimuth_; }

  void reserveCorrectionTable() override { tableReserved_ = true; }
  bool correctionTableActive() const override { return tableReserved_; }
  void destroyCorrectionTable() override { tableReserved_ = false; }

  void saveRawData(std::span<const std::uint8_t> ring, std::uint32_t readIndex, std::uint32_t toolOffset,
                   double depth) override;
  // The raw data file of a depth log: created new (never over a file), then one 27-byte
  // little-endian record a kept frame: u32 frame number (Globals::FramesReceived), f32 depth,
  // the 19 raw bytes. False when it cannot be created.
  bool openRawFile(const std::string& path);
  // False when a record or the close did not reach the file.
  bool closeRawFile();
  bool rawFileOpen() const { return rawFile_ != nullptr; }
  // The last raw frame kept while a depth log ran, its depth and how many were kept.
  const std::array<std::uint8_t, 19>& lastRawFrame() const { return lastRaw_; }
  double lastRawDepth() const { return lastRawDepth_; }
  std::uint64_t rawFramesSaved() const { return rawSaved_; }

 protected:
  bool hasCalibrationProcedures() const override { return true; }
  const cal::ReferencePlan* referencePlan() const override;
  std::string acceptReference(const cal::ReferenceResult& result, bool accepted) override;
  void decodeRow(const std::uint8_t* bytes, const double* values, float* out, const FrameContext& context) override;
  std::vector<records::ToolParameterS> defaultParameters() const override;
  std::vector<const char*> calibrationNames() const override;
  void resetState() override;

 private:
  double earthVertical();

  bool averaging_ = false;
  std::array<double, 3> rateSum_{};
  std::uint64_t rateCount_ = 0;
  double holeAzimuth_ = 0;
  float latitudeFor_ = 0;
  double earthVertical_ = 0;
  bool tableReserved_ = false;
  std::array<std::uint8_t, 19> lastRaw_{};
  double lastRawDepth_ = 0;
  std::uint64_t rawSaved_ = 0;
  std::FILE* rawFile_ = nullptr;
  bool rawGood_ = true;
};

}  // namespace tools
