#pragma once
// Building ToolParameterS records: surface-only values and choices, and downhole ones with
// their message body [block address, command, (sub-command,) value bytes].

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "common/records/ToolParameter.h"

namespace tools::params {

using Choice = std::pair<const char*, float>;

records::ToolParameterS surfaceValue(const char* mnemonic, const char* description, float value, const char* unit);
records::ToolParameterS surfaceChoice(const char* mnemonic, const char* description,
                                      std::initializer_list<Choice> choices, std::uint8_t selected);
// Encoding 0 puts the value byte right after the command; 2 to 5 put a sub-command byte
// there and the value after it.
records::ToolParameterS downholeValue(const char* mnemonic, const char* description, float value, const char* unit,
                                      std::uint8_t address, std::uint8_t command, records::ValueEncoding encoding,
                                      std::uint8_t subCommand = 0);
records::ToolParameterS downholeChoice(const char* mnemonic, const char* description,
                                       std::initializer_list<Choice> choices, std::uint8_t selected,
                                       std::uint8_t address, std::uint8_t command);

// Message length n (bytes after the length byte) for a value encoding.
std::uint8_t messageLengthFor(records::ValueEncoding encoding);

}  // namespace tools::params
