#include "common/records/SysParameter.h"

#include <initializer_list>
#include <utility>

#include "common/records/LittleEndian.h"
#include "common/records/SystemMode.h"

namespace records {

using namespace le;

void encode(const SysParameterS& p, std::uint8_t* out) {
  std::memset(out, 0, kSysParameterSize);  // spare bytes 90-91 and 309-311 stay 0
  putText(out + 0, 10, p.code);
  putText(out + 10, 80, p.name);
  putF32(out + 92, p.value);
  putText(out + 96, 10, p.unit);
  out[106] = p.type;
  out[107] = p.choiceCount;
  out[108] = p.selectedChoice;
  for (std::size_t i = 0; i < 10; ++i) putText(out + 109 + 20 * i, 20, p.choiceTexts[i]);
  for (std::size_t i = 0; i < 10; ++i) putF32(out + 312 + 4 * i, p.choiceValues[i]);
}

SysParameterS decodeSysParameter(const std::uint8_t* in) {
  SysParameterS p;
  p.code = getText(in + 0, 10);
  p.name = getText(in + 10, 80);
  p.value = getF32(in + 92);
  p.unit = getText(in + 96, 10);
  p.type = in[106];
  p.choiceCount = in[107];
  p.selectedChoice = in[108];
  for (std::size_t i = 0; i < 10; ++i) p.choiceTexts[i] = getText(in + 109 + 20 * i, 20);
  for (std::size_t i = 0; i < 10; ++i) p.choiceValues[i] = getF32(in + 312 + 4 * i);
  return p;
}

namespace {

SysParameterS number(const char* code, const char* name, float value, const char* unit) {
  SysParameterS p;
  p.code = code;
  p.name = name;
  p.value = value;
  p.unit = unit;
  p.type = 0;
  return p;
}

// A list record with choices valued 0, 1, ...; the first is selected and gives the value.
SysParameterS list(const char* code, const char* name, std::initializer_list<const char*> choices) {
  SysParameterS p;
  p.code = code;
  p.name = name;
  p.type = 1;
  std::size_t i = 0;
  for (const char* c : choices) {
    p.choiceTexts[i] = c;
    p.choiceValues[i] = static_cast<float>(i);
    ++i;
  }
  p.choiceCount = static_cast<std::uint8_t>(i);
  p.selectedChoice = 0;
  p.value = 0;
  return p;
}

}  // namespace

std::vector<SysParameterS> defaultSystemParameters(std::int32_t modeWord) {
  const bool en = isEnglish(modeWord);
  const char* depthUnit = en ? "ft" : "m";
  std::vector<SysParameterS> t;
  t.reserve(kSysParamCount);
  t.push_back(list("SVYMODE", "Survey Mode", {"WIRELINE", "BATTERY"}));
  t.back().value = static_cast<float>(modeWord);  // the mode word travels in the value field
  t.push_back(list("SIMDEPTH", "Simulated Depth", {"NO", "YES"}));
  t.push_back(number("SIMSTARTD", "Simulated Starting Depth", en ? 20000.0f : 6000.0f, depthUnit));
  t.push_back(number("SIMSPEED", "Simulated Speed", en ? 1800.0f : 10.0f, en ? "ft/h" : "m/min"));
  t.push_back(number("PBDOFF", "Depth Offset", 0, depthUnit));
  t.push_back(number("PBMIND", "PlayBack Min Depth", 0, depthUnit));
  t.push_back(number("PBMAXD", "PlayBack Max Depth", 49000, depthUnit));
  t.push_back(number("PBPD", "Pause Depth", 0, depthUnit));
  t.push_back(list("PBCHSRC", "Channels Source", {"TOOL STRING", "PLAYBACK FILE"}));
  t.push_back(list("PBOFS", "Output File Status", {"CREATE", "DON'T CREATE"}));
  t.push_back(list("PBCOMP", "Tool Computations Active", {"NO", "YES"}));
  return t;
}

// The stamp uses the first seven choice-value slots (record offsets 312 to 339).
void putStartStamp(SysParameterS& p, const LogStartStamp& s) {
  const float v[7] = {s.hour, s.minute, s.second, s.day, s.month, s.year, s.depth};
  for (std::size_t i = 0; i < 7; ++i) p.choiceValues[i] = v[i];
}

LogStartStamp getStartStamp(const SysParameterS& p) {
  const auto& v = p.choiceValues;
  return LogStartStamp{v[0], v[1], v[2], v[3], v[4], v[5], v[6]};
}

}  // namespace records
