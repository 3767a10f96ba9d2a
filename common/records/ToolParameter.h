#pragma once
// Tool parameter (388 bytes) and tool calibration (84 bytes) records, owned by the TOOLS
// library and stored in data files.

#include <array>
#include <cstdint>
#include <string>

namespace records {

constexpr std::size_t kToolParameterSize = 388;
constexpr std::size_t kToolCalSize = 84;

// How the value travels in the downhole message body.
enum class ValueEncoding : std::uint8_t {
  ByteAt109 = 0,
  ChoiceByteAt109 = 1,
  ByteAt110 = 2,
  U16At110 = 3,
  I32At110 = 4,
  F32At110 = 5,
};

struct ToolParameterS {
  std::string mnemonic;     // char[10]
  std::string description;  // char[80]
  float value = 0;
  std::string unit;         // char[10]
  std::uint8_t messageLength = 0;                // 0: surface-only parameter
  std::array<std::uint8_t, 36> message{};        // block address, command code, value bytes
  std::uint8_t encoding = 0;                     // ValueEncoding
  std::uint8_t choiceCount = 0;
  std::uint8_t selectedChoice = 0;
  std::array<std::string, 10> choiceTexts{};     // char[20] each
  std::array<float, 10> choiceValues{};
  friend bool operator==(const ToolParameterS&, const ToolParameterS&) = default;
};

void encode(const ToolParameterS& p, std::uint8_t* out388);
ToolParameterS decodeToolParameter(const std::uint8_t* in388);

// Only the leading name is KVR's; the rest belongs to the TOOLS library and is kept as bytes.
struct ToolCalS {
  std::array<std::uint8_t, kToolCalSize> bytes{};
  std::string name() const;
  void setName(const std::string& name);
  friend bool operator==(const ToolCalS&, const ToolCalS&) = default;
};

}  // namespace records
