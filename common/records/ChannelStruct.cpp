#include "common/records/ChannelStruct.h"

#include "common/records/LittleEndian.h"

namespace records {

using namespace le;

void encode(const ChannelStruct& c, std::uint8_t* out) {
  putText(out + 0, 20, c.mnemonic);
  putText(out + 20, 20, c.unit);
  putU32(out + 40, c.baseColumn);
  putU32(out + 44, c.index);
  putU32(out + 48, c.toolCode);
  putU32(out + 52, 0);  // next: lists exist only in memory
}

ChannelStruct decodeChannel(const std::uint8_t* in) {
  ChannelStruct c;
  c.mnemonic = getText(in + 0, 20);
  c.unit = getText(in + 20, 20);
  c.baseColumn = getU32(in + 40);
  c.index = getU32(in + 44);
  c.toolCode = getU32(in + 48);
  return c;
}

void encode(const ToolEntry& t, std::uint8_t* out) {
  putText(out + 0, 12, t.name);
  putU32(out + 12, t.dataBytes);
  putU32(out + 16, t.listValue16);
  putU32(out + 20, t.frameOffset);
  putU32(out + 24, t.toolCode);
  putU32(out + 28, t.blockCount);
  putF32(out + 32, t.lengthCm);
  putF32(out + 36, t.sketchWidth);
  putF32(out + 40, t.listValue40);
  putF32(out + 44, t.bottomDistanceCm);
  putU32(out + 48, t.kindSerial);
  putU32(out + 52, 0);
}

ToolEntry decodeTool(const std::uint8_t* in) {
  ToolEntry t;
  t.name = getText(in + 0, 12);
  t.dataBytes = getU32(in + 12);
  t.listValue16 = getU32(in + 16);
  t.frameOffset = getU32(in + 20);
  t.toolCode = getU32(in + 24);
  t.blockCount = getU32(in + 28);
  t.lengthCm = getF32(in + 32);
  t.sketchWidth = getF32(in + 36);
  t.listValue40 = getF32(in + 40);
  t.bottomDistanceCm = getF32(in + 44);
  t.kindSerial = getU32(in + 48);
  return t;
}

ChannelList surfaceChannels(bool english) {
  struct Surface { const char* mnemonic; const char* english; const char* metric; };
  static constexpr Surface kSurface[] = {
      {"DEPTH", "Ft", "M"},     {"LSPD", "Ft/h", "Mts/Min"}, {"TENS", "LBS", "LBS"},
      {"TIME", "Sec", "Sec"},   {"UHVOLT", "VOLT", "VOLT"},  {"UHCURR", "mA", "mA"},
  };
  ChannelList list;
  std::uint32_t index = 0;
  for (const auto& s : kSurface) {
    list.push_back(ChannelStruct{s.mnemonic, english ? s.english : s.metric, 0, index++, kSurfaceToolCode});
  }
  return list;
}

}  // namespace records
