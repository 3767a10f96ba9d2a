#include "kvr/link/ParameterMessage.h"

#include <bit>
#include <cmath>

namespace kvr {
namespace {

// The value cut to an integer, kept within 64 bits so that the narrowing below is defined.
std::int64_t truncated(double v) {
  if (std::isnan(v)) return 0;
  v = std::trunc(v);
  if (v >= 9.2e18) return INT64_MAX;
  if (v <= -9.2e18) return INT64_MIN;
  return static_cast<std::int64_t>(v);
}

float encodedNumber(const records::ToolParameterS& p) {
  if (static_cast<records::ValueEncoding>(p.encoding) != records::ValueEncoding::ChoiceByteAt109) return p.value;
  return p.selectedChoice < p.choiceValues.size() ? p.choiceValues[p.selectedChoice] : 0.0f;
}

}  // namespace

bool parameterValueFits(const records::ToolParameterS& p) {
  const double v = encodedNumber(p);
  if (!std::isfinite(v)) return false;
  const double t = std::trunc(v);
  switch (static_cast<records::ValueEncoding>(p.encoding)) {
    case records::ValueEncoding::ByteAt109:
    case records::ValueEncoding::ChoiceByteAt109:
    case records::ValueEncoding::ByteAt110: return t >= -128 && t <= 255;
    case records::ValueEncoding::U16At110: return t >= -32768 && t <= 65535;
    case records::ValueEncoding::I32At110: return t >= -2147483648.0 && t <= 4294967295.0;
    case records::ValueEncoding::F32At110: return true;
  }
  return false;
}

void encodeParameterValue(records::ToolParameterS& p) {
  // Body index 0 is record offset 107: offset 109 is body[2], offset 110 is body[3].
  auto& b = p.message;
  const auto u = static_cast<std::uint64_t>(truncated(p.value));
  switch (static_cast<records::ValueEncoding>(p.encoding)) {
    case records::ValueEncoding::ByteAt109: b[2] = static_cast<std::uint8_t>(u); break;
    case records::ValueEncoding::ChoiceByteAt109: {
      const float choice = p.selectedChoice < p.choiceValues.size() ? p.choiceValues[p.selectedChoice] : 0.0f;
      b[2] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(truncated(choice)));
      break;
    }
    case records::ValueEncoding::ByteAt110: b[3] = static_cast<std::uint8_t>(u); break;
    case records::ValueEncoding::U16At110:
      b[3] = static_cast<std::uint8_t>(u);
      b[4] = static_cast<std::uint8_t>(u >> 8);
      break;
    case records::ValueEncoding::I32At110:
      for (int i = 0; i < 4; ++i) b[3 + i] = static_cast<std::uint8_t>(u >> (8 * i));
      break;
    case records::ValueEncoding::F32At110: {
      const auto bits = std::bit_cast<std::uint32_t>(p.value);
      for (int i = 0; i < 4; ++i) b[3 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
      break;
    }
    default: break;
  }
}

std::optional<std::vector<std::uint8_t>> parameterMessage(records::ToolParameterS& p) {
  const std::size_t n = p.messageLength;
  if (n == 0 || n > p.message.size() || !parameterValueFits(p)) return std::nullopt;
  encodeParameterValue(p);
  std::vector<std::uint8_t> out{p.messageLength};
  out.insert(out.end(), p.message.begin(), p.message.begin() + static_cast<long>(n));
  return out;
}

}  // namespace kvr
