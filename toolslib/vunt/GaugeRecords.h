#pragma once
// The VUNT memory gauge's records as the TOOLS library keeps them: the 240-byte calibration
// record, the job table, the recording program and the data page, with the conversion of a
// raw pressure and temperature count pair (VUNTCalculaValorCalibrado) and its exact inverse
// for the simulated gauge.

#include <array>
#include <cstddef>
#include <cstdint>

namespace tools::vunt {

inline constexpr std::size_t kCalibrationBytes = 240;
inline constexpr std::size_t kSerialOffset = 192;  // double: the gauge serial number
inline constexpr std::size_t kModelOffset = 208;   // double: the tool model
inline constexpr std::size_t kJobTableWords = 16;  // words 0..10 are read; the rest stay 0
inline constexpr std::size_t kMaxJobs = 10;
inline constexpr std::size_t kProgramEntryBytes = 5;
inline constexpr std::size_t kProgramCapacity = 100 * kProgramEntryBytes;
inline constexpr std::size_t kSampleBytes = 5;
inline constexpr std::size_t kSamplesPerPage = 105;
inline constexpr std::size_t kPageBytes = kSamplesPerPage * kSampleBytes;
// Half A of a page carries samples 0-52, half B samples 53-104.
inline constexpr std::size_t kHalfASamples = 53;
inline constexpr std::size_t kHalfABytes = kHalfASamples * kSampleBytes;
inline constexpr std::size_t kHalfBBytes = kPageBytes - kHalfABytes;
inline constexpr std::uint32_t kEndPressure = 0xFEFEFE;
inline constexpr std::uint32_t kEndTemperature = 0xFEFE;
inline constexpr std::uint16_t kOpenEnded = 0xFFFF;

// The calibration record. Little-endian doubles at fixed offsets:
//   0 t0, 8 t1            T = t0 + t1 * raw temperature                    (degC)
//   16 p0, 24 p1, 32 p2, 40 tref  P = p0 + p1 * raw pressure + p2 * (T - tref)  (psi)
//   192 serial number, 208 tool model; the rest is kept as the gauge sent it.
// Pressure and temperature come out in psi and degC whatever the system units, since the
// download file labels its columns "PSI" and "DEGC".
struct CalibrationUnion {
  std::array<std::uint8_t, kCalibrationBytes> bytes{};
};

struct GaugeCoefficients {
  double t0 = -50, t1 = 0.004;
  double p0 = -5, p1 = 0.0012, p2 = 0.05, tref = 25;
};

double calibrationDouble(const CalibrationUnion& cal, std::size_t offset);
void setCalibrationDouble(CalibrationUnion& cal, std::size_t offset, double value);
CalibrationUnion makeCalibration(const GaugeCoefficients& c, double serial, double model);
GaugeCoefficients coefficientsOf(const CalibrationUnion& cal);

// The raw pair that reads back nearest to (psi, degC), clamped to the counts' ranges and
// kept off the end marker.
struct RawSample {
  std::uint32_t pressure = 0;     // 24 bits
  std::uint16_t temperature = 0;  // 16 bits
};
RawSample encodeSample(const CalibrationUnion& cal, double psi, double degC);

// 5 bytes, high byte first: 24-bit pressure, 16-bit temperature.
void putSample(std::uint8_t* p, RawSample s);
RawSample getSample(const std::uint8_t* p);
inline bool isEndMarker(RawSample s) { return s.pressure == kEndPressure && s.temperature == kEndTemperature; }

}  // namespace tools::vunt

// Converts the raw pressure and temperature counts held in the two doubles into psi and
// degC in place, with the gauge's calibration record.
void VUNTCalculaValorCalibrado(double* pressure, double* temperature, const tools::vunt::CalibrationUnion* cal);
