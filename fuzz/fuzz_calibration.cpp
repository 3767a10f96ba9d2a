// The calibration inputs from outside over arbitrary bytes: a tool's frame taken as a
// transfer frame, and a sensor correction table. A refused input names its reason; an
// accepted table has ascending temperatures and full rows, and reads back as itself.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "toolslib/calibration/SctTable.h"
#include "toolslib/calibration/TransferFrame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  tools::cal::TransferCollector collector;
  for (std::size_t at = 0; at + 24 <= size; at += 24) {
    if (const auto chunk = tools::cal::decodeTransfer(bytes.subspan(at, 24))) {
      if (chunk->index >= chunk->count) std::abort();
      collector.take(*chunk);
      if (collector.percent() > 100) std::abort();
    }
  }
  (void)tools::cal::decodeTransfer(bytes);

  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto parsed = tools::cal::parseSct(text, 4);
  if (!parsed.table) {
    if (parsed.error.empty()) std::abort();
    return 0;
  }
  const auto& t = *parsed.table;
  for (std::size_t i = 0; i < t.rows.size(); ++i) {
    if (t.rows[i].size() != 4 || !std::isfinite(t.temperatures[i])) std::abort();
    if (i > 0 && !(t.temperatures[i] > t.temperatures[i - 1])) std::abort();
  }
  if (t.serial.find_first_of("\r\n") == std::string::npos && t.date.find_first_of("\r\n") == std::string::npos) {
    const auto again = tools::cal::parseSct(tools::cal::formatSct(t), 4);
    if (!again.table || again.table->rows.size() != t.rows.size()) std::abort();
  }
  return 0;
}
