#include "kvr/utilities/PathFile.h"

#include <cstdio>
#include <fstream>

namespace kvr::utilities {

std::string formatPathFile(const PathTable& rows) {
  std::string out = "DEPTH\tDEVI\tHAZI\tTVD\tNS\tEW\tCLOSURE\tCLOSURE_AZIMUTH\r\n";
  out.reserve(out.size() + rows.size() * 64);
  char line[512];
  for (const auto& r : rows) {
    std::snprintf(line, sizeof line, "%0.2f\t%0.2f\t%0.2f\t%0.2f\t%0.2f\t%0.2f\t%0.2f\t%0.2f\r\n",
                  static_cast<double>(r.md), static_cast<double>(r.inclination), static_cast<double>(r.azimuth),
                  static_cast<double>(r.tvd), static_cast<double>(r.ns), static_cast<double>(r.ew), closure(r),
                  closureAzimuth(r));
    out += line;
  }
  return out;
}

bool writePathFile(const std::filesystem::path& file, const PathTable& rows) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  std::string text = formatPathFile(rows);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  return static_cast<bool>(out);
}

}  // namespace kvr::utilities
