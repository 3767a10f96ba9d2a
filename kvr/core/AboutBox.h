#pragma once
// The About box: the program's version, the TOOLS library's version text and, once the
// inertial library is linked, its version number.

#include <optional>
#include <string>
#include <vector>

namespace kvr {

inline constexpr const char* kProgramVersion = "2.5.2";

struct AboutBox {
  std::string programVersion = kProgramVersion;
  std::string toolsVersion;            // tools::Globals::Tools_DLL_Version
  std::optional<double> navikorVersion;  // set by the program when the inertial library is there

  std::string title() const { return "About KVR"; }
  // The lines the box shows, in order.
  std::vector<std::string> lines() const;
};

}  // namespace kvr
