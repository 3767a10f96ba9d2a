#pragma once
// KVR's own parameter record (352 bytes) and the eleven-record system parameter table.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace records {

constexpr std::size_t kSysParameterSize = 352;

struct SysParameterS {
  std::string code;  // char[10]
  std::string name;  // char[80]
  float value = 0;
  std::string unit;  // char[10]
  std::uint8_t type = 0;  // 0 number, 1 choice list
  std::uint8_t choiceCount = 0;
  std::uint8_t selectedChoice = 0;
  std::array<std::string, 10> choiceTexts{};  // char[20] each
  std::array<float, 10> choiceValues{};       // free slots of numeric records carry other data
  friend bool operator==(const SysParameterS&, const SysParameterS&) = default;
};

void encode(const SysParameterS& p, std::uint8_t* out352);
SysParameterS decodeSysParameter(const std::uint8_t* in352);

// Positions in the table.
enum SysParam : int {
  kSvyMode = 0,
  kSimDepth,
  kSimStartDepth,
  kSimSpeed,
  kPbDepthOffset,
  kPbMinDepth,
  kPbMaxDepth,
  kPbPauseDepth,
  kPbChannelSource,
  kPbOutputFile,
  kPbComputations,
  kSysParamCount
};

// The table with its defaults; English or metric by bit 0 of the mode word.
std::vector<SysParameterS> defaultSystemParameters(std::int32_t modeWord);

// The start stamp a log writes into the free slots of "SIMSTARTD".
struct LogStartStamp {
  float hour = 0, minute = 0, second = 0, day = 0, month = 0, year = 0, depth = 0;
};
void putStartStamp(SysParameterS& simStartDepth, const LogStartStamp& stamp);
LogStartStamp getStartStamp(const SysParameterS& simStartDepth);

}  // namespace records
