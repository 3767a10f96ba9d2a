#include "common/records/ToolParameter.h"

#include "common/records/LittleEndian.h"

namespace records {

using namespace le;

void encode(const ToolParameterS& p, std::uint8_t* out) {
  std::memset(out, 0, kToolParameterSize);  // the two spare pairs (90, 346) stay 0
  putText(out + 0, 10, p.mnemonic);
  putText(out + 10, 80, p.description);
  putF32(out + 92, p.value);
  putText(out + 96, 10, p.unit);
  out[106] = p.messageLength;
  std::memcpy(out + 107, p.message.data(), p.message.size());
  out[143] = p.encoding;
  out[144] = p.choiceCount;
  out[145] = p.selectedChoice;
  for (std::size_t i = 0; i < 10; ++i) putText(out + 146 + 20 * i, 20, p.choiceTexts[i]);
  for (std::size_t i = 0; i < 10; ++i) putF32(out + 348 + 4 * i, p.choiceValues[i]);
}

ToolParameterS decodeToolParameter(const std::uint8_t* in) {
  ToolParameterS p;
  p.mnemonic = getText(in + 0, 10);
  p.description = getText(in + 10, 80);
  p.value = getF32(in + 92);
  p.unit = getText(in + 96, 10);
  p.messageLength = in[106];
  std::memcpy(p.message.data(), in + 107, p.message.size());
  p.encoding = in[143];
  p.choiceCount = in[144];
  p.selectedChoice = in[145];
  for (std::size_t i = 0; i < 10; ++i) p.choiceTexts[i] = getText(in + 146 + 20 * i, 20);
  for (std::size_t i = 0; i < 10; ++i) p.choiceValues[i] = getF32(in + 348 + 4 * i);
  return p;
}

std::string ToolCalS::name() const { return getText(bytes.data(), bytes.size()); }

// Writes the name and its NUL only: the bytes behind it belong to the TOOLS library.
void ToolCalS::setName(const std::string& name) {
  const std::size_t n = name.size() < bytes.size() ? name.size() : bytes.size() - 1;
  std::memcpy(bytes.data(), name.data(), n);
  bytes[n] = 0;
}

}  // namespace records
