// Print list files (.wpl) from other people: every line is an entry of at most 254
// characters, and writing the entries back and reading them again gives the same list.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "pagemill/core/PrintList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto entries = pagemill::readPrintList(text);
  for (const auto& e : entries) {
    if (e.empty() || e.size() > pagemill::kListLineMax) std::abort();
    if (e.find('\n') != std::string::npos || e.find('\r') != std::string::npos) std::abort();
    const auto parsed = pagemill::parseEntry(e);
    if (parsed.kind != pagemill::EntryKind::Unknown && parsed.argument.size() >= e.size()) std::abort();
  }
  if (pagemill::readPrintList(pagemill::writePrintList(entries)) != entries) std::abort();
  return 0;
}
