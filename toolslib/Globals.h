#pragma once
// The TOOLS library's globals in one record. The program owns it (through tools::Library)
// and hands it to whoever reads or writes a global; nothing here is a hidden static.
// The library's exported names begin with two underscores, which C++ reserves for the
// implementation, so the fields drop them.

#include <array>
#include <cstdint>
#include <string>

#include "common/records/SystemUnits.h"
#include "navikor/Records.h"
#include "toolslib/vunt/GaugeRecords.h"

namespace tools {

struct Globals {
  // Written by the frame dispatch every frame.
  double OnlineDepth = 0;
  double OnlineTime = 0;
  // Tool time of the gyro tools: grows with every frame whether or not a log runs.
  double OnlineTimeTARN = 0;
  double OnlineTimeTARN_Previo = 0;
  // Frames dispatched since the program started, this one included: no log start resets it,
  // so the TARN raw file and the drift file number their frames alike.
  std::uint64_t FramesReceived = 0;
  // Mask of frame-ring positions (the frame ring is 32768 bytes).
  std::uint32_t DataBuffSize = 32767;
  records::SystemUnitsS SystemUnits;
  std::string Tools_DLL_Version = "3.2.0";

  // TARN: gyro angles (radians) integrated while frames arrive; the drift station zeroes them.
  double GYROANGX = 0, GYROANGY = 0, GYROANGZ = 0;
  int TARNSurveyMode = 0;

  // TARN-B.
  int TARN_B_IgnoreNoiseFilter = 0;
  std::string TARNB_Cal_Sensor_SN, TARNB_Cal_Date;
  double TARNB_Cal_Type = 0;

  // TARN-C: tool state decoded from its frames.
  std::uint16_t TARNC_CtrlWord = 0;
  std::uint16_t TARNC_AnglePos = 0;
  std::uint8_t TARNC_LastAck = 0;
  std::uint16_t TARNC_SpecialFrameDataCount = 0;
  std::array<std::uint16_t, 64> TARNC_TDDataBuf{};
  std::array<std::uint8_t, 256> TARNC_IMUDataBuf{};
  // TARN-C: written by its task panel and options.
  int cuentas_0deg = 0, cuentas_180deg = 0;
  char TARNC_SurveyMode = 0;
  int Kalman_Pause = 0;
  double KG = 0, Ees = 0, Outes = 0, Err = 0;
  double m_fPOS = 0;  // indexer angle in degrees from the 0 and 180 counts
  int usarDatosDLL = 0;
  int usarCorreccionAcelerometro = 0;
  int TARNC_DisableAccel = 0;
  int TARNC_GyroDriftCorrEnable = 0, TARNC_GyroDriftCorrInterval = 0;
  int TARNC_GyroDriftCorrFeedback_x = 0, TARNC_GyroDriftCorrFeedback_y = 0, TARNC_GyroDriftCorrFeedback_z = 0;
  int TARNC_DTGDriftCorrFeedback_Filter_Division = 0;
  // TARN-C calibration status.
  std::string TARNC_Cal_Sensor_SN, TARNC_Cal_Date;
  double TARNC_Cal_Type = 0;
  int TARNC_DTGFrequency = 0;
  int TARNC_TurnOnActive = 0;
  int TARNC_RAW_Cal_Loaded = 0;
  std::string TARNC_RAW_Cal_Sensor_SN, TARNC_RAW_Cal_Date;
  // The last station's result and the attitude the panel hands back at its end.
  ESTACIONout RESSTA;
  MATXYZ m_MC_NEP;

  // VUNT memory gauge.
  std::uint8_t VUNTControl = 0;
  double VUNTPressure = 0, VUNTTemperature = 0;
  bool VUNTACKReceived = false;
  int VUNTDataTransferStatus = 0;
  bool VUNTCalibrationLoaded = false, VUNTJobFatLoaded = false, VUNTProgramLoaded = false;
  bool VUNTFrameSkip = false;
  std::array<std::uint16_t, vunt::kJobTableWords> VUNTJobFat{};
  vunt::CalibrationUnion VUNTCalibration;
  std::array<std::uint8_t, vunt::kProgramCapacity> VUNTProgramBuffer{};
  std::size_t VUNTProgramLength = 0;  // bytes of the program as uploaded
  std::array<std::uint8_t, vunt::kPageBytes> VUNTDataPage{};
  std::size_t VUNTHalfReceived = 0;   // bytes of the arriving page half so far (ResetDataIndex rewinds it)

  // Progress of a running calibration, 0..100.
  int CalProgressPos = 0;
};

}  // namespace tools
