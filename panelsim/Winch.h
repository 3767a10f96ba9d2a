#pragma once
// The winch and the cable head as the panel measures them: depth moving up, down or
// standing still at a set speed, tension that follows depth and direction, and the head
// voltage and current.

#include <cstdint>

namespace panelsim {

enum class Direction { Up, Down, Still };

struct WinchSettings {
  bool english = true;       // depth in feet and speed in ft/h; otherwise metres and m/min
  double startDepth = 1000;  // log units
  double speed = 1800;       // ft/h (English) or m/min (metric)
  Direction direction = Direction::Down;
};

struct WinchReading {
  double depth = 0;          // log units
  double depthFt = 0;
  double speedFtPerS = 0;    // signed: positive going down
  double tensionLb = 0;
  double headVolts = 0;
  double headMilliamps = 0;
};

class Winch {
 public:
  explicit Winch(const WinchSettings& settings);
  // The reading t seconds after the winch started; noise is an offset in -1..1 from the caller.
  WinchReading at(double seconds, double noise) const;
  const WinchSettings& settings() const { return settings_; }
  void setDirection(Direction d, double atSeconds);
  void setSpeed(double speed, double atSeconds);
  // Puts the tool at a depth (log units) from that moment on.
  void moveTo(double depth, double atSeconds);
  // Switches depth and speed units, keeping the position and the pace.
  void setEnglish(bool english, double atSeconds);

 private:
  double depthAt(double seconds) const;
  double unitsPerSecond() const;
  WinchSettings settings_;
  double legStartS_ = 0;
  double legStartDepth_;
};

// The 12-byte panel block of a telemetry frame.
struct PanelBlockInput {
  double depth = 0;
  std::uint16_t counter = 0;
  double tensionLb = 0;
  double headVolts = 0;
  double headMilliamps = 0;
  bool english = true;
};
void encodePanelBlock(const PanelBlockInput& in, std::uint8_t* out12);

inline constexpr double kFeetPerMetre = 1 / 0.3048;
inline constexpr double kMilliampsPerCount = 1.955078;

}  // namespace panelsim
