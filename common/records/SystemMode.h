#pragma once
// The system mode word (unit system and depth resolution) and the unit conversions fixed by the program.

#include <cstdint>

namespace records {

constexpr std::int32_t kModeEnglish = 1;
constexpr std::int32_t kModeMetric = 2;
constexpr std::int32_t kModeMedium = 4;
constexpr std::int32_t kModeHigh = 8;
constexpr std::int32_t kDefaultModeWord = 10;  // "Metric Hi Resolution"
constexpr double kStationTimeStep = 0.125;     // seconds per row of a station log

inline bool isEnglish(std::int32_t modeWord) { return (modeWord & kModeEnglish) != 0; }

// Depth step of depth logs; 0.25 for any word outside the six listed ones.
double depthStep(std::int32_t modeWord);

// Tool depths travel to and from the TOOLS library in millimetres.
constexpr double kMmPerFoot = 304.8;
constexpr double kMmPerMetre = 1000.0;
inline double depthToMm(double depth, bool english) { return depth * (english ? kMmPerFoot : kMmPerMetre); }
inline double mmToDepth(double mm, bool english) { return mm / (english ? kMmPerFoot : kMmPerMetre); }
inline double cmToMm(double cm) { return cm * 10.0; }

// Line speed from the sum of the last 30 per-frame depth changes (15 frames per second):
// x 30 gives metres per minute, x 1800 feet per hour.
inline double lineSpeedFromSum(double sumOfLast30, bool english) { return sumOfLast30 * (english ? 1800.0 : 30.0); }
// Simulated depth change per frame from the "SIMSPEED" value ("ft/h" or "m/min").
inline double simulatedStepPerFrame(double speed, bool english) { return speed / (english ? 54000.0 : 900.0); }

}  // namespace records
