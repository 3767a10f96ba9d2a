#include "panelsim/ToolNames.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <vector>

namespace panelsim {

std::map<std::string, std::uint8_t> readToolListCodes(const std::filesystem::path& toolList) {
  std::map<std::string, std::uint8_t> out;
  std::ifstream in(toolList, std::ios::binary);
  if (!in) return out;
  std::vector<std::string> tokens;
  for (std::string tok; in >> tok;) tokens.push_back(tok);
  bool inStruct = false;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i] == "&STARTSTRUCT") inStruct = true;
    else if (tokens[i] == "&ENDSTRUCT") inStruct = false;
    else if (inStruct && tokens[i].size() > 1 && tokens[i][0] == '&' && i + 4 < tokens.size()) {
      // "&NAME" name u32 u32 code blocks ...
      try {
        const unsigned long code = std::stoul(tokens[i + 4]);
        if (code <= 255) out[tokens[i].substr(1)] = static_cast<std::uint8_t>(code);
      } catch (...) {
      }
    }
  }
  return out;
}

std::optional<std::uint8_t> toolCodeForName(std::string_view name, const std::map<std::string, std::uint8_t>& listed) {
  if (auto it = listed.find(std::string(name)); it != listed.end()) return it->second;
  std::string key;
  for (char c : name)
    if (c != '-' && c != '_') key.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  // Longer family names first, so that TARNB is not taken for TARN.
  static const std::pair<const char*, std::uint8_t> kFamilies[] = {
      {"TARNB", 224}, {"TARNC", 227}, {"TARN", 220}, {"BRIX", 210}, {"DUNE", 230}, {"SEVO", 232},
      {"QUIL", 235},  {"VUNT", 240},  {"HAVO", 243}, {"PLOV", 252}, {"FYRD", 254}};
  for (const auto& [family, code] : kFamilies)
    if (key.rfind(family, 0) == 0) return code;
  return std::nullopt;
}

}  // namespace panelsim
