#pragma once
// A small LAS reader of the tests' own, to read converted files back: header items by
// section and mnemonic, curve names and units, and the data (wrapped or not).

#include <map>
#include <string>
#include <vector>

namespace kvr::utilities::testing {

struct LasItem {
  std::string unit, value, description;
};

struct ParsedLas {
  std::map<char, std::map<std::string, LasItem>> sections;  // 'V', 'W'
  std::vector<std::string> curves, units;
  std::vector<std::vector<double>> rows;
  std::vector<std::string> lines;  // every line without its end
  bool crlf = true;                // every line ended with CR LF
};

// Reads text; the data are split into rows of curves.size() values (wrapped data too).
// Without a curve section, each data line is a row.
ParsedLas parseLas(const std::string& text);

}  // namespace kvr::utilities::testing
