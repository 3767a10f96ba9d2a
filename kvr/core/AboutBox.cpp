#include "kvr/core/AboutBox.h"

#include <cstdio>

namespace kvr {

std::vector<std::string> AboutBox::lines() const {
  std::vector<std::string> out{"KVR Version " + programVersion, "TOOLS Library Version " + toolsVersion};
  if (navikorVersion) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", *navikorVersion);
    out.push_back(std::string("Navikor Library Version ") + buf);
  }
  return out;
}

}  // namespace kvr
