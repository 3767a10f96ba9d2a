#pragma once
// Tool names as the tool list spells them ("DUNE-ROLA", "TARNB-FSK") turned into tool codes:
// from the descriptions of a ToolList.txt when one is given, else by the family the name
// starts with (BRIX, TARN, TARN-B or TARNB, TARN-C or TARNC, DUNE, SEVO, QUIL, VUNT, HAVO,
// PLOV, FYRD).

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace panelsim {

// Name -> tool code from the "&STARTSTRUCT" block of a tool list; empty when unreadable.
std::map<std::string, std::uint8_t> readToolListCodes(const std::filesystem::path& toolList);

// The code of one name: the tool list first, then the family prefix.
std::optional<std::uint8_t> toolCodeForName(std::string_view name, const std::map<std::string, std::uint8_t>& listed);

}  // namespace panelsim
