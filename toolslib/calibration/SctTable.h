#pragma once
// The sensor correction table (".sct") of the gyro tools, a versioned text:
//   KVR SENSOR CORRECTION TABLE 1
//   SN <serial number>
//   DATE <calibration date>
//   TYPE <calibration type, a number>
//   ROWS <n>
//   <temperature> <value 1> ... <value k>      n rows, temperatures strictly ascending
// Lines end in LF, CR LF or CR. Values per row: as many as the tool's table has columns.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tools::cal {

struct SctTable {
  std::string serial, date;
  double type = 0;
  std::vector<double> temperatures;
  std::vector<std::vector<double>> rows;  // one per temperature, `columns` values each

  // The values at a temperature, linear between rows and held beyond the ends.
  std::vector<double> at(double temperature) const;
};

inline constexpr std::size_t kMaxSctRows = 2000;
inline constexpr std::size_t kMaxSctBytes = 1 << 20;

// The table, or the reason it is refused.
struct SctParse {
  std::optional<SctTable> table;
  std::string error;
};
SctParse parseSct(std::string_view text, std::size_t columns);
// The text of a table, lines ending in CR LF.
std::string formatSct(const SctTable& table);

}  // namespace tools::cal
