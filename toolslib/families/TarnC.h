#pragma once
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "toolslib/FamilyBase.h"
#include "toolslib/tarnc/OnlineAttitude.h"
#include "toolslib/tarnc/RawStream.h"
#include "toolslib/tarnc/SensorCalibration.h"
#include "toolslib/wire/TarnCWire.h"

class CNavikor;

namespace tools {

// What the TOOLS functions of the TARN-C panels return. Doubles in this order.
struct MatrixDeltaAngleStruct {
  double Total = 0, DEVI = 0, HAZI = 0, HSTF = 0, TFACE = 0;  // radians
};
struct GC_GOffTC {
  double X = 0, TX = 0, Y = 0, TY = 0;  // mV at the temperatures asked for
};
struct GC_GGainTC {
  double X = 0, TX = 0, Y = 0, TY = 0;  // (deg/h)/mV
};
// Gx0..Gx3, Tx, Gy0..Gy3, Ty, Gz0..Gz5, Tz: doubles 1, 2, 6 and 7 are DXx, DXy, DYx, DYy.
struct TARN_C_GRAVITYDRIFT_TEMPCORR_S {
  double Gx[4] = {}, Tx = 0, Gy[4] = {}, Ty = 0, Gz[6] = {}, Tz = 0;
};

// TARN-C north-seeking gyro. Per frame: calibrated rates (CalibrarGyroSen, gyro sensor frame)
// and accelerations (CalibrarAcel, IMU frame) of the raw readings through the Navikor
// object, the six raw readings, five temperatures, DEVI and HSTF (CalcularDeviHstf) and HAZI
// and TFACE (CalcularParamRT) of sensors smoothed over SMOOTH seconds, or, once a station has
// handed over its attitude in `m_MC_NEP`, of the gyros integrated from it; the gravity total,
// the control word, the indexer count and the tool time. Every frame also updates the
// TARN-C globals (control word, indexer count, last acknowledge, DTG step, special data,
// the indexer angle) and adds one sample to the raw inertial stream while it is open.
class TarnC final : public FamilyBase {
 public:
  TarnC(Globals& globals, CNavikor& navikor);
  ~TarnC() override;
  enum Param : std::size_t {
    kLatitude, kToolfaceRange, kToolfaceOffset, kSmoothing, kMotorFrequency, kGyroFilter, kSampleRate, kParamCount
  };

  // The Navikor object the calibration goes into when a frame brings none.
  void useNavikor(CNavikor& navikor) { navikor_ = &navikor; }
  void init() override;

  bool correctionTableActive() const override { return kvrCal_.has_value(); }
  void destroyCorrectionTable() override;

  // ---- the TOOLS functions of the TARN-C panels, by their names
  int CheckTARN_C_CorrectionTableActive() const { return kvrCal_ ? 1 : 0; }
  // folder + "Output/" + base + number + ".raw"; zeroes the tool time on success.
  bool OpenTARN_C_DLLRawDataFile(const std::string& sessionFolder, std::string_view base, std::string_view number);
  void CloseTARN_C_DLLRawDataFile();
  // The real-time attitude minus the station's (each wrapped to +-pi; Total the angle of the
  // rotation between them); then the real-time attitude starts afresh. hstf above 2 pi: take
  // it from the toolface, as Param2Matrix does.
  MatrixDeltaAngleStruct ResetTARN_C_Position(double devi, double azi, double hstf, double gyrotf);
  // A continuous survey starts: the frame count and the online correction's interval restart.
  void ResetTARN_C_DriftCorrectionCounter() {
    driftFrames_ = 0;
    online_.resetCorrectionCounter();
  }
  GC_GOffTC GetCorrected_TARNC_Gyro_Offset(double t1, double t2) const;
  GC_GGainTC GetCorrected_TARNC_Gyro_Gain(double t1, double t2) const;
  TARN_C_GRAVITYDRIFT_TEMPCORR_S GetCorrected_TARNC_Gyro_Gravity_Coeficients(double t1, double t2) const;
  bool ReadTARN_C_CALFromRawFile(const std::string& path);
  bool CargarCalibracionDLLdelRAW(CNavikor* navikor);
  bool CargarCalibracionDLLdelKVR(CNavikor* navikor);

  // The sensor correction table (".sct") of the calibration dialog. False with a reason.
  bool loadCorrectionTable(const std::string& path, std::string* error);
  bool loadCorrectionTableText(std::string_view text, std::string* error);
  const tarnc::SensorCalibration* kvrCalibration() const { return kvrCal_ ? &*kvrCal_ : nullptr; }
  const tarnc::RawStreamWriter& rawStream() const { return raw_; }
  // Frames since the last ResetTARN_C_DriftCorrectionCounter.
  std::uint64_t driftCorrectionFrames() const { return driftFrames_; }
  // The gyro integration from the last station's attitude (`m_MC_NEP`), with its drift estimate.
  const tarnc::OnlineAttitude& onlineAttitude() const { return online_; }

  int executeCal(unsigned calNumber, unsigned step, unsigned* status, char* text) override;

 protected:
  void decodeRow(const std::uint8_t* bytes, const double* values, float* out, const FrameContext& context) override;
  std::vector<records::ToolParameterS> defaultParameters() const override;
  std::vector<const char*> calibrationNames() const override;
  void resetState() override;

 private:
  void takeSlot(const wire::tarnc::Frame& f);
  void takeSpecialData(std::uint8_t status, std::uint16_t word);
  void applyCalibration(CNavikor& navikor, tarnc::SensorCalibration* calibration);
  void publishCalibration();
  POS_PARAM realTimeAttitude(CNavikor& navikor) const;
  // The calibration procedures (TarnCCal.cpp), numbered as calibrationNames lists them.
  int readToolSetup(unsigned step, unsigned* status, char* text);
  int loadOrSaveTable(bool load, unsigned step, unsigned* status, char* text);
  int turnOnTest(unsigned step, unsigned* status, char* text);
  // A downhole message of a procedure ([address, 0, command...]) sent (code 5 with status 1)
  // and now awaited (status 2).
  int awaitTool(std::initializer_list<std::uint8_t> message, bool answered, unsigned* status, char* text);
  tarnc::DriftCorrection driftCorrection() const;

  CNavikor* navikor_;
  std::optional<tarnc::SensorCalibration> kvrCal_, rawCal_;
  tarnc::RawStreamWriter raw_;
  bool haveSmoothed_ = false;
  double rate_[3]{}, acc_[3]{};
  double temp_[5]{};
  unsigned tempsSeen_ = 0;  // bit i: temperature slot i has come
  std::uint64_t driftFrames_ = 0;
  tarnc::OnlineAttitude online_;
  bool calRequested_ = false;
  MATXYZ seededFrom_;  // the m_MC_NEP the integration last started from
};

}  // namespace tools
