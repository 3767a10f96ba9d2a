#pragma once
// Names that become part of a path (user, client, well, tool, format, output) stay in their
// folder: a name holding a path separator, or "." or "..", is refused where it is entered or read.

#include <string_view>

namespace records {

inline bool nameStaysInFolder(std::string_view name) {
  return name != "." && name != ".." && name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

}  // namespace records
