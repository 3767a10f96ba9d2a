#include "toolslib/ParameterBuilder.h"

namespace tools::params {
namespace {

records::ToolParameterS base(const char* mnemonic, const char* description, float value, const char* unit) {
  records::ToolParameterS p;
  p.mnemonic = mnemonic;
  p.description = description;
  p.value = value;
  p.unit = unit;
  return p;
}

void fillChoices(records::ToolParameterS& p, std::initializer_list<Choice> choices, std::uint8_t selected) {
  std::size_t i = 0;
  for (const auto& [text, value] : choices) {
    if (i == p.choiceTexts.size()) break;
    p.choiceTexts[i] = text;
    p.choiceValues[i] = value;
    ++i;
  }
  p.choiceCount = static_cast<std::uint8_t>(i);
  p.selectedChoice = selected < i ? selected : 0;
  p.value = i ? p.choiceValues[p.selectedChoice] : 0.0f;
  p.encoding = static_cast<std::uint8_t>(records::ValueEncoding::ChoiceByteAt109);
}

}  // namespace

std::uint8_t messageLengthFor(records::ValueEncoding encoding) {
  switch (encoding) {
    case records::ValueEncoding::ByteAt109:
    case records::ValueEncoding::ChoiceByteAt109: return 3;
    case records::ValueEncoding::ByteAt110: return 4;
    case records::ValueEncoding::U16At110: return 5;
    case records::ValueEncoding::I32At110:
    case records::ValueEncoding::F32At110: return 7;
  }
  return 0;
}

records::ToolParameterS surfaceValue(const char* mnemonic, const char* description, float value, const char* unit) {
  auto p = base(mnemonic, description, value, unit);
  p.encoding = static_cast<std::uint8_t>(records::ValueEncoding::F32At110);
  return p;
}

records::ToolParameterS surfaceChoice(const char* mnemonic, const char* description,
                                      std::initializer_list<Choice> choices, std::uint8_t selected) {
  auto p = base(mnemonic, description, 0, "");
  fillChoices(p, choices, selected);
  return p;
}

records::ToolParameterS downholeValue(const char* mnemonic, const char* description, float value, const char* unit,
                                      std::uint8_t address, std::uint8_t command, records::ValueEncoding encoding,
                                      std::uint8_t subCommand) {
  auto p = base(mnemonic, description, value, unit);
  p.encoding = static_cast<std::uint8_t>(encoding);
  p.messageLength = messageLengthFor(encoding);
  p.message[0] = address;
  p.message[1] = command;
  if (encoding != records::ValueEncoding::ByteAt109 && encoding != records::ValueEncoding::ChoiceByteAt109)
    p.message[2] = subCommand;
  return p;
}

records::ToolParameterS downholeChoice(const char* mnemonic, const char* description,
                                       std::initializer_list<Choice> choices, std::uint8_t selected,
                                       std::uint8_t address, std::uint8_t command) {
  auto p = base(mnemonic, description, 0, "");
  fillChoices(p, choices, selected);
  p.messageLength = messageLengthFor(records::ValueEncoding::ChoiceByteAt109);
  p.message[0] = address;
  p.message[1] = command;
  return p;
}

}  // namespace tools::params
